#pragma once

#include "plot/CPTLayer.hpp"
#include "plot/CPTTextStyle.hpp"

#include <string>

namespace quorvel {

// A layer that draws one text in one style and is always sized to fit it.
class CPTTextLayer : public CPTLayer {
public:
    explicit CPTTextLayer(std::string text, CPTTextStyle style = CPTTextStyle::textStyle());

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const CPTTextStyle& textStyle() const { return textStyle_; }
    void setTextStyle(const CPTTextStyle& style);

    // Measured text plus one point on every side, rounded up to whole points.
    CPTSize sizeThatFits() const;
    void sizeToFit();
    // Re-measures when the shared text metrics were replaced since the last fit.
    void refitIfMetricsChanged();

    void renderAsVectorInContext(CPTContext& context) override;
    bool drawsContent() const override { return !text_.empty() && textStyle_.color().has_value(); }

private:
    std::string text_;
    CPTTextStyle textStyle_;
    unsigned metricsGeneration_ = 0;
};

}  // namespace quorvel
