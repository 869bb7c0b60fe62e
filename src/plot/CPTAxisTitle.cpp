// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAxisTitle.hpp"

#include "plot/CPTException.hpp"
#include "plot/CPTLayer.hpp"

#include <cmath>
#include <numbers>

namespace quorvel {

CPTAxisTitle::CPTAxisTitle(const std::string& text, const CPTTextStyle& style) : CPTAxisLabel(text, style)
{
    setRotation(std::nan(""));
}

void CPTAxisTitle::positionRelativeToViewPoint(const CPTPoint& point, CPTCoordinate coordinate, CPTSign direction)
{
    if (direction != CPTSign::Negative && direction != CPTSign::None && direction != CPTSign::Positive) {
        throw CPTException("Invalid sign in positionRelativeToViewPoint:inDirection:");
    }
    CPTLayer* layer = contentLayer();
    if (layer == nullptr) {
        return;
    }
    const bool alongY = coordinate == CPTCoordinate::Y;
    double angle = rotation();
    if (std::isnan(angle)) {
        angle = alongY ? 0.0 : std::numbers::pi / 2.0;
    }
    const double shift = direction == CPTSign::Positive ? offset() : -offset();
    CPTPoint position = point;
    if (alongY) {
        position.y += shift;
    } else {
        position.x += shift;
    }
    const bool hangs = (direction == CPTSign::Positive) != alongY;
    layer->setAnchorPoint(hangs ? CPTPoint{0.5, 1.0} : CPTPoint{0.5, 0.0});
    layer->setPosition(position);
    layer->setTransform(CPTAffineTransform::rotation(angle));
    layer->pixelAlign();  // moving the layer leaves its drawing as it is
}

}  // namespace quorvel
