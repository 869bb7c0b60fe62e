// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Decimal.hpp"
#include "plot/CPTAlignment.hpp"
#include "plot/CPTCoordinate.hpp"
#include "plot/CPTLayer.hpp"
#include "plot/CPTLineStyle.hpp"
#include "plot/CPTPlotRange.hpp"
#include "plot/CPTScaleType.hpp"
#include "plot/CPTSign.hpp"
#include "plot/CPTTextStyle.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quorvel {

class CPTAxisDelegate;
class CPTAxisLabel;
class CPTAxisTitle;
class CPTPlotArea;
class CPTPlotSpace;

enum class CPTAxisLabelingPolicy { None = 0, LocationsProvided = 1, FixedInterval = 2 };

// An axis: its line and ticks, the tick locations made from its plot space's range, labels at
// the major ticks (made by the axis or handed over to its delegate) and a title. Labels and the
// title live in the plot area's label and title groups, above the plots.
class CPTAxis : public CPTLayer {
public:
    using LabelFormatter = std::function<std::string(const Decimal&)>;
    using Labels = std::vector<std::unique_ptr<CPTAxisLabel>>;

    explicit CPTAxis(const CPTRect& frame = {});
    ~CPTAxis() override;

    CPTCoordinate coordinate() const { return coordinate_; }
    virtual void setCoordinate(CPTCoordinate coordinate);
    CPTPlotSpace* plotSpace() const { return plotSpace_.get(); }
    void setPlotSpace(std::shared_ptr<CPTPlotSpace> space);
    CPTAxisLabelingPolicy labelingPolicy() const { return labelingPolicy_; }
    void setLabelingPolicy(CPTAxisLabelingPolicy policy);
    const Decimal& majorIntervalLength() const { return majorIntervalLength_; }
    void setMajorIntervalLength(const Decimal& length);
    unsigned minorTicksPerInterval() const { return minorTicksPerInterval_; }
    void setMinorTicksPerInterval(unsigned count);
    const Decimal& labelingOrigin() const { return labelingOrigin_; }
    void setLabelingOrigin(const Decimal& origin);
    CPTSign tickDirection() const { return tickDirection_; }
    void setTickDirection(CPTSign direction);
    double majorTickLength() const { return majorTickLength_; }
    void setMajorTickLength(double length);
    double minorTickLength() const { return minorTickLength_; }
    void setMinorTickLength(double length);

    const std::optional<CPTLineStyle>& axisLineStyle() const { return axisLineStyle_; }
    void setAxisLineStyle(std::optional<CPTLineStyle> style);
    const std::optional<CPTLineStyle>& majorTickLineStyle() const { return majorTickLineStyle_; }
    void setMajorTickLineStyle(std::optional<CPTLineStyle> style);
    const std::optional<CPTLineStyle>& minorTickLineStyle() const { return minorTickLineStyle_; }
    void setMinorTickLineStyle(std::optional<CPTLineStyle> style);
    const std::optional<CPTLineStyle>& majorGridLineStyle() const { return majorGridLineStyle_; }
    void setMajorGridLineStyle(std::optional<CPTLineStyle> style);
    const std::optional<CPTLineStyle>& minorGridLineStyle() const { return minorGridLineStyle_; }
    void setMinorGridLineStyle(std::optional<CPTLineStyle> style);

    const std::optional<CPTTextStyle>& labelTextStyle() const { return labelTextStyle_; }
    void setLabelTextStyle(std::optional<CPTTextStyle> style);
    const std::optional<CPTTextStyle>& minorTickLabelTextStyle() const { return minorTickLabelTextStyle_; }
    void setMinorTickLabelTextStyle(std::optional<CPTTextStyle> style);
    const LabelFormatter& labelFormatter() const { return labelFormatter_; }
    void setLabelFormatter(LabelFormatter formatter);
    const LabelFormatter& minorTickLabelFormatter() const { return minorTickLabelFormatter_; }
    void setMinorTickLabelFormatter(LabelFormatter formatter);
    double labelOffset() const { return labelOffset_; }
    void setLabelOffset(double offset);
    double minorTickLabelOffset() const { return minorTickLabelOffset_; }
    void setMinorTickLabelOffset(double offset);
    double labelRotation() const { return labelRotation_; }
    void setLabelRotation(double radians);
    CPTAlignment labelAlignment() const { return labelAlignment_; }
    void setLabelAlignment(CPTAlignment alignment);
    const std::vector<CPTPlotRange>& labelExclusionRanges() const { return labelExclusionRanges_; }
    void setLabelExclusionRanges(std::vector<CPTPlotRange> ranges);
    const std::optional<CPTPlotRange>& visibleRange() const { return visibleRange_; }
    void setVisibleRange(std::optional<CPTPlotRange> range);

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    const std::optional<CPTTextStyle>& titleTextStyle() const { return titleTextStyle_; }
    void setTitleTextStyle(std::optional<CPTTextStyle> style);
    double titleOffset() const { return titleOffset_; }
    void setTitleOffset(double offset);
    double titleRotation() const { return titleRotation_; }
    void setTitleRotation(double radians);
    // The stored location, or by default the middle of the axis range.
    Decimal titleLocation() const;
    void setTitleLocation(const Decimal& location);
    // Created on first use from the title; nullptr without a title.
    CPTAxisTitle* axisTitle();

    const std::set<Decimal>& majorTickLocations() const { return majorTickLocations_; }
    void setMajorTickLocations(std::set<Decimal> locations);
    const std::set<Decimal>& minorTickLocations() const { return minorTickLocations_; }
    void setMinorTickLocations(std::set<Decimal> locations);
    const Labels& axisLabels() const { return axisLabels_; }
    void setAxisLabels(Labels labels);
    const Labels& minorTickAxisLabels() const { return minorTickAxisLabels_; }

    bool needsRelabel() const { return needsRelabel_; }
    void setNeedsRelabel();
    void relabel();
    CPTAxisDelegate* delegate() const { return delegate_; }
    void setDelegate(CPTAxisDelegate* delegate) { delegate_ = delegate; }
    CPTPlotArea* plotArea() const { return plotArea_; }
    void setPlotArea(CPTPlotArea* plotArea);

    // Axis-layer point of a value along the axis.
    virtual CPTPoint viewPointForCoordinateDecimalNumber(const Decimal& value) const = 0;
    // Draws major or minor grid lines in the coordinates of `layer`.
    virtual void drawGridLinesInContext(CPTContext& context, bool major, const CPTLayer* layer) const = 0;
    // The axis range limited to the visible range.
    std::optional<CPTPlotRange> visibleAxisRange() const;

    void layoutSublayers() override;

protected:
    CPTCoordinate orthogonalCoordinate() const;

private:
    // What the line and ticks were last laid out for.
    struct DrawnGeometry {
        unsigned tickVersion;
        std::optional<CPTPlotRange> xRange;
        std::optional<CPTPlotRange> yRange;
        CPTScaleType xScale = CPTScaleType::Linear;
        CPTScaleType yScale = CPTScaleType::Linear;
        CPTRect plotArea;
        bool operator==(const DrawnGeometry&) const = default;
    };
    DrawnGeometry currentGeometry() const;
    // What fixed-interval ticks were last placed from.
    struct TickInputs {
        std::optional<CPTPlotRange> range;
        Decimal interval;
        Decimal origin;
        unsigned minorTicksPerInterval;
        std::vector<CPTPlotRange> exclusions;
        bool operator==(const TickInputs&) const = default;
    };

    void updateAxisLabelsAtLocations(const std::set<Decimal>& locations, const std::optional<CPTPlotRange>& range,
                                     bool major);
    void makeLabels(const std::set<Decimal>& locations, const std::optional<CPTPlotRange>& range, bool major);
    void installLabelLayers(const Labels& labels);
    void positionLabels(Labels& labels, bool hideOutsideRange);
    void positionTitle();
    void installTitleLayer();

    CPTCoordinate coordinate_ = CPTCoordinate::X;
    std::shared_ptr<CPTPlotSpace> plotSpace_;
    CPTAxisLabelingPolicy labelingPolicy_ = CPTAxisLabelingPolicy::FixedInterval;
    Decimal majorIntervalLength_ = Decimal::fromInteger(1);
    unsigned minorTicksPerInterval_ = 1;
    Decimal labelingOrigin_;
    CPTSign tickDirection_ = CPTSign::None;
    double majorTickLength_ = 5.0;
    double minorTickLength_ = 3.0;
    std::optional<CPTLineStyle> axisLineStyle_ = CPTLineStyle::lineStyle();
    std::optional<CPTLineStyle> majorTickLineStyle_ = CPTLineStyle::lineStyle();
    std::optional<CPTLineStyle> minorTickLineStyle_ = CPTLineStyle::lineStyle();
    std::optional<CPTLineStyle> majorGridLineStyle_;
    std::optional<CPTLineStyle> minorGridLineStyle_;
    std::optional<CPTTextStyle> labelTextStyle_ = CPTTextStyle::textStyle();
    std::optional<CPTTextStyle> minorTickLabelTextStyle_ = CPTTextStyle::textStyle();
    LabelFormatter labelFormatter_;
    LabelFormatter minorTickLabelFormatter_;
    bool labelFormatterChanged_ = true;
    double labelOffset_ = 2.0;
    double minorTickLabelOffset_ = 2.0;
    double labelRotation_ = 0.0;
    CPTAlignment labelAlignment_ = CPTAlignment::Center;
    std::vector<CPTPlotRange> labelExclusionRanges_;
    std::optional<CPTPlotRange> visibleRange_;
    std::optional<std::string> title_;
    std::optional<CPTTextStyle> titleTextStyle_ = CPTTextStyle::textStyle();
    double titleOffset_ = 30.0;
    double titleRotation_;
    Decimal titleLocation_ = Decimal::notANumber();
    std::unique_ptr<CPTAxisTitle> axisTitle_;
    std::set<Decimal> majorTickLocations_;
    std::set<Decimal> minorTickLocations_;
    Labels axisLabels_;
    Labels minorTickAxisLabels_;
    bool needsRelabel_ = true;
    std::optional<DrawnGeometry> drawnGeometry_;
    unsigned tickVersion_ = 0;  // counts changes of the tick locations
    std::optional<TickInputs> fixedTickInputs_;
    CPTAxisDelegate* delegate_ = nullptr;
    CPTPlotArea* plotArea_ = nullptr;
};

}  // namespace quorvel
