// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTConstraints.hpp"

#include "plot/CPTAssertionFailure.hpp"

namespace quorvel {

double CPTConstraints::positionForLowerBound(double lower, double upper) const
{
    CPTAssertionFailure::check(lower <= upper, "lowerBound must be less than or equal to upperBound",
                               "CPTConstraints");
    switch (kind_) {
    case Kind::Lower:
        return lower + value_;
    case Kind::Upper:
        return upper - value_;
    case Kind::Relative:
        break;
    }
    return lower + value_ * (upper - lower);
}

}  // namespace quorvel
