// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTBorderedLayer.hpp"

#include "plot/CPTContext.hpp"
#include "plot/CPTPathBuilder.hpp"
#include "plot/CPTSetIfChanged.hpp"

#include <algorithm>

namespace quorvel {

CPTBorderedLayer::CPTBorderedLayer()
{
    setMasksToBorder(true);
    setNeedsDisplayOnBoundsChange(true);
}

CPTBorderedLayer::CPTBorderedLayer(const CPTRect& frame) : CPTBorderedLayer()
{
    setFrame(frame);
}

void CPTBorderedLayer::setFill(std::optional<CPTFill> fill)
{
    if (CPTSetIfChanged(fill_, std::move(fill))) {
        setNeedsDisplay();
    }
}

void CPTBorderedLayer::setBorderLineStyle(std::optional<CPTLineStyle> style)
{
    if (style != borderLineStyle_) {
        const bool widthChanged = borderWidth() != (style ? style->lineWidth() : 0.0);
        borderLineStyle_ = std::move(style);
        setNeedsDisplay();
        if (widthChanged) {
            setNeedsLayout();
        }
    }
}

void CPTBorderedLayer::sublayerMargins(double& left, double& top, double& right, double& bottom) const
{
    CPTLayer::sublayerMargins(left, top, right, bottom);
    const double half = borderWidth() / 2.0;
    left += half;
    top += half;
    right += half;
    bottom += half;
}

void CPTBorderedLayer::renderAsVectorInContext(CPTContext& context)
{
    if (isHidden()) {
        return;
    }
    const CPTRect& rect = bounds();
    const double width = borderWidth();
    const double radius = cornerRadius();
    if (fill_) {
        const double outerRadius = std::min({radius + width / 2.0, rect.width() / 2.0, rect.height() / 2.0});
        context.beginPath();
        CPTPathBuilder::addRoundedRect(context, rect, radius > 0.0 ? outerRadius : 0.0);
        fill_->fillPathInContext(context);
    }
    if (borderLineStyle_) {
        const CPTRect inset = rect.insetBy(width / 2.0, width / 2.0);
        const double insetRadius = std::min({radius, inset.width() / 2.0, inset.height() / 2.0});
        context.beginPath();
        CPTPathBuilder::addRoundedRect(context, inset, radius > 0.0 ? insetRadius : 0.0);
        borderLineStyle_->strokePathInContext(context);
    }
}

bool CPTBorderedLayer::sublayerMask(CPTRect& rect, bool& rectangular) const
{
    if (!masksToBorder() && !masksToBounds()) {
        return false;
    }
    const double width = borderWidth();
    rect = bounds().insetBy(width, width);
    rectangular = cornerRadius() <= 0.0;
    return true;
}

void CPTBorderedLayer::applySublayerMaskToContext(CPTContext& context) const
{
    if (!masksToBorder() && !masksToBounds()) {
        return;
    }
    const double width = borderWidth();
    const CPTRect inner = bounds().insetBy(width, width);
    const double radius = cornerRadius();
    const double innerRadius = std::min({radius - width / 2.0, inner.width() / 2.0, inner.height() / 2.0});
    context.beginPath();
    CPTPathBuilder::addRoundedRect(context, inner, radius > 0.0 ? std::max(innerRadius, 0.0) : 0.0);
    context.clip();
}

}  // namespace quorvel
