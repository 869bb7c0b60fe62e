// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Decimal.hpp"
#include "plot/CPTNumber.hpp"

#include <string>

namespace quorvel {

enum class CPTPlotRangeComparisonResult { NumberBelowRange = 0, NumberInRange = 1, NumberAboveRange = 2 };

// An interval on one data axis: a start and a signed length, exact, with double copies kept
// beside them. Immutable; CPTMutablePlotRange adds the setters and in-place operations.
class CPTPlotRange {
public:
    CPTPlotRange() = default;  // location 0, length 0
    CPTPlotRange(const Decimal& location, const Decimal& length);
    static CPTPlotRange plotRangeWithLocation(const Decimal& location, const Decimal& length)
    {
        return CPTPlotRange(location, length);
    }

    const Decimal& location() const { return location_; }
    const Decimal& length() const { return length_; }
    double locationDouble() const { return locationDouble_; }
    double lengthDouble() const { return lengthDouble_; }

    Decimal end() const { return location_ + length_; }
    double endDouble() const { return locationDouble_ + lengthDouble_; }
    Decimal minLimit() const;
    double minLimitDouble() const;
    Decimal maxLimit() const;
    double maxLimitDouble() const;
    Decimal midPoint() const;
    double midPointDouble() const { return locationDouble_ + lengthDouble_ / 2.0; }

    // Both ends included.
    bool contains(const Decimal& value) const;
    bool containsDouble(double value) const;
    CPTPlotRangeComparisonResult compareToDecimal(const Decimal& value) const;
    CPTPlotRangeComparisonResult compareToDouble(double value) const;
    CPTPlotRangeComparisonResult compareToNumber(const CPTNumber& value) const;

    bool isEqualToRange(const CPTPlotRange& other) const;
    bool operator==(const CPTPlotRange& other) const { return isEqualToRange(other); }
    std::string description() const;

protected:
    void storeLocation(const Decimal& location);
    void storeLength(const Decimal& length);

private:
    Decimal location_;
    Decimal length_;
    double locationDouble_ = 0.0;
    double lengthDouble_ = 0.0;
};

}  // namespace quorvel
