// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTBorderedLayer.hpp"
#include "plot/CPTLayerAnnotation.hpp"
#include "platform/NotificationCenter.hpp"
#include "plot/CPTTextStyle.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CPTAxisSet;
class CPTPlot;
class CPTPlotAreaFrame;
class CPTPlotSpace;
class CPTTextMetrics;
class CPTTheme;

// The root of a chart's layer tree: owns its plots, its plot spaces and the plot area frame,
// and carries an optional title above the frame.
class CPTGraph : public CPTBorderedLayer {
public:
    static constexpr const char* kNeedsRedrawNotification = "CPTGraphNeedsRedrawNotification";

    ~CPTGraph() override;

    NotificationCenter& notificationCenter() { return notificationCenter_; }

    // Plots.
    std::vector<std::shared_ptr<CPTPlot>> allPlots() const { return plots_; }
    CPTPlot* plotAtIndex(std::size_t index) const;
    CPTPlot* plotWithIdentifier(const std::string& identifier) const;
    void addPlot(std::shared_ptr<CPTPlot> plot);
    void addPlot(std::shared_ptr<CPTPlot> plot, std::shared_ptr<CPTPlotSpace> space);
    void insertPlot(std::shared_ptr<CPTPlot> plot, std::size_t index);
    void insertPlot(std::shared_ptr<CPTPlot> plot, std::size_t index, std::shared_ptr<CPTPlotSpace> space);
    void removePlot(const CPTPlot* plot);
    void removePlotWithIdentifier(const std::string& identifier);

    // Plot spaces; the first is the default one.
    CPTPlotSpace* defaultPlotSpace() const;
    std::shared_ptr<CPTPlotSpace> sharedDefaultPlotSpace() const;
    CPTPlotSpace* plotSpaceAtIndex(std::size_t index) const;
    CPTPlotSpace* plotSpaceWithIdentifier(const std::string& identifier) const;
    std::vector<std::shared_ptr<CPTPlotSpace>> allPlotSpaces() const { return plotSpaces_; }
    void addPlotSpace(std::shared_ptr<CPTPlotSpace> space);
    void removePlotSpace(const CPTPlotSpace* space);

    CPTPlotAreaFrame* plotAreaFrame() const { return plotAreaFrame_.get(); }
    CPTAxisSet* axisSet() const;
    void setAxisSet(std::shared_ptr<CPTAxisSet> axisSet);

    // Title, shown as an annotation anchored on the plot area frame.
    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    const CPTTextStyle& titleTextStyle() const { return titleTextStyle_; }
    void setTitleTextStyle(const CPTTextStyle& style);
    const CPTPoint& titleDisplacement() const { return titleDisplacement_; }
    void setTitleDisplacement(const CPTPoint& displacement);
    CPTRectAnchor titlePlotAreaFrameAnchor() const { return titlePlotAreaFrameAnchor_; }
    void setTitlePlotAreaFrameAnchor(CPTRectAnchor anchor);
    CPTLayerAnnotation* titleAnnotation() const { return titleAnnotation_; }

    // Styling in one call; nullptr changes nothing.
    void applyTheme(const CPTTheme* theme);

    void reloadData();
    void reloadDataIfNeeded();
    // The metrics every text of the graph is measured with; none: the fixed ones. Text already
    // laid out is measured again.
    void setTextMetrics(std::shared_ptr<const CPTTextMetrics> metrics);
    bool hasTextMetrics() const { return textMetrics_ != nullptr; }
    // Re-measures every text layer of the tree that measured with other metrics.
    void refitTextLayers();

    void setPaddingLeft(double value) override;
    void setPaddingTop(double value) override;
    void setPaddingRight(double value) override;
    void setPaddingBottom(double value) override;

    // Relabels every axis, then lays out the tree until it is settled.
    void layoutGraph();
    void layoutAndRenderInContext(CPTContext& context) override;

protected:
    explicit CPTGraph(const CPTRect& frame);
    const CPTTextMetrics* ownTextMetrics() const override { return textMetrics_.get(); }
    // Builds the default plot space and the axis set; called by concrete graphs once constructed.
    void createDefaultContents();
    virtual std::shared_ptr<CPTPlotSpace> newPlotSpace() = 0;
    virtual std::shared_ptr<CPTAxisSet> newAxisSet() = 0;

private:
    void plotSpaceMappingDidChange(const CPTPlotSpace* space);
    void markAxesForDisplay();

    NotificationCenter notificationCenter_;
    std::shared_ptr<const CPTTextMetrics> textMetrics_;
    std::vector<std::shared_ptr<CPTPlot>> plots_;
    std::vector<std::shared_ptr<CPTPlotSpace>> plotSpaces_;
    std::map<const CPTPlotSpace*, NotificationCenter::Registration> spaceObservations_;
    std::unique_ptr<CPTPlotAreaFrame> plotAreaFrame_;
    std::optional<std::string> title_;
    CPTTextStyle titleTextStyle_;
    CPTPoint titleDisplacement_;
    CPTRectAnchor titlePlotAreaFrameAnchor_ = CPTRectAnchor::Top;
    CPTLayerAnnotation* titleAnnotation_ = nullptr;
};

}  // namespace quorvel
