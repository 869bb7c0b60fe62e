// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPlotArea.hpp"

#include "plot/CPTAxis.hpp"
#include "plot/CPTAxisLabelGroup.hpp"
#include "plot/CPTAxisSet.hpp"
#include "plot/CPTGridLineGroup.hpp"
#include "plot/CPTPlotGroup.hpp"
#include "plot/CPTSetIfChanged.hpp"

#include <algorithm>

namespace quorvel {

CPTPlotArea::CPTPlotArea(const CPTRect& frame) : CPTAnnotationHostLayer(frame)
{
    setNeedsDisplayOnBoundsChange(true);
    plotGroup_ = std::make_unique<CPTPlotGroup>();
    insertGroups();
}

CPTPlotArea::~CPTPlotArea()
{
    if (axisSet_) {
        for (CPTAxis* axis : axisSet_->axes()) {
            axis->setPlotArea(nullptr);
        }
        axisSet_->removeFromSuperlayer();
    }
}

CPTPlotArea::LayerOrder CPTPlotArea::layerOrderWithTopDown(const std::vector<LayerType>& topDown)
{
    LayerOrder defaults{LayerType::MinorGridLines, LayerType::MajorGridLines, LayerType::AxisSet,
                        LayerType::Plots,          LayerType::AxisLabels,     LayerType::AxisTitles};
    std::vector<LayerType> order;
    for (LayerType type : defaults) {
        if (std::find(topDown.begin(), topDown.end(), type) == topDown.end()) {
            order.push_back(type);
        }
    }
    for (auto it = topDown.rbegin(); it != topDown.rend(); ++it) {
        if (std::find(order.begin(), order.end(), *it) == order.end()) {
            order.push_back(*it);
        }
    }
    LayerOrder result = defaults;
    std::copy_n(order.begin(), std::min<std::size_t>(order.size(), 6), result.begin());
    return result;
}

std::size_t CPTPlotArea::indexForLayerType(const LayerOrder& order, const std::array<bool, 6>& present, LayerType type)
{
    std::size_t index = 0;
    for (LayerType below : order) {
        if (below == type) {
            break;
        }
        if (present[static_cast<std::size_t>(below)]) {
            ++index;
        }
    }
    return index;
}

CPTLayer* CPTPlotArea::groupForType(LayerType type) const
{
    switch (type) {
    case LayerType::MinorGridLines:
        return minorGridLineGroup_.get();
    case LayerType::MajorGridLines:
        return majorGridLineGroup_.get();
    case LayerType::AxisSet:
        return axisSet_.get();
    case LayerType::Plots:
        return plotGroup_.get();
    case LayerType::AxisLabels:
        return axisLabelGroup_.get();
    case LayerType::AxisTitles:
        return axisTitleGroup_.get();
    }
    return nullptr;
}

void CPTPlotArea::insertGroups()
{
    std::array<bool, 6> present{};
    for (LayerType type : bottomUpLayerOrder_) {
        if (CPTLayer* group = groupForType(type)) {
            group->removeFromSuperlayer();
        }
    }
    for (LayerType type : bottomUpLayerOrder_) {
        if (CPTLayer* group = groupForType(type)) {
            insertSublayer(group, indexForLayerType(bottomUpLayerOrder_, present, type));
            present[static_cast<std::size_t>(type)] = true;
        }
    }
    setNeedsLayout();
}

void CPTPlotArea::setTopDownLayerOrder(std::optional<std::vector<LayerType>> order)
{
    topDownLayerOrder_ = std::move(order);
    bottomUpLayerOrder_ = layerOrderWithTopDown(topDownLayerOrder_.value_or(std::vector<LayerType>{}));
    insertGroups();
}

void CPTPlotArea::setAxisSet(std::shared_ptr<CPTAxisSet> axisSet)
{
    if (axisSet == axisSet_) {
        return;
    }
    if (axisSet_) {
        for (CPTAxis* axis : axisSet_->axes()) {
            axis->setPlotArea(nullptr);
        }
        axisSet_->removeFromSuperlayer();
    }
    axisSet_ = std::move(axisSet);
    updateAxisSetLayers();
    if (axisSet_) {
        for (CPTAxis* axis : axisSet_->axes()) {
            axis->setPlotArea(this);
        }
    }
    insertGroups();
}

void CPTPlotArea::updateAxisSetLayers()
{
    bool minorGrid = false;
    bool majorGrid = false;
    bool labels = false;
    bool titles = false;
    if (axisSet_) {
        for (const CPTAxis* axis : axisSet_->axes()) {
            minorGrid = minorGrid || axis->minorGridLineStyle().has_value();
            majorGrid = majorGrid || axis->majorGridLineStyle().has_value();
            labels = labels || !axis->axisLabels().empty();
            titles = titles || axis->title().has_value();
        }
    }
    bool changed = false;
    const auto update = [&changed](auto& group, bool needed, auto make) {
        if (needed && !group) {
            group = make();
            changed = true;
        } else if (!needed && group) {
            group.reset();
            changed = true;
        }
    };
    update(majorGridLineGroup_, majorGrid, [this] { return std::make_unique<CPTGridLineGroup>(this, true); });
    update(minorGridLineGroup_, minorGrid, [this] { return std::make_unique<CPTGridLineGroup>(this, false); });
    // Label and title groups are only ever added here; axes drop their own layers from them.
    if (labels && !axisLabelGroup_) {
        axisLabelGroup_ = std::make_unique<CPTAxisLabelGroup>();
        changed = true;
    }
    if (titles && !axisTitleGroup_) {
        axisTitleGroup_ = std::make_unique<CPTAxisLabelGroup>();
        changed = true;
    }
    if (changed) {
        insertGroups();
    }
}

void CPTPlotArea::setGridLinesNeedDisplay()
{
    for (CPTGridLineGroup* group : {minorGridLineGroup_.get(), majorGridLineGroup_.get()}) {
        if (group != nullptr) {
            group->setNeedsDisplay();
        }
    }
}

CPTAxisLabelGroup* CPTPlotArea::ensureAxisLabelGroup()
{
    if (!axisLabelGroup_) {
        axisLabelGroup_ = std::make_unique<CPTAxisLabelGroup>();
        insertGroups();
    }
    return axisLabelGroup_.get();
}

CPTAxisLabelGroup* CPTPlotArea::ensureAxisTitleGroup()
{
    if (!axisTitleGroup_) {
        axisTitleGroup_ = std::make_unique<CPTAxisLabelGroup>();
        insertGroups();
    }
    return axisTitleGroup_.get();
}

void CPTPlotArea::setFill(std::optional<CPTFill> fill)
{
    if (CPTSetIfChanged(fill_, std::move(fill))) {
        setNeedsDisplay();
    }
}

void CPTPlotArea::layoutSublayers()
{
    CPTAnnotationHostLayer::layoutSublayers();
    // Axes, labels and titles may reach into the frame's padding, so their groups cover the
    // whole plot area frame; the plots get exactly the plot area.
    CPTRect groupFrame = bounds();
    if (superlayer() != nullptr) {
        const CPTRect frameBounds = superlayer()->bounds();
        const CPTPoint origin = superlayer()->convertPointToLayer(frameBounds.origin, this);
        groupFrame = CPTRect{origin, frameBounds.size};
    }
    for (LayerType type : bottomUpLayerOrder_) {
        CPTLayer* group = groupForType(type);
        if (group == nullptr) {
            continue;
        }
        group->setFrame(type == LayerType::Plots ? CPTRect{{0, 0}, bounds().size} : groupFrame);
        group->setNeedsLayout();
    }
}

void CPTPlotArea::renderAsVectorInContext(CPTContext& context)
{
    if (isHidden()) {
        return;
    }
    if (fill_) {
        fill_->fillRect(bounds(), context);
    }
}

}  // namespace quorvel
