// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTCoordinate.hpp"

namespace quorvel {

class CPTPlotSpace;

// Told about range changes of a plot space; every method is optional.
class CPTPlotSpaceDelegate {
public:
    virtual ~CPTPlotSpaceDelegate() = default;
    // For delegates that follow the ranges; ignored otherwise.
    virtual void plotSpaceDidChangePlotRangeForCoordinate(CPTPlotSpace& /*space*/, CPTCoordinate /*coordinate*/) {}
};

}  // namespace quorvel
