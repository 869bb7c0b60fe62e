// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Uptime.hpp"

#include <ctime>

namespace quorvel {

double BootClockUptime::uptime() const
{
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0) {
        return 0.0;
    }
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace quorvel
