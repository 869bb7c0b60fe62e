// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/ChartDayLabel.hpp"

#include <chrono>

namespace quorvel {

std::optional<int> ChartDayLabel::dayAt(const DateComponents& first, int position, int length)
{
    if (position < 1 || position > length) {
        return std::nullopt;
    }
    using namespace std::chrono;
    const year_month_day start{year{first.year}, month{static_cast<unsigned>(first.month)},
                               day{static_cast<unsigned>(first.day)}};
    if (!start.ok()) {
        return std::nullopt;
    }
    const year_month_day shown{sys_days{start} + days{position - 1}};
    return static_cast<int>(static_cast<unsigned>(shown.day()));
}

}  // namespace quorvel
