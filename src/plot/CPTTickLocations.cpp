// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTTickLocations.hpp"

namespace quorvel {

CPTTickLocations CPTTickLocations::fixedInterval(const std::optional<CPTPlotRange>& range, const Decimal& interval,
                                                 const Decimal& origin, unsigned minorTicksPerInterval)
{
    CPTTickLocations ticks;
    if (!range || interval.isNaN() || interval <= Decimal() || origin.isNaN()) {
        return ticks;
    }
    const Decimal lo = range->minLimit();
    const Decimal hi = range->maxLimit();
    const unsigned m = minorTicksPerInterval;
    const Decimal step = m > 0 ? interval / Decimal::fromInteger(m + 1) : Decimal();
    Decimal major = ((lo - origin) / interval).ceiling() * interval + origin;
    for (unsigned j = 1; j <= m; ++j) {
        const Decimal below = major - step * Decimal::fromInteger(j);
        if (below < lo) {
            break;
        }
        ticks.minor.insert(below);
    }
    // Count steps, not ticks: an interval below the decimals' resolution leaves `major` where it
    // is, so the set stops growing while the loop would go on.
    for (std::size_t steps = 0; major <= hi && steps < kMaxMajorTicks; ++steps) {
        ticks.major.insert(major);
        for (unsigned j = 1; j <= m; ++j) {
            const Decimal above = major + step * Decimal::fromInteger(j);
            if (above > hi) {
                break;
            }
            ticks.minor.insert(above);
        }
        const Decimal next = major + interval;
        if (!(major < next)) {
            break;
        }
        major = next;
    }
    return ticks;
}

void CPTTickLocations::exclude(const std::vector<CPTPlotRange>& ranges)
{
    for (const auto& range : ranges) {
        std::erase_if(major, [&range](const Decimal& location) { return range.contains(location); });
        std::erase_if(minor, [&range](const Decimal& location) { return range.contains(location); });
    }
}

}  // namespace quorvel
