// SPDX-License-Identifier: GPL-3.0-or-later
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
    static CPTSize sizeThatFits(const CPTTextMetrics& metrics, const std::string& text, const CPTTextStyle& style);
    void sizeToFit();
    // Re-measures when the layer now measures with other metrics than at the last fit (it was
    // placed in a graph, or the graph was given other metrics).
    void refitIfMetricsChanged();

    void renderAsVectorInContext(CPTContext& context) override;
    bool drawsContent() const override { return !text_.empty() && textStyle_.color().has_value(); }

protected:
    void didMoveToSuperlayer() override { refitIfMetricsChanged(); }

private:
    std::string text_;
    CPTTextStyle textStyle_;
    const CPTTextMetrics* measuredWith_ = nullptr;
};

}  // namespace quorvel
