// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAxisLabel.hpp"

#include "plot/CPTInvalidArgumentException.hpp"
#include "plot/CPTTextLayer.hpp"

#include <cmath>
#include <numbers>

namespace quorvel {

namespace {

double cleaned(double value)
{
    return std::fabs(value) < 1e-12 ? 0.0 : value;  // sin(2 pi) and friends are not quite 0
}

}  // namespace

CPTAxisLabel::CPTAxisLabel(const std::string& text, const CPTTextStyle& style)
    : contentLayer_(std::make_unique<CPTTextLayer>(text, style))
{
}

CPTAxisLabel::CPTAxisLabel(std::unique_ptr<CPTLayer> layer) : contentLayer_(std::move(layer)) {}

CPTAxisLabel::~CPTAxisLabel() = default;

std::unique_ptr<CPTAxisLabel> CPTAxisLabel::labelWithContentLayer(std::unique_ptr<CPTLayer> layer)
{
    if (!layer) {
        return nullptr;
    }
    return std::unique_ptr<CPTAxisLabel>(new CPTAxisLabel(std::move(layer)));
}

CPTPoint CPTAxisLabel::anchorForAngle(double theta)
{
    const double s = cleaned(std::sin(theta));
    const double c = cleaned(std::cos(theta));
    double ax = 0.0;
    double ay = 0.0;
    if (std::fabs(s) < std::fabs(c)) {
        ax = c >= 0.0 ? 1.0 : -1.0;
        ay = s / std::fabs(c);
    } else {
        ax = c / std::fabs(s);
        ay = s >= 0.0 ? 1.0 : -1.0;
    }
    return {(ax + 1.0) / 2.0, (ay + 1.0) / 2.0};
}

void CPTAxisLabel::positionRelativeToViewPoint(const CPTPoint& point, CPTCoordinate coordinate, CPTSign direction)
{
    if (direction != CPTSign::Negative && direction != CPTSign::None && direction != CPTSign::Positive) {
        throw CPTInvalidArgumentException("Invalid direction in positionRelativeToViewPoint:forCoordinate:inDirection:");
    }
    if (coordinate != CPTCoordinate::X && coordinate != CPTCoordinate::Y) {
        throw CPTInvalidArgumentException("Invalid coordinate in positionRelativeToViewPoint:forCoordinate:inDirection:");
    }
    CPTLayer* layer = contentLayer_.get();
    if (layer == nullptr) {
        return;
    }
    layer->setTransform(CPTAffineTransform::rotation(rotation_));
    const double shift = direction == CPTSign::Positive ? offset_ : -offset_;
    const CPTSize size = layer->bounds().size;
    CPTPoint position = point;
    double baseAngle = 0.0;
    if (coordinate == CPTCoordinate::Y) {
        position.y += shift;
        if (alignment_ == CPTAlignment::Left) {
            position.x += 0.5 * size.width;
        } else if (alignment_ == CPTAlignment::Right) {
            position.x -= 0.5 * size.width;
        }
        baseAngle = direction == CPTSign::Positive ? 1.5 * std::numbers::pi : 0.5 * std::numbers::pi;
    } else {
        position.x += shift;
        if (alignment_ == CPTAlignment::Top) {
            position.y -= 0.5 * size.height;
        } else if (alignment_ == CPTAlignment::Bottom) {
            position.y += 0.5 * size.height;
        }
        baseAngle = direction == CPTSign::Positive ? std::numbers::pi : 2.0 * std::numbers::pi;
    }
    layer->setAnchorPoint(anchorForAngle(baseAngle - rotation_));
    layer->setPosition(position);
    layer->pixelAlign();  // moving the layer leaves its drawing as it is
}

}  // namespace quorvel
