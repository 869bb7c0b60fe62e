// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

// An axis scale for a byte count: the unit and its divisor, the axis maximum, the major tick
// interval and the minor ticks per interval.
struct ChartScale {
    std::optional<std::string> unit;
    std::uint64_t divisor = 1;
    std::int64_t maximum = 0;
    unsigned majorInterval = 0;
    unsigned minorTicks = 0;

    // The scale for a largest value of `bytes`, in decimal thousands.
    static ChartScale getChartScale(std::uint64_t bytes);

    friend bool operator==(const ChartScale&, const ChartScale&) = default;
};

}  // namespace quorvel
