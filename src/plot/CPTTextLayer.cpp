// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTTextLayer.hpp"

#include "plot/CPTContext.hpp"
#include "plot/CPTSetIfChanged.hpp"
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
    if (CPTSetIfChanged(text_, std::move(text))) {
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
    return sizeThatFits(textMetrics(), text_, textStyle_);
}

CPTSize CPTTextLayer::sizeThatFits(const CPTTextMetrics& metrics, const std::string& text, const CPTTextStyle& style)
{
    if (text.empty()) {
        return {};
    }
    const CPTSize measured = metrics.sizeOfText(text, style.fontName(), style.fontSize());
    return {std::ceil(measured.width + 2 * kTextInset), std::ceil(measured.height + 2 * kTextInset)};
}

void CPTTextLayer::sizeToFit()
{
    measuredWith_ = &textMetrics();
    setBounds(CPTRect{bounds().origin, sizeThatFits()});
    setNeedsLayout();
    setNeedsDisplay();
}

void CPTTextLayer::refitIfMetricsChanged()
{
    if (measuredWith_ != &textMetrics()) {
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
