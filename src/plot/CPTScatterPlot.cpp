// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTScatterPlot.hpp"

#include "plot/CPTContext.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTPixelAlignment.hpp"
#include "plot/CPTPlotSpace.hpp"
#include "plot/CPTScatterPlotDataSource.hpp"
#include "plot/CPTSetIfChanged.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace quorvel {

namespace {

bool isNumericPoint(const CPTPoint& p)
{
    return !std::isnan(p.x) && !std::isnan(p.y);
}

// How far a symbol's drawing reaches from its point.
double reachOf(const CPTPlotSymbol& symbol)
{
    const double outline = symbol.lineStyle() ? symbol.lineStyle()->lineWidth() : 0.0;
    return std::max(symbol.size().width, symbol.size().height) / 2.0 + outline;
}

// -1 below, 0 inside, 1 above.
int side(const std::optional<CPTPlotRange>& range, double value)
{
    if (!range) {
        return 0;
    }
    return static_cast<int>(range->compareToDouble(value)) - 1;
}

}  // namespace

void CPTScatterPlot::setDataLineStyle(std::optional<CPTLineStyle> style)
{
    if (CPTSetIfChanged(dataLineStyle_, std::move(style))) {
        setNeedsDisplay();
    }
}

void CPTScatterPlot::setInterpolation(Interpolation interpolation)
{
    interpolation_ = interpolation;
    setNeedsDisplay();
}

void CPTScatterPlot::setPlotSymbol(std::optional<CPTPlotSymbol> symbol)
{
    if (!(symbol == plotSymbol_)) {
        plotSymbol_ = std::move(symbol);
        setNeedsDisplay();
    }
}

void CPTScatterPlot::setAreaFill(std::optional<CPTFill> fill)
{
    if (CPTSetIfChanged(areaFill_, std::move(fill))) {
        setNeedsDisplay();
    }
}

void CPTScatterPlot::setAreaFill2(std::optional<CPTFill> fill)
{
    if (CPTSetIfChanged(areaFill2_, std::move(fill))) {
        setNeedsDisplay();
    }
}

void CPTScatterPlot::setAreaBaseValue(const Decimal& value)
{
    if (!(value == areaBaseValue_)) {
        areaBaseValue_ = value;
        setNeedsDisplay();
    }
}

void CPTScatterPlot::setAreaBaseValue2(const Decimal& value)
{
    if (!(value == areaBaseValue2_)) {
        areaBaseValue2_ = value;
        setNeedsDisplay();
    }
}

const CPTPlotSymbol* CPTScatterPlot::plotSymbolForRecordIndex(std::size_t index) const
{
    if (index < plotSymbols_.size()) {
        return plotSymbols_[index] ? &*plotSymbols_[index] : nullptr;
    }
    return plotSymbol_ ? &*plotSymbol_ : nullptr;
}

void CPTScatterPlot::reloadDataInIndexRange(CPTIndexRange range)
{
    CPTPlot::reloadDataInIndexRange(range);
    if (dataSource() == nullptr) {
        cacheNumbers(std::nullopt, X);
        cacheNumbers(std::nullopt, Y);
        plotSymbols_.clear();
        return;
    }
    cacheNumbers(numbersFromDataSourceForField(X, range), X, range.location);
    cacheNumbers(numbersFromDataSourceForField(Y, range), Y, range.location);
    auto* source = dynamic_cast<CPTScatterPlotDataSource*>(dataSource());
    auto symbols = source != nullptr ? source->symbolsForScatterPlot(*this, range) : std::nullopt;
    if (!symbols) {
        plotSymbols_.clear();
        return;
    }
    if (plotSymbols_.size() < cachedCountWithoutReload()) {
        plotSymbols_.resize(cachedCountWithoutReload());
    }
    for (std::size_t i = 0; i < symbols->size() && range.location + i < plotSymbols_.size(); ++i) {
        plotSymbols_[range.location + i] = (*symbols)[i];
    }
}

void CPTScatterPlot::addDataLinePath(CPTContext& context, const std::vector<CPTPoint>& points, std::size_t first,
                                     std::size_t last, double baselineY, Interpolation interpolation)
{
    bool open = false;
    CPTPoint segmentStart;
    CPTPoint previous;
    const auto closeToBaseline = [&]() {
        if (!std::isnan(baselineY)) {
            context.lineTo({previous.x, baselineY});
            context.lineTo({segmentStart.x, baselineY});
            context.closePath();
        }
    };
    for (std::size_t i = first; i <= last && i < points.size(); ++i) {
        const CPTPoint p = points[i];
        if (!isNumericPoint(p)) {
            if (open) {
                closeToBaseline();
                open = false;
            }
            continue;
        }
        if (!open) {
            context.moveTo(p);
            segmentStart = p;
            open = true;
        } else {
            switch (interpolation) {
            case Interpolation::Linear:
                context.lineTo(p);
                break;
            case Interpolation::Stepped:
                context.lineTo({p.x, previous.y});
                context.lineTo(p);
                break;
            case Interpolation::Histogram: {
                const double middle = (previous.x + p.x) / 2.0;
                context.lineTo({middle, previous.y});
                context.lineTo({middle, p.y});
                context.lineTo(p);
                break;
            }
            default:
                throw CPTException("Interpolation method not supported in scatter plot.");
            }
        }
        previous = p;
    }
    if (open) {
        closeToBaseline();
    }
}

std::vector<bool> CPTScatterPlot::recordsToDraw() const
{
    const std::size_t count = cachedCountWithoutReload();
    const bool dashed = dataLineStyle_ && !dataLineStyle_->dashPattern().empty();
    if (areaFill_ || areaFill2_ || dashed) {
        return std::vector<bool>(count, true);
    }
    const CPTPlotSpace* space = plotSpace();
    const auto xRange = space != nullptr ? space->plotRangeForCoordinate(CPTCoordinate::X) : std::nullopt;
    const auto yRange = space != nullptr ? space->plotRangeForCoordinate(CPTCoordinate::Y) : std::nullopt;
    std::vector<bool> numeric(count);
    std::vector<int> xSide(count);
    std::vector<int> ySide(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double x = cachedDoubleForField(X, i);
        const double y = cachedDoubleForField(Y, i);
        numeric[i] = !std::isnan(x) && !std::isnan(y);
        xSide[i] = numeric[i] ? side(xRange, x) : 0;
        ySide[i] = numeric[i] ? side(yRange, y) : 0;
    }
    std::vector<bool> drawn(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        if (!numeric[i]) {
            continue;
        }
        if (xSide[i] == 0 && ySide[i] == 0) {
            drawn[i] = true;
            continue;
        }
        // Outside, but the line to a neighbour on another side crosses into view.
        for (std::size_t j : {i - 1, i + 1}) {
            if (j < count && numeric[j] && (xSide[j] != xSide[i] || ySide[j] != ySide[i])) {
                drawn[i] = true;
            }
        }
    }
    return drawn;
}

CPTPoint CPTScatterPlot::plotAreaPoint(std::size_t index) const
{
    if (doublePrecisionCache()) {
        return plotSpace()->plotAreaViewPointForDoublePrecisionPlotPoint(cachedDoubleForField(X, index),
                                                                         cachedDoubleForField(Y, index));
    }
    return plotSpace()->plotAreaViewPointForPlotPoint(cachedDecimalForField(X, index), cachedDecimalForField(Y, index));
}

std::vector<CPTPoint> CPTScatterPlot::viewPoints(const CPTContext& context, const std::vector<bool>& drawn) const
{
    const CPTPoint missing{std::nan(""), std::nan("")};
    const bool crisp = dataLineStyle_ && dataLineStyle_->lineWidth() > 0.0;
    std::vector<CPTPoint> points(drawn.size(), missing);
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const bool numeric = !std::isnan(cachedDoubleForField(X, i)) && !std::isnan(cachedDoubleForField(Y, i));
        if (!drawn[i] || !numeric) {
            continue;
        }
        CPTPoint p = convertFromPlotArea(plotAreaPoint(i));
        if (alignsPointsToPixels()) {
            p = crisp ? CPTPixelAlignment::alignPointToUserSpace(context, p)
                      : CPTPixelAlignment::alignIntegralPointToUserSpace(context, p);
        }
        points[i] = p;
    }
    return points;
}

void CPTScatterPlot::fillArea(CPTContext& context, const CPTFill& fill, const Decimal& base,
                              const std::vector<CPTPoint>& points, std::size_t first, std::size_t last) const
{
    context.saveGState();
    context.setShadowsEnabled(false);
    CPTPoint basePoint = convertFromPlotArea(
        doublePrecisionCache()
            ? plotSpace()->plotAreaViewPointForDoublePrecisionPlotPoint(cachedDoubleForField(X, first), base.toDouble())
            : plotSpace()->plotAreaViewPointForPlotPoint(cachedDecimalForField(X, first), base));
    if (alignsPointsToPixels()) {
        basePoint.y = CPTPixelAlignment::alignIntegralPointToUserSpace(context, {0.0, basePoint.y}).y;
    }
    context.beginPath();
    addDataLinePath(context, points, first, last, basePoint.y, interpolation_);
    fill.fillPathInContext(context);
    context.restoreGState();
}

bool CPTScatterPlot::hasRecordsToDraw() const
{
    const CPTNumericData* xs = cachedNumbersForField(X);
    const CPTNumericData* ys = cachedNumbersForField(Y);
    const bool hasSymbols = plotSymbol_.has_value() || !plotSymbols_.empty();
    return !isHidden() && xs != nullptr && ys != nullptr && cachedCountWithoutReload() != 0 && plotSpace() != nullptr &&
           (dataLineStyle_ || areaFill_ || areaFill2_ || hasSymbols);
}

CPTRect CPTScatterPlot::contentBounds() const
{
    // Drawing reloads first, or throws on mismatched fields: measure nothing then.
    if (dataNeedsReloading() ||
        (hasRecordsToDraw() && cachedNumbersForField(X)->size() != cachedNumbersForField(Y)->size())) {
        return bounds();
    }
    if (!hasRecordsToDraw()) {
        return {};
    }
    const DrawnPoints drawn = pointsAsDrawn();
    double minX = std::numeric_limits<double>::infinity();
    double minY = minX;
    double maxX = -minX;
    double maxY = -minX;
    double symbolReach = 0.0;
    for (std::size_t i = 0; i < drawn.points.size(); ++i) {
        const CPTPoint& p = drawn.points[i];
        if (!isNumericPoint(p)) {
            continue;
        }
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
        if (const CPTPlotSymbol* symbol = plotSymbolForRecordIndex(i)) {
            symbolReach = std::max(symbolReach, reachOf(*symbol));
        }
    }
    if (minX > maxX) {
        return {};
    }
    // Filled areas run down (or up) to their base line.
    for (double y : drawn.baselines) {
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const double margin = drawingMargin(symbolReach);
    return pixelRectWithinBounds(
        CPTRect::make(minX - margin, minY - margin, maxX - minX + 2.0 * margin, maxY - minY + 2.0 * margin));
}

double CPTScatterPlot::drawingMargin(double symbolReach) const
{
    // Mitred joins reach out up to the miter limit times half the line width; symbol images
    // carry a spare pixel and are moved onto whole ones; alignment and antialiasing add two.
    const double pixel = 1.0 / contentsScale();
    const double line =
        dataLineStyle_ ? dataLineStyle_->lineWidth() / 2.0 * std::max(dataLineStyle_->miterLimit(), 1.5) : 0.0;
    return std::max(line, symbolReach + 2.0 * pixel) + 2.0 * pixel;
}

std::optional<CPTScatterPlot::DrawnPoints> CPTScatterPlot::drawnPoints() const
{
    // A dash pattern runs on along the whole line, a gradient spans the whole area, and the
    // source's own symbols come anew with each reload: none of them changes only locally.
    const bool dashed = dataLineStyle_ && !dataLineStyle_->dashPattern().empty();
    const auto solid = [](const std::optional<CPTFill>& fill) { return !fill || fill->color() != nullptr; };
    if (dashed || !solid(areaFill_) || !solid(areaFill2_) || !plotSymbols_.empty() || dataNeedsReloading()) {
        return std::nullopt;
    }
    if (!hasRecordsToDraw()) {
        return DrawnPoints{};
    }
    if (cachedNumbersForField(X)->size() != cachedNumbersForField(Y)->size()) {
        return std::nullopt;
    }
    return pointsAsDrawn();
}

CPTScatterPlot::DrawnPoints CPTScatterPlot::pointsAsDrawn() const
{
    const std::vector<bool> records = recordsToDraw();
    DrawnPoints drawn;
    drawn.points.assign(records.size(), {std::nan(""), std::nan("")});
    std::optional<std::size_t> first;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i] && !std::isnan(cachedDoubleForField(X, i)) && !std::isnan(cachedDoubleForField(Y, i))) {
            drawn.points[i] = convertFromPlotArea(plotAreaPoint(i));
            first = first.value_or(i);
        }
    }
    for (const auto& [fill, base] : {std::pair{&areaFill_, &areaBaseValue_}, std::pair{&areaFill2_, &areaBaseValue2_}}) {
        if (first && *fill && !base->isNaN()) {
            drawn.baselines.push_back(convertFromPlotArea(plotSpace()->plotAreaViewPointForDoublePrecisionPlotPoint(
                                                              cachedDoubleForField(X, *first), base->toDouble()))
                                          .y);
        }
    }
    return drawn;
}

std::optional<CPTRect> CPTScatterPlot::changedByNewData()
{
    if (!pointsInStore_) {
        return std::nullopt;
    }
    const std::optional<DrawnPoints> now = drawnPoints();
    const DrawnPoints& before = *pointsInStore_;
    if (!now || now->points.size() != before.points.size() || now->baselines != before.baselines) {
        return std::nullopt;
    }
    const double margin = drawingMargin(plotSymbol_ ? reachOf(*plotSymbol_) : 0.0);
    // A point's drawing: the line to its neighbours with their joins, its symbol, and the areas
    // below those two pieces of line down to their bases.
    const auto around = [&margin](const DrawnPoints& drawn, std::size_t i) {
        double minX = drawn.points[i].x;
        double maxX = minX;
        double minY = drawn.points[i].y;
        double maxY = minY;
        for (std::size_t j : {i - 1, i + 1}) {
            if (j < drawn.points.size() && isNumericPoint(drawn.points[j])) {
                minX = std::min(minX, drawn.points[j].x);
                maxX = std::max(maxX, drawn.points[j].x);
                minY = std::min(minY, drawn.points[j].y);
                maxY = std::max(maxY, drawn.points[j].y);
            }
        }
        for (double y : drawn.baselines) {
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        return CPTRect::make(minX - margin, minY - margin, maxX - minX + 2.0 * margin, maxY - minY + 2.0 * margin);
    };
    CPTRect changed;
    for (std::size_t i = 0; i < before.points.size(); ++i) {
        const bool wasDrawn = isNumericPoint(before.points[i]);
        if (wasDrawn != isNumericPoint(now->points[i])) {
            return std::nullopt;  // the line now breaks, or joins, somewhere else
        }
        if (wasDrawn && before.points[i] != now->points[i]) {
            changed = changed.unitedWith(around(before, i)).unitedWith(around(*now, i));
        }
    }
    return changed;
}

void CPTScatterPlot::storeWasDrawn()
{
    pointsInStore_ = drawnPoints();
}

void CPTScatterPlot::renderAsVectorInContext(CPTContext& context)
{
    reloadDataIfNeeded();
    if (!hasRecordsToDraw()) {
        return;
    }
    const CPTNumericData* xs = cachedNumbersForField(X);
    const CPTNumericData* ys = cachedNumbersForField(Y);
    const bool hasSymbols = plotSymbol_.has_value() || !plotSymbols_.empty();
    if (xs->size() != ys->size()) {
        throw CPTException("Number of x and y values do not match");
    }
    const std::vector<bool> drawn = recordsToDraw();
    const std::vector<CPTPoint> points = viewPoints(context, drawn);
    std::size_t first = drawn.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        if (drawn[i]) {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first == drawn.size()) {
        return;
    }
    if (areaFill_ && !areaBaseValue_.isNaN()) {
        fillArea(context, *areaFill_, areaBaseValue_, points, first, last);
    }
    if (areaFill2_ && !areaBaseValue2_.isNaN()) {
        fillArea(context, *areaFill2_, areaBaseValue2_, points, first, last);
    }
    if (dataLineStyle_) {
        context.beginPath();
        addDataLinePath(context, points, first, last, std::nan(""), interpolation_);
        dataLineStyle_->strokePathInContext(context);
    }
    if (hasSymbols) {
        context.saveGState();
        context.setShadowsEnabled(false);
        for (std::size_t i = first; i <= last; ++i) {
            const CPTPlotSymbol* symbol = plotSymbolForRecordIndex(i);
            if (!drawn[i] || symbol == nullptr || !isNumericPoint(points[i])) {
                continue;
            }
            if (useFastRendering()) {
                symbol->renderInContext(context, points[i], contentsScale(), alignsPointsToPixels());
            } else {
                symbol->renderAsVectorInContext(context, points[i], 1.0);
            }
        }
        context.restoreGState();
    }
}

}  // namespace quorvel
