// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTMutablePlotRange.hpp"

namespace quorvel {

void CPTMutablePlotRange::intersectionPlotRange(const CPTPlotRange* other)
{
    if (other == nullptr) {
        return;
    }
    const Decimal lower = std::max(minLimit(), other->minLimit());
    const Decimal upper = std::min(maxLimit(), other->maxLimit());
    if (upper >= lower) {
        spanKeepingDirection(lower, upper);
    } else {
        setLength(Decimal());
    }
}

void CPTMutablePlotRange::unionPlotRange(const CPTPlotRange* other)
{
    if (other == nullptr) {
        return;
    }
    const Decimal lower = std::min(minLimit(), other->minLimit());
    const Decimal upper = std::max(maxLimit(), other->maxLimit());
    spanKeepingDirection(lower, upper);
}

void CPTMutablePlotRange::spanKeepingDirection(const Decimal& lower, const Decimal& upper)
{
    if (length() >= Decimal()) {
        setLocation(lower);
        setLength(upper - lower);
    } else {
        setLocation(upper);
        setLength(lower - upper);
    }
}

void CPTMutablePlotRange::expandRangeByFactor(const Decimal& factor)
{
    const Decimal newLength = length() * factor;
    const Decimal newLocation = midPoint() - newLength / Decimal::fromInteger(2);
    setLocation(newLocation);
    setLength(newLength);
}

void CPTMutablePlotRange::shiftLocationToFitInRange(const CPTPlotRange& other)
{
    switch (other.compareToDecimal(location())) {
    case CPTPlotRangeComparisonResult::NumberBelowRange:
        setLocation(other.minLimit());
        break;
    case CPTPlotRangeComparisonResult::NumberAboveRange:
        setLocation(other.maxLimit());
        break;
    case CPTPlotRangeComparisonResult::NumberInRange:
        break;
    }
}

void CPTMutablePlotRange::shiftEndToFitInRange(const CPTPlotRange& other)
{
    switch (other.compareToDecimal(end())) {
    case CPTPlotRangeComparisonResult::NumberBelowRange:
        setLocation(location() + (other.minLimit() - end()));
        break;
    case CPTPlotRangeComparisonResult::NumberAboveRange:
        setLocation(location() + (other.maxLimit() - end()));
        break;
    case CPTPlotRangeComparisonResult::NumberInRange:
        break;
    }
}

}  // namespace quorvel
