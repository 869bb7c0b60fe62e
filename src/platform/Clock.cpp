// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clock.hpp"

#include <ctime>

namespace quorvel {

Date SystemClock::now() const
{
    return Date{static_cast<std::int64_t>(std::time(nullptr))};
}

}  // namespace quorvel
