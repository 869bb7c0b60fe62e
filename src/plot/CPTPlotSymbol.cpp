// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPlotSymbol.hpp"

#include "plot/CPTBackingStore.hpp"
#include "plot/CPTContext.hpp"
#include "plot/CPTPixelAlignment.hpp"
#include "plot/CPTSetIfChanged.hpp"

#include <cmath>
#include <numbers>

namespace quorvel {

namespace {

// A regular polygon (or star) inscribed in the w x h ellipse, first vertex at the top.
void addPolygon(CPTContext& context, double w, double h, int corners, double innerRatio)
{
    const int points = innerRatio > 0.0 ? corners * 2 : corners;
    for (int i = 0; i < points; ++i) {
        const double angle = std::numbers::pi / 2.0 + 2.0 * std::numbers::pi * i / points;
        const double r = (innerRatio > 0.0 && i % 2 == 1) ? innerRatio : 1.0;
        const CPTPoint p{std::cos(angle) * r * w / 2.0, std::sin(angle) * r * h / 2.0};
        if (i == 0) {
            context.moveTo(p);
        } else {
            context.lineTo(p);
        }
    }
    context.closePath();
}

void addSegment(CPTContext& context, const CPTPoint& from, const CPTPoint& to)
{
    context.moveTo(from);
    context.lineTo(to);
}

bool isOutlineOnly(CPTPlotSymbol::Type type)
{
    using Type = CPTPlotSymbol::Type;
    return type == Type::Cross || type == Type::Plus || type == Type::Dash || type == Type::Snow;
}

}  // namespace

CPTPlotSymbol::CPTPlotSymbol(const CPTPlotSymbol& other)
    : symbolType_(other.symbolType_),
      size_(other.size_),
      lineStyle_(other.lineStyle_),
      fill_(other.fill_),
      customSymbolPath_(other.customSymbolPath_),
      usesEvenOddClipRule_(other.usesEvenOddClipRule_)
{
}

CPTPlotSymbol& CPTPlotSymbol::operator=(const CPTPlotSymbol& other)
{
    if (this != &other) {
        symbolType_ = other.symbolType_;
        size_ = other.size_;
        lineStyle_ = other.lineStyle_;
        fill_ = other.fill_;
        customSymbolPath_ = other.customSymbolPath_;
        usesEvenOddClipRule_ = other.usesEvenOddClipRule_;
        dropCachedImage();
    }
    return *this;
}

CPTPlotSymbol::~CPTPlotSymbol() = default;

CPTPlotSymbol CPTPlotSymbol::plotSymbolOfType(Type type)
{
    CPTPlotSymbol symbol;
    symbol.symbolType_ = type;
    return symbol;
}

CPTPlotSymbol CPTPlotSymbol::customPlotSymbolWithPath(CustomPath path)
{
    CPTPlotSymbol symbol = plotSymbolOfType(Type::Custom);
    symbol.customSymbolPath_ = std::move(path);
    return symbol;
}

void CPTPlotSymbol::dropCachedImage() const
{
    cachedImage_.reset();
}

void CPTPlotSymbol::setSize(const CPTSize& size)
{
    if (CPTSetIfChanged(size_, size)) {
        dropCachedImage();
    }
}

void CPTPlotSymbol::setLineStyle(std::optional<CPTLineStyle> style)
{
    lineStyle_ = std::move(style);
    dropCachedImage();
}

void CPTPlotSymbol::setFill(std::optional<CPTFill> fill)
{
    fill_ = std::move(fill);
    dropCachedImage();
}

void CPTPlotSymbol::setUsesEvenOddClipRule(bool flag)
{
    usesEvenOddClipRule_ = flag;
    dropCachedImage();
}

bool CPTPlotSymbol::operator==(const CPTPlotSymbol& other) const
{
    return symbolType_ == other.symbolType_ && size_ == other.size_ && lineStyle_ == other.lineStyle_ &&
           fill_ == other.fill_ && usesEvenOddClipRule_ == other.usesEvenOddClipRule_ &&
           static_cast<bool>(customSymbolPath_) == static_cast<bool>(other.customSymbolPath_);
}

bool CPTPlotSymbol::addSymbolPath(CPTContext& context) const
{
    const double w = size_.width;
    const double h = size_.height;
    const CPTRect box = CPTRect::make(-w / 2.0, -h / 2.0, w, h);
    switch (symbolType_) {
    case Type::None:
        return false;
    case Type::Rectangle:
        context.addRect(box);
        return true;
    case Type::Ellipse:
        context.addEllipseInRect(box);
        return true;
    case Type::Diamond:
        addPolygon(context, w, h, 4, 0.0);
        return true;
    case Type::Triangle:
        addPolygon(context, w, h, 3, 0.0);
        return true;
    case Type::Star:
        addPolygon(context, w, h, 5, 0.382);
        return true;
    case Type::Pentagon:
        addPolygon(context, w, h, 5, 0.0);
        return true;
    case Type::Hexagon:
        addPolygon(context, w, h, 6, 0.0);
        return true;
    case Type::Cross:
        addSegment(context, {-w / 2.0, -h / 2.0}, {w / 2.0, h / 2.0});
        addSegment(context, {-w / 2.0, h / 2.0}, {w / 2.0, -h / 2.0});
        return true;
    case Type::Plus:
        addSegment(context, {0.0, -h / 2.0}, {0.0, h / 2.0});
        addSegment(context, {-w / 2.0, 0.0}, {w / 2.0, 0.0});
        return true;
    case Type::Dash:
        addSegment(context, {-w / 2.0, 0.0}, {w / 2.0, 0.0});
        return true;
    case Type::Snow:
        for (int i = 0; i < 3; ++i) {
            const double angle = std::numbers::pi / 2.0 + i * std::numbers::pi / 3.0;
            const CPTPoint p{std::cos(angle) * w / 2.0, std::sin(angle) * h / 2.0};
            addSegment(context, {-p.x, -p.y}, p);
        }
        return true;
    case Type::Custom:
        if (!customSymbolPath_) {
            return false;
        }
        customSymbolPath_(context, box);
        return true;
    }
    return false;
}

void CPTPlotSymbol::renderAsVectorInContext(CPTContext& context, const CPTPoint& point, double scale) const
{
    context.saveGState();
    context.translate(point.x, point.y);
    context.scale(scale, scale);
    context.beginPath();
    if (!addSymbolPath(context)) {
        context.restoreGState();
        return;
    }
    context.beginPath();
    if (fill_ && !isOutlineOnly(symbolType_)) {
        context.saveGState();
        addSymbolPath(context);
        context.clip(usesEvenOddClipRule_);
        fill_->fillRect(CPTRect::make(-size_.width / 2.0, -size_.height / 2.0, size_.width, size_.height), context);
        context.restoreGState();
    }
    if (lineStyle_) {
        context.beginPath();
        addSymbolPath(context);
        lineStyle_->strokePathInContext(context);
    }
    context.restoreGState();
}

void CPTPlotSymbol::renderInContext(CPTContext& context, const CPTPoint& point, double scale, bool alignToPixels) const
{
    if (symbolType_ == Type::None) {
        return;
    }
    const double margin = lineStyle_ ? lineStyle_->lineWidth() : 0.0;
    // Pixels: the symbol with room for its outline, and one spare pixel on each side.
    const double pixelWidth = std::ceil(scale * (size_.width + 2.0 * margin) + 2.0);
    const double pixelHeight = std::ceil(scale * (size_.height + 2.0 * margin) + 2.0);
    const CPTSize imageSize{pixelWidth / scale, pixelHeight / scale};
    const CPTRect imageBounds = CPTRect::make(-imageSize.width / 2.0, -imageSize.height / 2.0, imageSize.width,
                                              imageSize.height);
    if (!cachedImage_ || cachedImage_->scale() != scale) {
        cachedImage_ = context.newBackingStore(imageBounds, scale, false, CPTBackingStore::Space::YUp);
        renderAsVectorInContext(cachedImage_->context(), {0.0, 0.0}, 1.0);
    }
    CPTPoint origin{point.x - imageSize.width / 2.0, point.y - imageSize.height / 2.0};
    if (alignToPixels) {
        origin = CPTPixelAlignment::alignIntegralPointToUserSpace(context, origin);
    }
    context.drawBackingStore(*cachedImage_, CPTRect{origin, imageSize});
}

}  // namespace quorvel
