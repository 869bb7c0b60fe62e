#pragma once

#include "plot/CPTCoordinate.hpp"

namespace quorvel {

class CPTPlotSpace;

// Told about range changes of a plot space; every method is optional.
class CPTPlotSpaceDelegate {
public:
    virtual ~CPTPlotSpaceDelegate() = default;
    virtual void plotSpaceDidChangePlotRangeForCoordinate(CPTPlotSpace& /*space*/, CPTCoordinate /*coordinate*/) {}
};

}  // namespace quorvel
