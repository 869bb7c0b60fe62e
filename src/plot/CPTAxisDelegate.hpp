// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Decimal.hpp"

#include <set>

namespace quorvel {

class CPTAxis;

// Lets a screen take over an axis's labels; every method is optional.
class CPTAxisDelegate {
public:
    virtual ~CPTAxisDelegate() = default;
    // false: skip this relabel altogether.
    virtual bool axisShouldRelabel(CPTAxis& /*axis*/) { return true; }
    // false: the delegate has set the labels itself (CPTAxis::setAxisLabels); the axis makes none.
    virtual bool axisShouldUpdateAxisLabelsAtLocations(CPTAxis& /*axis*/, const std::set<Decimal>& /*locations*/)
    {
        return true;
    }
    virtual bool axisShouldUpdateMinorAxisLabelsAtLocations(CPTAxis& /*axis*/, const std::set<Decimal>& /*locations*/)
    {
        return true;
    }
    virtual void axisDidRelabel(CPTAxis& /*axis*/) {}  // for delegates that follow the labels
};

}  // namespace quorvel
