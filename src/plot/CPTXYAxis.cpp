// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTXYAxis.hpp"

#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTContext.hpp"
#include "plot/CPTInvalidArgumentException.hpp"
#include "plot/CPTPixelAlignment.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTPlotSpace.hpp"
#include "plot/CPTSetIfChanged.hpp"

#include <algorithm>
#include <iostream>
#include <limits>

namespace quorvel {

CPTXYAxis::CPTXYAxis(const CPTRect& frame) : CPTAxis(frame) {}

void CPTXYAxis::setCoordinate(CPTCoordinate coordinate)
{
    if (coordinate != CPTCoordinate::X && coordinate != CPTCoordinate::Y) {
        throw CPTInvalidArgumentException("Invalid coordinate: " + std::to_string(static_cast<unsigned long>(coordinate)));
    }
    CPTAxis::setCoordinate(coordinate);
}

void CPTXYAxis::setOrthogonalCoordinateDecimal(const Decimal& value)
{
    if (!(value == orthogonalCoordinateDecimal_)) {
        orthogonalCoordinateDecimal_ = value;
        setNeedsDisplay();
        setNeedsLayout();
    }
}

void CPTXYAxis::setAxisConstraints(std::optional<CPTConstraints> constraints)
{
    if (CPTSetIfChanged(axisConstraints_, constraints)) {
        setNeedsDisplay();
        setNeedsLayout();
    }
}

CPTPoint CPTXYAxis::plotAreaPointFor(double value, double orthogonal) const
{
    return coordinate() == CPTCoordinate::X ? plotSpace()->plotAreaViewPointForDoublePrecisionPlotPoint(value, orthogonal)
                                            : plotSpace()->plotAreaViewPointForDoublePrecisionPlotPoint(orthogonal, value);
}

CPTPoint CPTXYAxis::viewPointForCoordinateDecimalNumber(const Decimal& value) const
{
    if (plotSpace() == nullptr) {
        return {};
    }
    CPTPoint point = plotAreaPointFor(value.toDouble(), orthogonalCoordinateDecimal_.toDouble());
    if (axisConstraints_) {
        const auto orthogonalRange = plotSpace()->plotRangeForCoordinate(orthogonalCoordinate());
        CPTAssertionFailure::check(orthogonalRange.has_value(),
                                   "The orthogonalRange was nil in orthogonalCoordinateViewLowerBound:upperBound:",
                                   "CPTXYAxis");
        const CPTPoint first = plotAreaPointFor(value.toDouble(), orthogonalRange->locationDouble());
        const CPTPoint last = plotAreaPointFor(value.toDouble(), orthogonalRange->endDouble());
        const bool alongX = coordinate() == CPTCoordinate::X;
        const double a = alongX ? first.y : first.x;
        const double b = alongX ? last.y : last.x;
        const double position = axisConstraints_->positionForLowerBound(std::min(a, b), std::max(a, b));
        (alongX ? point.y : point.x) = position;
    }
    return plotArea() != nullptr ? convertPointFromLayer(point, plotArea()) : point;
}

bool CPTXYAxis::tickExtent(CPTSign direction, double& start, double& end)
{
    switch (direction) {
    case CPTSign::Positive:
        start = 0.0;
        end = 1.0;
        return true;
    case CPTSign::None:
        start = -0.5;
        end = 0.5;
        return true;
    case CPTSign::Negative:
        start = 0.0;
        end = -1.0;
        return true;
    }
    start = 0.0;
    end = 0.0;
    return false;
}

template <typename Segment>
void CPTXYAxis::forEachTick(const std::set<Decimal>& locations, double length, Segment segment) const
{
    double start = 0.0;
    double end = 0.0;
    if (!tickExtent(tickDirection(), start, end)) {
        std::cerr << "Invalid sign in [CPTXYAxis drawTicksInContext:]\n";
    }
    const bool filter = labelingPolicy() == CPTAxisLabelingPolicy::None ||
                        labelingPolicy() == CPTAxisLabelingPolicy::LocationsProvided;
    const auto range = filter ? visibleAxisRange() : std::nullopt;
    const CPTPoint across = coordinate() == CPTCoordinate::X ? CPTPoint{0.0, length} : CPTPoint{length, 0.0};
    for (const Decimal& location : locations) {
        if (filter && (!range || !range->contains(location))) {
            continue;
        }
        const CPTPoint p = viewPointForCoordinateDecimalNumber(location);
        segment(CPTPoint{p.x + start * across.x, p.y + start * across.y},
                CPTPoint{p.x + end * across.x, p.y + end * across.y});
    }
}

void CPTXYAxis::drawTicks(CPTContext& context, const std::set<Decimal>& locations, double length,
                          const std::optional<CPTLineStyle>& style) const
{
    if (!style || locations.empty()) {
        return;
    }
    context.beginPath();
    forEachTick(locations, length, [&context](const CPTPoint& from, const CPTPoint& to) {
        context.moveTo(CPTPixelAlignment::alignPointToUserSpace(context, from));
        context.lineTo(CPTPixelAlignment::alignPointToUserSpace(context, to));
    });
    style->strokePathInContext(context);
}

CPTRect CPTXYAxis::contentBounds() const
{
    if (isHidden() || plotSpace() == nullptr) {
        return {};
    }
    double minX = std::numeric_limits<double>::infinity();
    double minY = minX;
    double maxX = -minX;
    double maxY = -minX;
    double lineWidth = 0.0;
    const auto include = [&](const CPTPoint& p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    };
    const auto ticks = [&](const std::set<Decimal>& locations, double length,
                           const std::optional<CPTLineStyle>& style) {
        if (style && !locations.empty()) {
            lineWidth = std::max(lineWidth, style->lineWidth());
            forEachTick(locations, length, [&include](const CPTPoint& from, const CPTPoint& to) {
                include(from);
                include(to);
            });
        }
    };
    ticks(minorTickLocations(), minorTickLength(), minorTickLineStyle());
    ticks(majorTickLocations(), majorTickLength(), majorTickLineStyle());
    const auto range = visibleAxisRange();
    if (axisLineStyle() && range) {
        lineWidth = std::max(lineWidth, axisLineStyle()->lineWidth());
        include(viewPointForCoordinateDecimalNumber(range->location()));
        include(viewPointForCoordinateDecimalNumber(range->end()));
    }
    if (minX > maxX || minY > maxY) {
        return {};
    }
    // Caps and joins reach less than a line width out; alignment moves points up to a pixel,
    // and antialiasing touches one more.
    const double margin = lineWidth + 2.0 / contentsScale();
    return pixelRectWithinBounds(
        CPTRect::make(minX - margin, minY - margin, maxX - minX + 2.0 * margin, maxY - minY + 2.0 * margin));
}

void CPTXYAxis::drawAxisLine(CPTContext& context) const
{
    const auto range = visibleAxisRange();
    if (!axisLineStyle() || !range) {
        return;
    }
    context.beginPath();
    context.moveTo(CPTPixelAlignment::alignPointToUserSpace(context, viewPointForCoordinateDecimalNumber(range->location())));
    context.lineTo(CPTPixelAlignment::alignPointToUserSpace(context, viewPointForCoordinateDecimalNumber(range->end())));
    axisLineStyle()->strokePathInContext(context);
}

void CPTXYAxis::renderAsVectorInContext(CPTContext& context)
{
    if (isHidden() || plotSpace() == nullptr) {
        return;
    }
    drawTicks(context, minorTickLocations(), minorTickLength(), minorTickLineStyle());
    drawTicks(context, majorTickLocations(), majorTickLength(), majorTickLineStyle());
    drawAxisLine(context);
}

void CPTXYAxis::drawGridLinesInContext(CPTContext& context, bool major, const CPTLayer* layer) const
{
    const auto& style = major ? majorGridLineStyle() : minorGridLineStyle();
    if (!style || plotSpace() == nullptr) {
        return;
    }
    const auto orthogonalRange = plotSpace()->plotRangeForCoordinate(orthogonalCoordinate());
    if (!orthogonalRange) {
        return;
    }
    const auto toLayer = [this, layer](const CPTPoint& p) {
        return plotArea() != nullptr ? plotArea()->convertPointToLayer(p, layer) : p;
    };
    context.beginPath();
    for (const Decimal& location : major ? majorTickLocations() : minorTickLocations()) {
        const double value = location.toDouble();
        const CPTPoint from = toLayer(plotAreaPointFor(value, orthogonalRange->locationDouble()));
        const CPTPoint to = toLayer(plotAreaPointFor(value, orthogonalRange->endDouble()));
        context.moveTo(CPTPixelAlignment::alignPointToUserSpace(context, from));
        context.lineTo(CPTPixelAlignment::alignPointToUserSpace(context, to));
    }
    style->strokePathInContext(context);
}

}  // namespace quorvel
