// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPlotRange.hpp"

namespace quorvel {

CPTPlotRange::CPTPlotRange(const Decimal& location, const Decimal& length)
{
    storeLocation(location);
    storeLength(length);
}

void CPTPlotRange::storeLocation(const Decimal& location)
{
    if (location == location_ && location.isNaN() == location_.isNaN()) {
        return;
    }
    location_ = location;
    locationDouble_ = location.toDouble();
}

void CPTPlotRange::storeLength(const Decimal& length)
{
    if (length == length_ && length.isNaN() == length_.isNaN()) {
        return;
    }
    length_ = length;
    lengthDouble_ = length.toDouble();
}

Decimal CPTPlotRange::minLimit() const
{
    return length_ < Decimal() ? location_ + length_ : location_;
}

double CPTPlotRange::minLimitDouble() const
{
    return lengthDouble_ < 0.0 ? locationDouble_ + lengthDouble_ : locationDouble_;
}

Decimal CPTPlotRange::maxLimit() const
{
    return length_ > Decimal() ? location_ + length_ : location_;
}

double CPTPlotRange::maxLimitDouble() const
{
    return lengthDouble_ > 0.0 ? locationDouble_ + lengthDouble_ : locationDouble_;
}

Decimal CPTPlotRange::midPoint() const
{
    return location_ + length_ / Decimal::fromInteger(2);
}

bool CPTPlotRange::contains(const Decimal& value) const
{
    return !value.isNaN() && minLimit() <= value && value <= maxLimit();
}

bool CPTPlotRange::containsDouble(double value) const
{
    return minLimitDouble() <= value && value <= maxLimitDouble();
}

CPTPlotRangeComparisonResult CPTPlotRange::compareToDecimal(const Decimal& value) const
{
    if (contains(value)) {
        return CPTPlotRangeComparisonResult::NumberInRange;
    }
    return value < minLimit() ? CPTPlotRangeComparisonResult::NumberBelowRange
                              : CPTPlotRangeComparisonResult::NumberAboveRange;
}

CPTPlotRangeComparisonResult CPTPlotRange::compareToDouble(double value) const
{
    if (containsDouble(value)) {
        return CPTPlotRangeComparisonResult::NumberInRange;
    }
    return value < minLimitDouble() ? CPTPlotRangeComparisonResult::NumberBelowRange
                                    : CPTPlotRangeComparisonResult::NumberAboveRange;
}

CPTPlotRangeComparisonResult CPTPlotRange::compareToNumber(const CPTNumber& value) const
{
    return value.isDecimal() ? compareToDecimal(value.decimalValue()) : compareToDouble(value.doubleValue());
}

bool CPTPlotRange::isEqualToRange(const CPTPlotRange& other) const
{
    return location_ == other.location_ && length_ == other.length_;
}

std::string CPTPlotRange::description() const
{
    return "<CPTPlotRange {" + location_.toString() + ", " + length_.toString() + "}>";
}

}  // namespace quorvel
