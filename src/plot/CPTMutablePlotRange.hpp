// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTPlotRange.hpp"

namespace quorvel {

class CPTMutablePlotRange : public CPTPlotRange {
public:
    CPTMutablePlotRange() = default;
    CPTMutablePlotRange(const Decimal& location, const Decimal& length) : CPTPlotRange(location, length) {}
    explicit CPTMutablePlotRange(const CPTPlotRange& range) : CPTPlotRange(range) {}

    // Storing a value equal to the current one changes nothing.
    void setLocation(const Decimal& location) { storeLocation(location); }
    void setLength(const Decimal& length) { storeLength(length); }

    // Shrinks to the overlap with `other` (nothing for nullptr), keeping this range's direction;
    // no overlap leaves the location and makes the length 0.
    void intersectionPlotRange(const CPTPlotRange* other);
    // Grows to cover `other` as well, keeping this range's direction.
    void unionPlotRange(const CPTPlotRange* other);
    // Scales the length by `factor` about the midpoint.
    void expandRangeByFactor(const Decimal& factor);
    // Moves the whole range so its location (end) lies inside `other`.
    void shiftLocationToFitInRange(const CPTPlotRange& other);
    void shiftEndToFitInRange(const CPTPlotRange& other);

private:
    // Spans lower..upper, running in this range's direction.
    void spanKeepingDirection(const Decimal& lower, const Decimal& upper);
};

}  // namespace quorvel
