// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// Places a coordinate between a lower and an upper bound: at a fixed offset from either
// bound, or at a fraction of the way between them.
class CPTConstraints {
public:
    enum class Kind { Lower, Upper, Relative };

    static CPTConstraints constraintWithLowerOffset(double offset) { return {Kind::Lower, offset}; }
    static CPTConstraints constraintWithUpperOffset(double offset) { return {Kind::Upper, offset}; }
    static CPTConstraints constraintWithRelativeOffset(double ratio) { return {Kind::Relative, ratio}; }

    Kind kind() const { return kind_; }
    double value() const { return value_; }
    double positionForLowerBound(double lower, double upper) const;

    bool operator==(const CPTConstraints&) const = default;

private:
    CPTConstraints(Kind kind, double value) : kind_(kind), value_(value) {}
    Kind kind_ = Kind::Lower;
    double value_ = 0.0;
};

}  // namespace quorvel
