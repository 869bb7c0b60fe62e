#include "plot/CPTTextLayer.hpp"

#include "plot/CPTContext.hpp"
#include "plot/CPTTextMetrics.hpp"

#include <cmath>

namespace quorvel {

namespace {
constexpr double kTextInset = 1.0;  // no shadows: one point around the text
}

CPTTextLayer::CPTTextLayer(std::string text, CPTTextStyle style) : text_(std::move(text)), textStyle_(std::move(style))
{
    setNeedsDisplayOnBoundsChange(false);
    sizeToFit();
}

void CPTTextLayer::setText(std::string text)
{
    if (text != text_) {
        text_ = std::move(text);
        sizeToFit();
    }
}

void CPTTextLayer::setTextStyle(const CPTTextStyle& style)
{
    if (!(style == textStyle_)) {
        textStyle_ = style;
        sizeToFit();
    }
}

CPTSize CPTTextLayer::sizeThatFits() const
{
    if (text_.empty()) {
        return {};
    }
    const CPTSize measured = CPTTextMetrics::shared().sizeOfText(text_, textStyle_.fontName(), textStyle_.fontSize());
    return {std::ceil(measured.width + 2 * kTextInset), std::ceil(measured.height + 2 * kTextInset)};
}

void CPTTextLayer::sizeToFit()
{
    metricsGeneration_ = CPTTextMetrics::generation();
    setBounds(CPTRect{bounds().origin, sizeThatFits()});
    setNeedsLayout();
    setNeedsDisplay();
}

void CPTTextLayer::refitIfMetricsChanged()
{
    if (metricsGeneration_ != CPTTextMetrics::generation()) {
        sizeToFit();
    }
}

void CPTTextLayer::renderAsVectorInContext(CPTContext& context)
{
    if (isHidden() || text_.empty() || !textStyle_.color()) {
        return;
    }
    const CPTRect& rect = bounds();
    context.saveGState();
    // Text runs top-down: flip within the bounds.
    context.translate(0.0, rect.minY() + rect.maxY());
    context.scale(1.0, -1.0);
    context.drawText(text_, rect.insetBy(kTextInset, kTextInset), textStyle_);
    context.restoreGState();
}

}  // namespace quorvel
