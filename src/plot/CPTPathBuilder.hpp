// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTRect.hpp"

namespace quorvel {

class CPTContext;

// Path shapes built from the context's primitives.
class CPTPathBuilder {
public:
    // A rectangle with all four corners rounded (radius 0: a plain rectangle), as a closed subpath.
    static void addRoundedRect(CPTContext& context, const CPTRect& rect, double radius);
    // From `current`, a line toward `corner` that turns toward `next` through an arc of
    // `radius` tangent to both legs; radius 0 or collinear points give a plain line to `corner`.
    // Returns the point where the arc ends.
    static CPTPoint addArcToPoint(CPTContext& context, const CPTPoint& current, const CPTPoint& corner,
                                  const CPTPoint& next, double radius);
};

}  // namespace quorvel
