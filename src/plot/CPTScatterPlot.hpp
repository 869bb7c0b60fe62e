// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTFill.hpp"
#include "plot/CPTLineStyle.hpp"
#include "plot/CPTPlot.hpp"
#include "plot/CPTPlotSymbol.hpp"

#include <optional>
#include <vector>

namespace quorvel {

// Records drawn as a line through (x, y) points, optionally with the area down to a base value
// filled and a symbol at every point.
class CPTScatterPlot : public CPTPlot {
public:
    enum Field : unsigned { X = 0, Y = 1 };
    enum class Interpolation { Linear = 0, Stepped = 1, Histogram = 2 };

    CPTScatterPlot() = default;

    const std::optional<CPTLineStyle>& dataLineStyle() const { return dataLineStyle_; }
    void setDataLineStyle(std::optional<CPTLineStyle> style);
    Interpolation interpolation() const { return interpolation_; }
    void setInterpolation(Interpolation interpolation);
    const std::optional<CPTPlotSymbol>& plotSymbol() const { return plotSymbol_; }
    void setPlotSymbol(std::optional<CPTPlotSymbol> symbol);
    const std::optional<CPTFill>& areaFill() const { return areaFill_; }
    void setAreaFill(std::optional<CPTFill> fill);
    const std::optional<CPTFill>& areaFill2() const { return areaFill2_; }
    void setAreaFill2(std::optional<CPTFill> fill);
    const Decimal& areaBaseValue() const { return areaBaseValue_; }
    void setAreaBaseValue(const Decimal& value);
    const Decimal& areaBaseValue2() const { return areaBaseValue2_; }
    void setAreaBaseValue2(const Decimal& value);

    // The per-record symbol when the source gave one, else the plot's symbol.
    const CPTPlotSymbol* plotSymbolForRecordIndex(std::size_t index) const;

    // Adds the line through points first..last (a NaN point breaks it). With a numeric
    // baseline each piece is closed down to it, for filling.
    static void addDataLinePath(CPTContext& context, const std::vector<CPTPoint>& points, std::size_t first,
                                std::size_t last, double baselineY, Interpolation interpolation);
    // Which records get drawn: all of them when an area is filled or the line is dashed, else
    // those inside the ranges and their neighbours across the plot area's edge.
    std::vector<bool> recordsToDraw() const;

    void reloadDataInIndexRange(CPTIndexRange range) override;
    void renderAsVectorInContext(CPTContext& context) override;
    // The line, the filled areas and the symbols with room for their outlines.
    CPTRect contentBounds() const override;

protected:
    // New data redraws only around the points that moved.
    std::optional<CPTRect> changedByNewData() override;
    void storeWasDrawn() override;

private:
    // The records as drawn: each one's point in this layer (NaN when not drawn) and the y of
    // every filled area's base line.
    struct DrawnPoints {
        std::vector<CPTPoint> points;
        std::vector<double> baselines;
    };
    // Nothing when a change to one point can alter the drawing far from it.
    std::optional<DrawnPoints> drawnPoints() const;
    // The points and base lines as drawn now; fields there and of one length.
    DrawnPoints pointsAsDrawn() const;
    // What the line, its joins and the symbols reach past the points, with room for alignment.
    double drawingMargin(double symbolReach) const;
    // Whether anything at all is drawn (fields there, something to draw them with).
    bool hasRecordsToDraw() const;
    std::vector<CPTPoint> viewPoints(const CPTContext& context, const std::vector<bool>& drawn) const;
    CPTPoint plotAreaPoint(std::size_t index) const;
    void fillArea(CPTContext& context, const CPTFill& fill, const Decimal& base, const std::vector<CPTPoint>& points,
                  std::size_t first, std::size_t last) const;

    std::optional<CPTLineStyle> dataLineStyle_ = CPTLineStyle::lineStyle();
    Interpolation interpolation_ = Interpolation::Linear;
    std::optional<CPTPlotSymbol> plotSymbol_;
    std::vector<std::optional<CPTPlotSymbol>> plotSymbols_;
    std::optional<CPTFill> areaFill_;
    std::optional<CPTFill> areaFill2_;
    Decimal areaBaseValue_ = Decimal::notANumber();
    Decimal areaBaseValue2_ = Decimal::notANumber();
    std::optional<DrawnPoints> pointsInStore_;
};

}  // namespace quorvel
