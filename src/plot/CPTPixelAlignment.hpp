// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTPoint.hpp"

namespace quorvel {

class CPTContext;

// Snapping of drawn geometry to the device pixel grid of a context.
class CPTPixelAlignment {
public:
    // To the centre of the device pixel (rounded, then half a pixel on): crisp odd-width lines.
    static CPTPoint alignPointToUserSpace(const CPTContext& context, const CPTPoint& point);
    // To the nearest device pixel corner.
    static CPTPoint alignIntegralPointToUserSpace(const CPTContext& context, const CPTPoint& point);
};

}  // namespace quorvel
