// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAnnotationHostLayer.hpp"
#include "plot/CPTFill.hpp"
#include "plot/CPTLineStyle.hpp"

#include <optional>

namespace quorvel {

// A layer with a fill and a border; it clips its sublayers to the inside of the border.
class CPTBorderedLayer : public CPTAnnotationHostLayer {
public:
    CPTBorderedLayer();
    explicit CPTBorderedLayer(const CPTRect& frame);

    const std::optional<CPTFill>& fill() const { return fill_; }
    void setFill(std::optional<CPTFill> fill);
    const std::optional<CPTLineStyle>& borderLineStyle() const { return borderLineStyle_; }
    void setBorderLineStyle(std::optional<CPTLineStyle> style);

    void sublayerMargins(double& left, double& top, double& right, double& bottom) const override;
    void renderAsVectorInContext(CPTContext& context) override;
    bool drawsContent() const override { return fill_.has_value() || borderLineStyle_.has_value(); }
    // A square-cornered opaque fill covers the bounds; the border only paints over it.
    bool isContentOpaque() const override { return fill_ && fill_->isOpaque() && cornerRadius() <= 0.0; }
    bool sublayerMask(CPTRect& rect, bool& rectangular) const override;

protected:
    void applySublayerMaskToContext(CPTContext& context) const override;
    double borderWidth() const { return borderLineStyle_ ? borderLineStyle_->lineWidth() : 0.0; }

private:
    std::optional<CPTFill> fill_;
    std::optional<CPTLineStyle> borderLineStyle_;
};

}  // namespace quorvel
