// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>

#include "platform/Calendar.hpp"

namespace quorvel {

// The calendar day printed under a day position of a billing period. Positions count the
// period's days from 1; the period is walked day by day through the real calendar, so a
// period that crosses a short February never names a day that does not exist.
struct ChartDayLabel {
    // Day of month of the `position`-th day of a period of `length` days whose first day is
    // `first` (only year, month and day are read); absent outside 1..length.
    static std::optional<int> dayAt(const DateComponents& first, int position, int length);
};

}  // namespace quorvel
