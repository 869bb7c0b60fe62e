// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAnnotation.hpp"
#include "plot/CPTConstraints.hpp"

namespace quorvel {

class CPTLayer;

// Where on the anchor layer's bounds an annotation sits.
enum class CPTRectAnchor { BottomLeft = 0, Bottom, BottomRight, Left, Right, TopLeft, Top, TopRight, Center };

// An annotation placed at an anchor of another layer's bounds, plus a displacement.
class CPTLayerAnnotation : public CPTAnnotation {
public:
    explicit CPTLayerAnnotation(CPTLayer* anchorLayer);

    CPTLayer* anchorLayer() const { return anchorLayer_; }
    CPTRectAnchor rectAnchor() const { return rectAnchor_; }
    void setRectAnchor(CPTRectAnchor anchor);
    const CPTConstraints& xConstraints() const { return xConstraints_; }
    const CPTConstraints& yConstraints() const { return yConstraints_; }

    void positionContentLayer() override;

private:
    CPTLayer* anchorLayer_;
    CPTRectAnchor rectAnchor_ = CPTRectAnchor::Top;
    CPTConstraints xConstraints_ = CPTConstraints::constraintWithRelativeOffset(0.5);
    CPTConstraints yConstraints_ = CPTConstraints::constraintWithUpperOffset(0.0);
};

}  // namespace quorvel
