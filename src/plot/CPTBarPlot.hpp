// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTFill.hpp"
#include "plot/CPTLineStyle.hpp"
#include "plot/CPTPlot.hpp"
#include "plot/CPTPlotRange.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

// One bar per record, from a location and a tip (and optionally a per-record base).
class CPTBarPlot : public CPTPlot {
public:
    enum Field : unsigned { BarLocation = 0, BarTip = 1, BarBase = 2 };

    CPTBarPlot();
    // Bars with a gradient across their width (left to right for vertical bars), a 1-point
    // outline and rounded tips.
    static std::shared_ptr<CPTBarPlot> tubularBarPlotWithColor(const CPTColor& start, const CPTColor& end,
                                                               const CPTColor& lineColor, bool horizontalBars);

    const std::optional<CPTLineStyle>& lineStyle() const { return lineStyle_; }
    void setLineStyle(std::optional<CPTLineStyle> style);
    const std::optional<CPTFill>& fill() const { return fill_; }
    void setFill(std::optional<CPTFill> fill);
    const Decimal& barWidth() const { return barWidth_; }
    void setBarWidth(const Decimal& width);
    double barWidthScale() const { return barWidthScale_; }
    void setBarWidthScale(double scale);
    bool barWidthsAreInViewCoordinates() const { return barWidthsAreInViewCoordinates_; }
    void setBarWidthsAreInViewCoordinates(bool flag);
    const Decimal& barOffset() const { return barOffset_; }
    void setBarOffset(const Decimal& offset);
    double barOffsetScale() const { return barOffsetScale_; }
    void setBarOffsetScale(double scale);
    double barCornerRadius() const { return barCornerRadius_; }
    void setBarCornerRadius(double radius);
    const Decimal& baseValue() const { return baseValue_; }
    void setBaseValue(const Decimal& value);
    bool barsAreHorizontal() const { return barsAreHorizontal_; }
    void setBarsAreHorizontal(bool flag);
    bool barBasesVary() const { return barBasesVary_; }
    void setBarBasesVary(bool flag);
    const std::optional<CPTPlotRange>& plotRange() const { return plotRange_; }
    void setPlotRange(std::optional<CPTPlotRange> range);

    // A data length along the location axis in points, and back.
    double lengthInView(const Decimal& length) const;
    Decimal lengthInPlotCoordinates(double length) const;
    double doubleLengthInPlotCoordinates(double length) const;

    // Base and tip of the bar of record `index` in this layer; false when the record has no bar.
    bool barAtRecordIndex(std::size_t index, CPTPoint& basePoint, CPTPoint& tipPoint) const;
    bool barIsVisibleWithBasePoint(const CPTPoint& basePoint) const;
    // Adds the outline of one bar to the context's path.
    void addBarPath(CPTContext& context, CPTPoint basePoint, CPTPoint tipPoint) const;
    std::optional<CPTFill> barFillForIndex(std::size_t index);
    std::optional<CPTLineStyle> barLineStyleForIndex(std::size_t index);
    void drawBarInContext(CPTContext& context, std::size_t index);

    void reloadDataInIndexRange(CPTIndexRange range) override;
    void renderAsVectorInContext(CPTContext& context) override;
    // The bars with room for their outline.
    CPTRect contentBounds() const override;

protected:
    // New data redraws only the bars that changed.
    std::optional<CPTRect> changedByNewData() override;
    void storeWasDrawn() override;

private:
    // One bar as drawn: enough to tell whether new data changed it.
    struct DrawnBar {
        CPTPoint base;
        CPTPoint tip;
        CPTRect extent;  // what its drawing can touch; empty when the record shows no bar
        std::optional<CPTFill> fill;
        std::optional<CPTLineStyle> outline;
        bool operator==(const DrawnBar&) const = default;
    };
    std::vector<DrawnBar> drawnBars();
    // Calls visit(index, base, tip, extent) for each bar shown, extent being what its drawing
    // can touch.
    template <typename Visit>
    void forEachVisibleBar(Visit visit) const;
    // How far an outline, aligned to pixels and antialiased, reaches past a bar's edges.
    double outlineMargin() const;
    // What stays put while all bars are drawn, worked out once (in exact decimals) per drawing.
    struct DrawingLengths {
        double halfWidth;
        double offset;
        double base;
        CPTPoint visibleLower;
        CPTPoint visibleUpper;
    };
    DrawingLengths drawingLengths() const;
    // Runs `work` with the drawing lengths worked out, then forgets them (they go stale).
    template <typename Work>
    void withDrawingLengths(Work work) const;
    // Whether to draw at all: both fields there, of one length.
    bool hasBarsToDraw() const;
    double halfBarWidthInView() const;
    CPTPoint viewPoint(double location, double value) const;
    CPTPoint viewPoint(const Decimal& location, const Decimal& value) const;
    CPTPoint alignedPoint(const CPTContext& context, const CPTPoint& point) const;

    std::optional<CPTLineStyle> lineStyle_ = CPTLineStyle::lineStyle();
    std::optional<CPTFill> fill_ = CPTFill::fillWithColor(CPTColor::blackColor());
    Decimal barWidth_ = Decimal::fromString("0.5");
    double barWidthScale_ = 1.0;
    bool barWidthsAreInViewCoordinates_ = false;
    Decimal barOffset_;
    double barOffsetScale_ = 1.0;
    double barCornerRadius_ = 0.0;
    Decimal baseValue_;
    bool barsAreHorizontal_ = false;
    bool barBasesVary_ = false;
    std::optional<CPTPlotRange> plotRange_;
    mutable std::optional<DrawingLengths> drawing_;
    std::optional<std::vector<DrawnBar>> barsInStore_;
};

}  // namespace quorvel
