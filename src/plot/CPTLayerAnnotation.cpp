// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTLayerAnnotation.hpp"

#include "plot/CPTAnnotationHostLayer.hpp"
#include "plot/CPTAssertionFailure.hpp"

namespace quorvel {

namespace {

struct AnchorConstraints {
    CPTConstraints x;
    CPTConstraints y;
};

AnchorConstraints constraintsFor(CPTRectAnchor anchor)
{
    const auto lower = CPTConstraints::constraintWithLowerOffset(0.0);
    const auto upper = CPTConstraints::constraintWithUpperOffset(0.0);
    const auto middle = CPTConstraints::constraintWithRelativeOffset(0.5);
    switch (anchor) {
    case CPTRectAnchor::BottomLeft:
        return {lower, lower};
    case CPTRectAnchor::Bottom:
        return {middle, lower};
    case CPTRectAnchor::BottomRight:
        return {upper, lower};
    case CPTRectAnchor::Left:
        return {lower, middle};
    case CPTRectAnchor::Right:
        return {upper, middle};
    case CPTRectAnchor::TopLeft:
        return {lower, upper};
    case CPTRectAnchor::Top:
        return {middle, upper};
    case CPTRectAnchor::TopRight:
        return {upper, upper};
    case CPTRectAnchor::Center:
        break;
    }
    return {middle, middle};
}

}  // namespace

CPTLayerAnnotation::CPTLayerAnnotation(CPTLayer* anchorLayer) : anchorLayer_(anchorLayer)
{
    CPTAssertionFailure::checkParameter(anchorLayer != nullptr, "newAnchorLayer", "CPTLayerAnnotation");
}

void CPTLayerAnnotation::setRectAnchor(CPTRectAnchor anchor)
{
    if (anchor == rectAnchor_) {
        return;
    }
    rectAnchor_ = anchor;
    const auto constraints = constraintsFor(anchor);
    xConstraints_ = constraints.x;
    yConstraints_ = constraints.y;
    positionContentLayer();
}

void CPTLayerAnnotation::positionContentLayer()
{
    CPTLayer* content = contentLayer();
    CPTAnnotationHostLayer* host = annotationHostLayer();
    if (content == nullptr || host == nullptr) {
        return;
    }
    const CPTRect& anchorBounds = anchorLayer_->bounds();
    const CPTPoint inAnchor{xConstraints_.positionForLowerBound(anchorBounds.minX(), anchorBounds.maxX()),
                            yConstraints_.positionForLowerBound(anchorBounds.minY(), anchorBounds.maxY())};
    const CPTPoint inHost = anchorLayer_->convertPointToLayer(inAnchor, host) + displacement();
    content->setAnchorPoint(contentAnchorPoint());
    content->setPosition(inHost);
    content->setTransform(CPTAffineTransform::rotation(rotation()));
    content->pixelAlign();  // moving the layer leaves its drawing as it is
}

}  // namespace quorvel
