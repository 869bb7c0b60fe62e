// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTXYPlotSpace.hpp"

#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTGraph.hpp"
#include "plot/CPTMutablePlotRange.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTPlotSpaceDelegate.hpp"
#include "plot/CPTSetIfChanged.hpp"

#include <cmath>

namespace quorvel {

void CPTXYPlotSpace::setXRange(const std::optional<CPTPlotRange>& range)
{
    setRange(range, CPTCoordinate::X);
}

void CPTXYPlotSpace::setYRange(const std::optional<CPTPlotRange>& range)
{
    setRange(range, CPTCoordinate::Y);
}

void CPTXYPlotSpace::setRange(const std::optional<CPTPlotRange>& range, CPTCoordinate coordinate)
{
    CPTAssertionFailure::checkParameter(range.has_value(), "range", "CPTXYPlotSpace");
    const bool isX = coordinate == CPTCoordinate::X;
    CPTPlotRange& current = isX ? xRange_ : yRange_;
    if (range->isEqualToRange(current)) {
        return;
    }
    current = *constrainRange(range, isX ? globalXRange_ : globalYRange_);
    postCoordinateMappingDidChange();
    if (delegate() != nullptr) {
        delegate()->plotSpaceDidChangePlotRangeForCoordinate(*this, coordinate);
    }
    postGraphNeedsRedraw();
}

void CPTXYPlotSpace::setGlobalXRange(const std::optional<CPTPlotRange>& range)
{
    if (CPTSetIfChanged(globalXRange_, range)) {
        setXRange(constrainRange(xRange_, globalXRange_));
    }
}

void CPTXYPlotSpace::setGlobalYRange(const std::optional<CPTPlotRange>& range)
{
    if (CPTSetIfChanged(globalYRange_, range)) {
        setYRange(constrainRange(yRange_, globalYRange_));
    }
}

void CPTXYPlotSpace::setXScaleType(CPTScaleType type)
{
    if (CPTSetIfChanged(xScaleType_, type)) {
        postGraphNeedsRedraw();
    }
}

void CPTXYPlotSpace::setYScaleType(CPTScaleType type)
{
    if (CPTSetIfChanged(yScaleType_, type)) {
        postGraphNeedsRedraw();
    }
}

std::optional<CPTPlotRange> CPTXYPlotSpace::plotRangeForCoordinate(CPTCoordinate coordinate) const
{
    switch (coordinate) {
    case CPTCoordinate::X:
        return xRange_;
    case CPTCoordinate::Y:
        return yRange_;
    case CPTCoordinate::Z:
        break;
    }
    return std::nullopt;
}

void CPTXYPlotSpace::setPlotRange(const CPTPlotRange& range, CPTCoordinate coordinate)
{
    if (coordinate == CPTCoordinate::X || coordinate == CPTCoordinate::Y) {
        setRange(range, coordinate);
    }
}

CPTScaleType CPTXYPlotSpace::scaleTypeForCoordinate(CPTCoordinate coordinate) const
{
    switch (coordinate) {
    case CPTCoordinate::X:
        return xScaleType_;
    case CPTCoordinate::Y:
        return yScaleType_;
    case CPTCoordinate::Z:
        break;
    }
    return CPTScaleType::Linear;
}

void CPTXYPlotSpace::setScaleType(CPTScaleType type, CPTCoordinate coordinate)
{
    if (coordinate == CPTCoordinate::X) {
        setXScaleType(type);
    } else if (coordinate == CPTCoordinate::Y) {
        setYScaleType(type);
    }
}

std::optional<CPTPlotRange> CPTXYPlotSpace::constrainRange(const std::optional<CPTPlotRange>& range,
                                                           const std::optional<CPTPlotRange>& global)
{
    if (!global || !range) {
        return range;
    }
    if (range->length() >= global->length()) {
        return CPTPlotRange(*global);
    }
    CPTMutablePlotRange moved(*range);
    moved.shiftEndToFitInRange(*global);
    moved.shiftLocationToFitInRange(*global);
    return CPTPlotRange(moved);
}

double CPTXYPlotSpace::viewCoordinateForDecimal(const CPTPlotRange* range, double length, const Decimal& value,
                                                CPTScaleType type)
{
    switch (type) {
    case CPTScaleType::Linear: {
        if (range == nullptr) {
            return 0.0;
        }
        Decimal factor = (value - range->location()) / range->length();
        if (factor.isNaN()) {
            factor = Decimal();
        }
        return length * factor.toDouble();
    }
    case CPTScaleType::Log:
        return viewCoordinateForDouble(range, length, value.toDouble(), type);
    }
    throw CPTException("Scale type not supported in CPTXYPlotSpace");
}

double CPTXYPlotSpace::viewCoordinateForDouble(const CPTPlotRange* range, double length, double value,
                                               CPTScaleType type)
{
    switch (type) {
    case CPTScaleType::Linear:
        if (range == nullptr || range->lengthDouble() == 0.0) {
            return 0.0;
        }
        return length * ((value - range->locationDouble()) / range->lengthDouble());
    case CPTScaleType::Log: {
        if (range == nullptr || range->minLimitDouble() <= 0.0 || range->maxLimitDouble() <= 0.0 || value <= 0.0) {
            return 0.0;
        }
        const double logLocation = std::log10(range->locationDouble());
        return length * (std::log10(value) - logLocation) / (std::log10(range->endDouble()) - logLocation);
    }
    }
    throw CPTException("Scale type not supported in CPTXYPlotSpace");
}

bool CPTXYPlotSpace::plotAreaSize(double& width, double& height) const
{
    const CPTPlotArea* area = graph() != nullptr ? graph()->plotAreaFrame()->plotArea() : nullptr;
    if (area == nullptr) {
        return false;
    }
    width = area->bounds().width();
    height = area->bounds().height();
    return true;
}

CPTPoint CPTXYPlotSpace::plotAreaViewPointForPlotPoint(const Decimal& x, const Decimal& y) const
{
    double width = 0.0;
    double height = 0.0;
    if (!plotAreaSize(width, height)) {
        return {};
    }
    return {viewCoordinateForDecimal(&xRange_, width, x, xScaleType_),
            viewCoordinateForDecimal(&yRange_, height, y, yScaleType_)};
}

CPTPoint CPTXYPlotSpace::plotAreaViewPointForDoublePrecisionPlotPoint(double x, double y) const
{
    double width = 0.0;
    double height = 0.0;
    if (!plotAreaSize(width, height)) {
        return {};
    }
    return {viewCoordinateForDouble(&xRange_, width, x, xScaleType_),
            viewCoordinateForDouble(&yRange_, height, y, yScaleType_)};
}

void CPTXYPlotSpace::plotPointForPlotAreaViewPoint(const CPTPoint& point, Decimal& x, Decimal& y) const
{
    double width = 0.0;
    double height = 0.0;
    x = Decimal();
    y = Decimal();
    if (!plotAreaSize(width, height)) {
        return;
    }
    // A collapsed plot area has no inverse: every point is the start of the range.
    x = width > 0.0 ? Decimal::fromDouble(point.x) / Decimal::fromDouble(width) * xRange_.length() + xRange_.location()
                    : xRange_.location();
    y = height > 0.0 ? Decimal::fromDouble(point.y) / Decimal::fromDouble(height) * yRange_.length() + yRange_.location()
                     : yRange_.location();
}

void CPTXYPlotSpace::doublePrecisionPlotPointForPlotAreaViewPoint(const CPTPoint& point, double& x, double& y) const
{
    double width = 0.0;
    double height = 0.0;
    x = 0.0;
    y = 0.0;
    if (!plotAreaSize(width, height)) {
        return;
    }
    x = width > 0.0 ? point.x / width * xRange_.lengthDouble() + xRange_.locationDouble() : xRange_.locationDouble();
    y = height > 0.0 ? point.y / height * yRange_.lengthDouble() + yRange_.locationDouble() : yRange_.locationDouble();
}

}  // namespace quorvel
