// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTFill.hpp"

#include "plot/CPTContext.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel {

bool CPTFill::isOpaque() const
{
    if (const auto* solid = color()) {
        return solid->alpha() >= 1.0;
    }
    const CPTGradient& shading = *gradient();
    // Along an edge the shading covers the rectangle exactly; at other angles, leave it be.
    const double angle = std::fmod(std::fabs(shading.angle()), 90.0);
    return angle == 0.0 && std::all_of(shading.stops().begin(), shading.stops().end(),
                                       [](const CPTGradient::Stop& stop) { return stop.color.alpha() >= 1.0; });
}

void CPTFill::fillRect(const CPTRect& rect, CPTContext& context) const
{
    if (const auto* gradient = this->gradient()) {
        gradient->fillRect(rect, context);
        return;
    }
    context.saveGState();
    context.setFillColor(*color());
    context.beginPath();
    context.addRect(rect);
    context.fillPath();
    context.restoreGState();
}

void CPTFill::fillPathInContext(CPTContext& context) const
{
    if (const auto* gradient = this->gradient()) {
        gradient->fillPathInContext(context);
        return;
    }
    context.saveGState();
    context.setFillColor(*color());
    context.fillPath();
    context.restoreGState();
}

}  // namespace quorvel
