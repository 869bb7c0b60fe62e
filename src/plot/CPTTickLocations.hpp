// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Decimal.hpp"
#include "plot/CPTPlotRange.hpp"

#include <optional>
#include <set>
#include <vector>

namespace quorvel {

// Where an axis puts its ticks.
class CPTTickLocations {
public:
    static constexpr std::size_t kMaxMajorTicks = 10000;  // a runaway interval must not hang drawing

    std::set<Decimal> major;
    std::set<Decimal> minor;

    // Majors on origin + k * interval within the range (ends included), `minorTicksPerInterval`
    // evenly spaced minors between them, also below the first major and above the last one.
    static CPTTickLocations fixedInterval(const std::optional<CPTPlotRange>& range, const Decimal& interval,
                                          const Decimal& origin, unsigned minorTicksPerInterval);
    // Drops every location inside any of the ranges (ends included).
    void exclude(const std::vector<CPTPlotRange>& ranges);
};

}  // namespace quorvel
