// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAnnotationHostLayer.hpp"
#include "plot/CPTFill.hpp"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class CPTAxisLabelGroup;
class CPTAxisSet;
class CPTGridLineGroup;
class CPTPlotGroup;

// The area the data is drawn in. It stacks, bottom up by default: minor grid lines, major
// grid lines, the axes, the plots, the axis labels and the axis titles.
class CPTPlotArea : public CPTAnnotationHostLayer {
public:
    enum class LayerType { MinorGridLines = 0, MajorGridLines, AxisSet, Plots, AxisLabels, AxisTitles };
    using LayerOrder = std::array<LayerType, 6>;

    explicit CPTPlotArea(const CPTRect& frame);
    ~CPTPlotArea() override;

    CPTGridLineGroup* minorGridLineGroup() const { return minorGridLineGroup_.get(); }
    CPTGridLineGroup* majorGridLineGroup() const { return majorGridLineGroup_.get(); }
    CPTAxisSet* axisSet() const { return axisSet_.get(); }
    const std::shared_ptr<CPTAxisSet>& sharedAxisSet() const { return axisSet_; }
    void setAxisSet(std::shared_ptr<CPTAxisSet> axisSet);
    CPTPlotGroup* plotGroup() const { return plotGroup_.get(); }
    CPTAxisLabelGroup* axisLabelGroup() const { return axisLabelGroup_.get(); }
    CPTAxisLabelGroup* axisTitleGroup() const { return axisTitleGroup_.get(); }
    // Creates or drops the grid line, label and title groups as the axes now need them.
    void updateAxisSetLayers();
    CPTAxisLabelGroup* ensureAxisLabelGroup();
    // The grid lines follow the axes' ticks: an axis whose ticks moved calls this.
    void setGridLinesNeedDisplay();
    CPTAxisLabelGroup* ensureAxisTitleGroup();

    const std::optional<CPTFill>& fill() const { return fill_; }
    void setFill(std::optional<CPTFill> fill);

    const LayerOrder& bottomUpLayerOrder() const { return bottomUpLayerOrder_; }
    const std::optional<std::vector<LayerType>>& topDownLayerOrder() const { return topDownLayerOrder_; }
    void setTopDownLayerOrder(std::optional<std::vector<LayerType>> order);

    // Bottom-up order after moving the listed types, first listed topmost, above the rest.
    static LayerOrder layerOrderWithTopDown(const std::vector<LayerType>& topDown);
    // Index among the present groups at which a group of `type` goes.
    static std::size_t indexForLayerType(const LayerOrder& order, const std::array<bool, 6>& present, LayerType type);

    void layoutSublayers() override;
    void renderAsVectorInContext(CPTContext& context) override;
    bool drawsContent() const override { return fill_.has_value(); }
    bool isContentOpaque() const override { return fill_ && fill_->isOpaque(); }

private:
    CPTLayer* groupForType(LayerType type) const;
    void insertGroups();

    std::unique_ptr<CPTGridLineGroup> minorGridLineGroup_;
    std::unique_ptr<CPTGridLineGroup> majorGridLineGroup_;
    std::shared_ptr<CPTAxisSet> axisSet_;
    std::unique_ptr<CPTPlotGroup> plotGroup_;
    std::unique_ptr<CPTAxisLabelGroup> axisLabelGroup_;
    std::unique_ptr<CPTAxisLabelGroup> axisTitleGroup_;
    std::optional<CPTFill> fill_;
    LayerOrder bottomUpLayerOrder_{LayerType::MinorGridLines, LayerType::MajorGridLines, LayerType::AxisSet,
                                   LayerType::Plots,          LayerType::AxisLabels,     LayerType::AxisTitles};
    std::optional<std::vector<LayerType>> topDownLayerOrder_;
};

}  // namespace quorvel
