// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Decimal.hpp"
#include "plot/CPTAlignment.hpp"
#include "plot/CPTCoordinate.hpp"
#include "plot/CPTSign.hpp"
#include "plot/CPTTextStyle.hpp"

#include <memory>
#include <string>

namespace quorvel {

class CPTLayer;
struct CPTPoint;

// A label at a tick location: owns the layer that shows it.
class CPTAxisLabel {
public:
    CPTAxisLabel(const std::string& text, const CPTTextStyle& style);
    virtual ~CPTAxisLabel();
    CPTAxisLabel(const CPTAxisLabel&) = delete;
    CPTAxisLabel& operator=(const CPTAxisLabel&) = delete;
    // A label showing any layer; nullptr for no layer.
    static std::unique_ptr<CPTAxisLabel> labelWithContentLayer(std::unique_ptr<CPTLayer> layer);

    CPTLayer* contentLayer() const { return contentLayer_.get(); }
    // Swaps the two labels' layers, wherever they are in the tree.
    void exchangeContentLayer(CPTAxisLabel& other) { contentLayer_.swap(other.contentLayer_); }
    double offset() const { return offset_; }
    void setOffset(double offset) { offset_ = offset; }
    double rotation() const { return rotation_; }
    void setRotation(double radians) { rotation_ = radians; }
    CPTAlignment alignment() const { return alignment_; }
    void setAlignment(CPTAlignment alignment) { alignment_ = alignment; }
    const Decimal& tickLocation() const { return tickLocation_; }
    void setTickLocation(const Decimal& location) { tickLocation_ = location; }

    // Places the layer `offset` points from `point` along `coordinate`, on the side `direction`.
    virtual void positionRelativeToViewPoint(const CPTPoint& point, CPTCoordinate coordinate, CPTSign direction);

    // Anchor point for a label read along the angle `theta` (radians) of its outward direction.
    static CPTPoint anchorForAngle(double theta);

protected:
    explicit CPTAxisLabel(std::unique_ptr<CPTLayer> layer);

    std::unique_ptr<CPTLayer> contentLayer_;
    double offset_ = 20.0;
    double rotation_ = 0.0;
    CPTAlignment alignment_ = CPTAlignment::Center;
    Decimal tickLocation_;
};

}  // namespace quorvel
