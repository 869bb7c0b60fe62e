// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTLineStyle.hpp"

#include "plot/CPTContext.hpp"

namespace quorvel {

void CPTLineStyle::setLineStyleInContext(CPTContext& context) const
{
    context.setLineCap(lineCap_);
    context.setLineJoin(lineJoin_);
    context.setMiterLimit(miterLimit_);
    context.setLineWidth(lineWidth_);
    context.setLineDash(dashPattern_, patternPhase_);
    context.setStrokeColor(lineColor_);
}

void CPTLineStyle::strokePathInContext(CPTContext& context) const
{
    setLineStyleInContext(context);
    context.strokePath();
}

}  // namespace quorvel
