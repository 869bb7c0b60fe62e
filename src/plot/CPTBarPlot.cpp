// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTBarPlot.hpp"

#include "plot/CPTBarPlotDataSource.hpp"
#include "plot/CPTContext.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTPathBuilder.hpp"
#include "plot/CPTPixelAlignment.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTPlotSpace.hpp"
#include "plot/CPTSetIfChanged.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {

CPTBarPlot::CPTBarPlot() = default;

std::shared_ptr<CPTBarPlot> CPTBarPlot::tubularBarPlotWithColor(const CPTColor& start, const CPTColor& end,
                                                               const CPTColor& lineColor, bool horizontalBars)
{
    auto plot = std::make_shared<CPTBarPlot>();
    CPTMutableLineStyle outline;
    outline.setLineWidth(1.0);
    outline.setLineColor(lineColor);
    plot->setLineStyle(outline);
    plot->setBarsAreHorizontal(horizontalBars);
    plot->setBarWidth(Decimal::fromDouble(0.8));
    plot->setBarWidthsAreInViewCoordinates(false);
    plot->setBarCornerRadius(2.0);
    CPTGradient gradient = CPTGradient::gradientWithBeginningColor(start, end);
    gradient.setAngle(horizontalBars ? -90.0 : 0.0);  // across the bar, not along it
    plot->setFill(CPTFill::fillWithGradient(gradient));
    return plot;
}

void CPTBarPlot::setLineStyle(std::optional<CPTLineStyle> style)
{
    if (CPTSetIfChanged(lineStyle_, std::move(style))) {
        setNeedsDisplay();
    }
}

void CPTBarPlot::setFill(std::optional<CPTFill> fill)
{
    if (CPTSetIfChanged(fill_, std::move(fill))) {
        setNeedsDisplay();
    }
}

void CPTBarPlot::setBarWidth(const Decimal& width)
{
    if (CPTSetIfChanged(barWidth_, width)) {
        setNeedsDisplay();
    }
}

void CPTBarPlot::setBarWidthScale(double scale)
{
    if (CPTSetIfChanged(barWidthScale_, scale)) {
        setNeedsDisplay();
    }
}

void CPTBarPlot::setBarWidthsAreInViewCoordinates(bool flag)
{
    if (CPTSetIfChanged(barWidthsAreInViewCoordinates_, flag)) {
        setNeedsDisplay();
    }
}

void CPTBarPlot::setBarOffset(const Decimal& offset)
{
    if (CPTSetIfChanged(barOffset_, offset)) {
        setNeedsDisplay();
    }
}

void CPTBarPlot::setBarOffsetScale(double scale)
{
    if (CPTSetIfChanged(barOffsetScale_, scale)) {
        setNeedsDisplay();
    }
}

void CPTBarPlot::setBarCornerRadius(double radius)
{
    const double magnitude = std::fabs(radius);
    if (CPTSetIfChanged(barCornerRadius_, magnitude)) {
        setNeedsDisplay();
    }
}

void CPTBarPlot::setBaseValue(const Decimal& value)
{
    if (CPTSetIfChanged(baseValue_, value)) {
        setNeedsDisplay();
        setNeedsLayout();
    }
}

void CPTBarPlot::setBarsAreHorizontal(bool flag)
{
    if (CPTSetIfChanged(barsAreHorizontal_, flag)) {
        setNeedsDisplay();
        setNeedsLayout();
    }
}

void CPTBarPlot::setBarBasesVary(bool flag)
{
    if (CPTSetIfChanged(barBasesVary_, flag)) {
        setDataNeedsReloading();
        setNeedsLayout();
    }
}

void CPTBarPlot::setPlotRange(std::optional<CPTPlotRange> range)
{
    if (CPTSetIfChanged(plotRange_, std::move(range))) {
        setDataNeedsReloading();
    }
}

double CPTBarPlot::lengthInView(const Decimal& length) const
{
    if (barWidthsAreInViewCoordinates_) {
        return length.toDouble();
    }
    const CPTPlotSpace* space = plotSpace();
    if (space == nullptr) {
        return 0.0;
    }
    const Decimal x = space->plotRangeForCoordinate(CPTCoordinate::X).value_or(CPTPlotRange()).location();
    const Decimal y = space->plotRangeForCoordinate(CPTCoordinate::Y).value_or(CPTPlotRange()).location();
    const CPTPoint origin = space->plotAreaViewPointForPlotPoint(x, y);
    if (barsAreHorizontal_) {
        return space->plotAreaViewPointForPlotPoint(x, y + length).y - origin.y;
    }
    return space->plotAreaViewPointForPlotPoint(x + length, y).x - origin.x;
}

double CPTBarPlot::doubleLengthInPlotCoordinates(double length) const
{
    if (!barWidthsAreInViewCoordinates_) {
        return length;
    }
    const CPTPlotSpace* space = plotSpace();
    if (space == nullptr) {
        return 0.0;
    }
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;
    space->doublePrecisionPlotPointForPlotAreaViewPoint({0.0, 0.0}, x0, y0);
    space->doublePrecisionPlotPointForPlotAreaViewPoint(barsAreHorizontal_ ? CPTPoint{0.0, length}
                                                                           : CPTPoint{length, 0.0},
                                                        x1, y1);
    return barsAreHorizontal_ ? y1 - y0 : x1 - x0;
}

Decimal CPTBarPlot::lengthInPlotCoordinates(double length) const
{
    if (!barWidthsAreInViewCoordinates_) {
        return Decimal::fromDouble(length);
    }
    const CPTPlotSpace* space = plotSpace();
    if (space == nullptr) {
        return Decimal();
    }
    Decimal x0;
    Decimal y0;
    Decimal x1;
    Decimal y1;
    space->plotPointForPlotAreaViewPoint({0.0, 0.0}, x0, y0);
    space->plotPointForPlotAreaViewPoint(barsAreHorizontal_ ? CPTPoint{0.0, length} : CPTPoint{length, 0.0}, x1, y1);
    return barsAreHorizontal_ ? y1 - y0 : x1 - x0;
}

CPTPoint CPTBarPlot::viewPoint(double location, double value) const
{
    const CPTPoint p = barsAreHorizontal_ ? plotSpace()->plotAreaViewPointForDoublePrecisionPlotPoint(value, location)
                                          : plotSpace()->plotAreaViewPointForDoublePrecisionPlotPoint(location, value);
    return convertFromPlotArea(p);
}

CPTPoint CPTBarPlot::viewPoint(const Decimal& location, const Decimal& value) const
{
    const CPTPoint p = barsAreHorizontal_ ? plotSpace()->plotAreaViewPointForPlotPoint(value, location)
                                          : plotSpace()->plotAreaViewPointForPlotPoint(location, value);
    return convertFromPlotArea(p);
}

bool CPTBarPlot::barAtRecordIndex(std::size_t index, CPTPoint& basePoint, CPTPoint& tipPoint) const
{
    if (plotSpace() == nullptr) {
        return false;
    }
    if (doublePrecisionCache()) {
        const double location = cachedDoubleForField(BarLocation, index);
        const double tip = cachedDoubleForField(BarTip, index);
        const double base = barBasesVary_ ? cachedDoubleForField(BarBase, index)
                            : drawing_        ? drawing_->base
                                              : baseValue_.toDouble();
        if (std::isnan(location) || std::isnan(tip) || std::isnan(base)) {
            return false;
        }
        tipPoint = viewPoint(location, tip);
        basePoint = viewPoint(location, base);
    } else {
        const Decimal location = cachedDecimalForField(BarLocation, index);
        const Decimal tip = cachedDecimalForField(BarTip, index);
        const Decimal base = barBasesVary_ ? cachedDecimalForField(BarBase, index) : baseValue_;
        if (location.isNaN() || tip.isNaN() || base.isNaN()) {
            return false;
        }
        tipPoint = viewPoint(location, tip);
        basePoint = viewPoint(location, base);
    }
    const double offset = drawing_ ? drawing_->offset : lengthInView(barOffset_) * barOffsetScale_;
    if (barsAreHorizontal_) {
        basePoint.y += offset;
        tipPoint.y += offset;
    } else {
        basePoint.x += offset;
        tipPoint.x += offset;
    }
    return true;
}

double CPTBarPlot::halfBarWidthInView() const
{
    return drawing_ ? drawing_->halfWidth : lengthInView(barWidth_) * barWidthScale_ * 0.5;
}

CPTBarPlot::DrawingLengths CPTBarPlot::drawingLengths() const
{
    DrawingLengths lengths{halfBarWidthInView(), lengthInView(barOffset_) * barOffsetScale_, baseValue_.toDouble(),
                           {}, {}};
    if (const CPTPlotArea* area = plotArea()) {
        const CPTRect& areaBounds = area->bounds();
        lengths.visibleLower = convertFromPlotArea({areaBounds.minX(), areaBounds.minY()});
        lengths.visibleUpper = convertFromPlotArea({areaBounds.maxX(), areaBounds.maxY()});
    }
    return lengths;
}

template <typename Work>
void CPTBarPlot::withDrawingLengths(Work work) const
{
    drawing_ = drawingLengths();
    struct Forget {
        std::optional<DrawingLengths>& lengths;
        ~Forget() { lengths.reset(); }
    } forget{drawing_};
    work();
}

bool CPTBarPlot::barIsVisibleWithBasePoint(const CPTPoint& basePoint) const
{
    const CPTPlotArea* area = plotArea();
    if (area == nullptr) {
        return true;
    }
    const CPTRect& areaBounds = area->bounds();
    const CPTPoint lower =
        drawing_ ? drawing_->visibleLower : convertFromPlotArea({areaBounds.minX(), areaBounds.minY()});
    const CPTPoint upper =
        drawing_ ? drawing_->visibleUpper : convertFromPlotArea({areaBounds.maxX(), areaBounds.maxY()});
    const double h = halfBarWidthInView();
    if (barsAreHorizontal_) {
        return lower.y <= basePoint.y + h && upper.y >= basePoint.y - h;
    }
    return lower.x <= basePoint.x + h && upper.x >= basePoint.x - h;
}

CPTPoint CPTBarPlot::alignedPoint(const CPTContext& context, const CPTPoint& point) const
{
    const double width = lineStyle_ ? lineStyle_->lineWidth() : 0.0;
    return width > 0.0 ? CPTPixelAlignment::alignPointToUserSpace(context, point)
                       : CPTPixelAlignment::alignIntegralPointToUserSpace(context, point);
}

void CPTBarPlot::addBarPath(CPTContext& context, CPTPoint basePoint, CPTPoint tipPoint) const
{
    const double h = halfBarWidthInView();
    const bool horizontal = barsAreHorizontal_;
    const CPTPoint across = horizontal ? CPTPoint{0.0, h} : CPTPoint{h, 0.0};
    CPTPoint p1 = basePoint + across;
    CPTPoint p2 = tipPoint + across;
    CPTPoint p3 = tipPoint;
    CPTPoint p4 = tipPoint - across;
    CPTPoint p5 = basePoint - across;
    if (alignsPointsToPixels()) {
        p1 = alignedPoint(context, p1);
        p2 = alignedPoint(context, p2);
        p3 = alignedPoint(context, p3);
        p4 = alignedPoint(context, p4);
        p5 = alignedPoint(context, p5);
    }
    const double barLength = horizontal ? std::fabs(tipPoint.x - basePoint.x) : std::fabs(tipPoint.y - basePoint.y);
    const double radius = std::min({barCornerRadius_, h, barLength});
    context.moveTo(p1);
    const CPTPoint afterFirstCorner = CPTPathBuilder::addArcToPoint(context, p1, p2, p3, radius);
    CPTPathBuilder::addArcToPoint(context, afterFirstCorner, p4, p5, radius);
    context.lineTo(p5);
    context.closePath();
}

std::optional<CPTFill> CPTBarPlot::barFillForIndex(std::size_t index)
{
    if (auto* source = dynamic_cast<CPTBarPlotDataSource*>(dataSource())) {
        if (auto fill = source->barFillForBarPlot(*this, index)) {
            return fill;
        }
    }
    return fill_;
}

std::optional<CPTLineStyle> CPTBarPlot::barLineStyleForIndex(std::size_t index)
{
    if (auto* source = dynamic_cast<CPTBarPlotDataSource*>(dataSource())) {
        if (auto style = source->barLineStyleForBarPlot(*this, index)) {
            return style;
        }
    }
    return lineStyle_;
}

void CPTBarPlot::drawBarInContext(CPTContext& context, std::size_t index)
{
    CPTPoint basePoint;
    CPTPoint tipPoint;
    if (!barAtRecordIndex(index, basePoint, tipPoint) || !barIsVisibleWithBasePoint(basePoint)) {
        return;
    }
    context.saveGState();
    if (const auto fill = barFillForIndex(index)) {
        context.beginPath();
        addBarPath(context, basePoint, tipPoint);
        fill->fillPathInContext(context);
    }
    const std::optional<CPTLineStyle> outline = barLineStyleForIndex(index);
    if (outline) {
        context.beginPath();
        addBarPath(context, basePoint, tipPoint);
        outline->strokePathInContext(context);
    }
    context.restoreGState();
}

void CPTBarPlot::reloadDataInIndexRange(CPTIndexRange range)
{
    CPTPlot::reloadDataInIndexRange(range);
    if (dataSource() != nullptr) {
        cacheNumbers(numbersFromDataSourceForField(BarTip, range), BarTip, range.location);
        if (barBasesVary_) {
            cacheNumbers(numbersFromDataSourceForField(BarBase, range), BarBase, range.location);
        } else {
            cacheNumbers(std::nullopt, BarBase);
        }
    } else {
        cacheNumbers(std::nullopt, BarTip);
        cacheNumbers(std::nullopt, BarBase);
    }
    if (plotRange_) {
        // Spread the bars evenly over the range instead of asking for locations.
        const std::size_t n = range.length;
        const Decimal step = n > 1 ? plotRange_->length() / Decimal::fromInteger(n - 1) : Decimal::fromInteger(1);
        std::vector<Decimal> locations;
        for (std::size_t i = 0; i < n; ++i) {
            locations.push_back(plotRange_->location() + step * Decimal::fromInteger(i));
        }
        CPTNumericData data = CPTNumericData::fromDecimals(std::move(locations));
        if (doublePrecisionCache()) {
            data = data.convertedTo(CPTNumericData::Type::Double);
        }
        cacheNumbers(data, BarLocation, range.location);
    } else if (dataSource() != nullptr) {
        cacheNumbers(numbersFromDataSourceForField(BarLocation, range), BarLocation, range.location);
    } else {
        std::vector<double> locations(range.length);
        for (std::size_t i = 0; i < range.length; ++i) {
            locations[i] = static_cast<double>(i);
        }
        cacheNumbers(CPTNumericData::fromDoubles(std::move(locations)), BarLocation);
    }
}

bool CPTBarPlot::hasBarsToDraw() const
{
    const CPTNumericData* locations = cachedNumbersForField(BarLocation);
    const CPTNumericData* tips = cachedNumbersForField(BarTip);
    const CPTNumericData* bases = cachedNumbersForField(BarBase);
    if (isHidden() || locations == nullptr || tips == nullptr || (barBasesVary_ && bases == nullptr) ||
        cachedCountWithoutReload() == 0) {
        return false;
    }
    if (locations->size() != tips->size()) {
        throw CPTException("Number of bar locations and lengths do not match");
    }
    if (barBasesVary_ && tips->size() != bases->size()) {
        throw CPTException("Number of bar lengths and bases do not match");
    }
    return true;
}

void CPTBarPlot::renderAsVectorInContext(CPTContext& context)
{
    reloadDataIfNeeded();
    if (!hasBarsToDraw()) {
        return;
    }
    withDrawingLengths([this, &context] {
        for (std::size_t i = 0; i < cachedCountWithoutReload(); ++i) {
            drawBarInContext(context, i);
        }
    });
}

CPTRect CPTBarPlot::contentBounds() const
{
    // Drawing reloads first; a reload marks the layer again, so measure what is drawn next.
    if (dataNeedsReloading() || !hasBarsToDraw()) {
        return dataNeedsReloading() ? bounds() : CPTRect{};
    }
    CPTRect all;
    forEachVisibleBar([&all](std::size_t, const CPTPoint&, const CPTPoint&, const CPTRect& extent) {
        all = all.unitedWith(extent);
    });
    return all.isEmpty() ? CPTRect{} : pixelRectWithinBounds(all);
}

double CPTBarPlot::outlineMargin() const
{
    // Outlines reach half a line width out, mitred corners up to the miter limit times that;
    // alignment moves points by up to a pixel, and antialiasing touches one more.
    return (lineStyle_ ? lineStyle_->lineWidth() / 2.0 * std::max(lineStyle_->miterLimit(), 1.5) : 0.0) +
           2.0 / contentsScale();
}

template <typename Visit>
void CPTBarPlot::forEachVisibleBar(Visit visit) const
{
    const double margin = outlineMargin();
    withDrawingLengths([&] {
        const double h = drawing_->halfWidth + margin;
        for (std::size_t i = 0; i < cachedCountWithoutReload(); ++i) {
            CPTPoint base;
            CPTPoint tip;
            if (!barAtRecordIndex(i, base, tip) || !barIsVisibleWithBasePoint(base)) {
                continue;
            }
            const double x0 = std::min(base.x, tip.x) - h;
            const double y0 = std::min(base.y, tip.y) - h;
            visit(i, base, tip,
                  CPTRect::make(x0, y0, std::max(base.x, tip.x) + h - x0, std::max(base.y, tip.y) + h - y0));
        }
    });
}

std::vector<CPTBarPlot::DrawnBar> CPTBarPlot::drawnBars()
{
    if (!hasBarsToDraw()) {
        return {};
    }
    std::vector<DrawnBar> bars(cachedCountWithoutReload());
    forEachVisibleBar([&](std::size_t i, const CPTPoint& base, const CPTPoint& tip, const CPTRect& extent) {
        bars[i] = {base, tip, extent, barFillForIndex(i), barLineStyleForIndex(i)};
    });
    return bars;
}

std::optional<CPTRect> CPTBarPlot::changedByNewData()
{
    if (!barsInStore_ || dataNeedsReloading()) {
        return std::nullopt;
    }
    std::vector<DrawnBar> now;
    try {
        now = drawnBars();
    } catch (const CPTException&) {
        return std::nullopt;  // drawing it all says what is wrong
    }
    if (now.size() != barsInStore_->size()) {
        return std::nullopt;
    }
    CPTRect changed;
    for (std::size_t i = 0; i < now.size(); ++i) {
        const DrawnBar& before = (*barsInStore_)[i];
        if (now[i] != before) {
            changed = changed.unitedWith(before.extent).unitedWith(now[i].extent);
        }
    }
    return changed;
}

void CPTBarPlot::storeWasDrawn()
{
    try {
        barsInStore_ = drawnBars();
    } catch (const CPTException&) {
        barsInStore_.reset();
    }
}

}  // namespace quorvel
