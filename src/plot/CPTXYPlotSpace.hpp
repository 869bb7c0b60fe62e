// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTPlotSpace.hpp"

namespace quorvel {

// A plot space with one range and one scale type for x and for y.
class CPTXYPlotSpace : public CPTPlotSpace {
public:
    CPTXYPlotSpace() = default;

    const CPTPlotRange& xRange() const { return xRange_; }
    const CPTPlotRange& yRange() const { return yRange_; }
    // A missing range is a caller error; an equal one changes nothing.
    void setXRange(const std::optional<CPTPlotRange>& range);
    void setYRange(const std::optional<CPTPlotRange>& range);
    const std::optional<CPTPlotRange>& globalXRange() const { return globalXRange_; }
    const std::optional<CPTPlotRange>& globalYRange() const { return globalYRange_; }
    void setGlobalXRange(const std::optional<CPTPlotRange>& range);
    void setGlobalYRange(const std::optional<CPTPlotRange>& range);
    CPTScaleType xScaleType() const { return xScaleType_; }
    CPTScaleType yScaleType() const { return yScaleType_; }
    void setXScaleType(CPTScaleType type);
    void setYScaleType(CPTScaleType type);

    std::optional<CPTPlotRange> plotRangeForCoordinate(CPTCoordinate coordinate) const override;
    void setPlotRange(const CPTPlotRange& range, CPTCoordinate coordinate) override;
    CPTScaleType scaleTypeForCoordinate(CPTCoordinate coordinate) const override;
    void setScaleType(CPTScaleType type, CPTCoordinate coordinate) override;

    CPTPoint plotAreaViewPointForPlotPoint(const Decimal& x, const Decimal& y) const override;
    CPTPoint plotAreaViewPointForDoublePrecisionPlotPoint(double x, double y) const override;
    void plotPointForPlotAreaViewPoint(const CPTPoint& point, Decimal& x, Decimal& y) const override;
    void doublePrecisionPlotPointForPlotAreaViewPoint(const CPTPoint& point, double& x, double& y) const override;

    // The range limited to the global range: itself without one, the global range when it is
    // at least as long, else moved (end first, then location) to lie inside it.
    static std::optional<CPTPlotRange> constrainRange(const std::optional<CPTPlotRange>& range,
                                                      const std::optional<CPTPlotRange>& global);
    // View coordinate of a data value along an axis of `length` points.
    static double viewCoordinateForDecimal(const CPTPlotRange* range, double length, const Decimal& value,
                                           CPTScaleType type);
    static double viewCoordinateForDouble(const CPTPlotRange* range, double length, double value, CPTScaleType type);

private:
    void setRange(const std::optional<CPTPlotRange>& range, CPTCoordinate coordinate);
    bool plotAreaSize(double& width, double& height) const;

    CPTPlotRange xRange_{Decimal(), Decimal::fromInteger(1)};
    CPTPlotRange yRange_{Decimal(), Decimal::fromInteger(1)};
    std::optional<CPTPlotRange> globalXRange_;
    std::optional<CPTPlotRange> globalYRange_;
    CPTScaleType xScaleType_ = CPTScaleType::Linear;
    CPTScaleType yScaleType_ = CPTScaleType::Linear;
};

}  // namespace quorvel
