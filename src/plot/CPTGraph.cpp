// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTGraph.hpp"

#include "plot/CPTAxis.hpp"
#include "plot/CPTAxisSet.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTPlot.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTPlotGroup.hpp"
#include "plot/CPTPlotSpace.hpp"
#include "plot/CPTSetIfChanged.hpp"
#include "plot/CPTTextLayer.hpp"
#include "plot/CPTTheme.hpp"

#include <algorithm>
#include <functional>

namespace quorvel {

namespace {

constexpr double kDefaultPadding = 20.0;
constexpr int kMaxLayoutPasses = 8;

void forEachLayer(CPTLayer* layer, const std::function<void(CPTLayer*)>& visit)
{
    visit(layer);
    const auto children = layer->sublayers();
    for (CPTLayer* sublayer : children) {
        forEachLayer(sublayer, visit);
    }
}

}  // namespace

CPTGraph::CPTGraph(const CPTRect& frame) : CPTBorderedLayer(frame)
{
    CPTLayer::setPaddingLeft(kDefaultPadding);
    CPTLayer::setPaddingTop(kDefaultPadding);
    CPTLayer::setPaddingRight(kDefaultPadding);
    CPTLayer::setPaddingBottom(kDefaultPadding);
    setGraph(this);
    plotAreaFrame_ = std::make_unique<CPTPlotAreaFrame>(bounds());
    plotAreaFrame_->setGraph(this);
    plotAreaFrame_->plotArea()->setGraph(this);
    addSublayer(plotAreaFrame_.get());
}

CPTGraph::~CPTGraph()
{
    removeAllAnnotations();
    titleAnnotation_ = nullptr;
    for (auto& plot : plots_) {
        plot->setPlotSpace(nullptr);
        plot->setGraph(nullptr);
        plot->removeFromSuperlayer();
    }
    spaceObservations_.clear();
    for (auto& space : plotSpaces_) {
        space->setGraph(nullptr);
    }
}

void CPTGraph::createDefaultContents()
{
    addPlotSpace(newPlotSpace());
    setAxisSet(newAxisSet());
}

CPTPlot* CPTGraph::plotAtIndex(std::size_t index) const
{
    return index < plots_.size() ? plots_[index].get() : nullptr;
}

CPTPlot* CPTGraph::plotWithIdentifier(const std::string& identifier) const
{
    const auto it = std::find_if(plots_.begin(), plots_.end(),
                                 [&identifier](const auto& plot) { return plot->identifier() == identifier; });
    return it == plots_.end() ? nullptr : it->get();
}

void CPTGraph::addPlot(std::shared_ptr<CPTPlot> plot)
{
    addPlot(std::move(plot), sharedDefaultPlotSpace());
}

void CPTGraph::addPlot(std::shared_ptr<CPTPlot> plot, std::shared_ptr<CPTPlotSpace> space)
{
    insertPlot(std::move(plot), plots_.size(), std::move(space));
}

void CPTGraph::insertPlot(std::shared_ptr<CPTPlot> plot, std::size_t index)
{
    insertPlot(std::move(plot), index, sharedDefaultPlotSpace());
}

void CPTGraph::insertPlot(std::shared_ptr<CPTPlot> plot, std::size_t index, std::shared_ptr<CPTPlotSpace> space)
{
    if (!plot) {
        return;
    }
    index = std::min(index, plots_.size());
    CPTPlot* raw = plot.get();
    plots_.insert(plots_.begin() + static_cast<std::ptrdiff_t>(index), std::move(plot));
    raw->setPlotSpace(std::move(space));
    raw->setGraph(this);
    plotAreaFrame_->plotGroup()->insertPlot(raw, index);
}

void CPTGraph::removePlot(const CPTPlot* plot)
{
    const auto it = std::find_if(plots_.begin(), plots_.end(), [plot](const auto& p) { return p.get() == plot; });
    if (plot == nullptr || it == plots_.end()) {
        throw CPTException("Tried to remove CPTPlot which did not exist.");
    }
    const std::shared_ptr<CPTPlot> keep = *it;
    keep->setPlotSpace(nullptr);
    keep->setGraph(nullptr);
    plotAreaFrame_->plotGroup()->removePlot(keep.get());
    plots_.erase(it);
}

void CPTGraph::removePlotWithIdentifier(const std::string& identifier)
{
    if (CPTPlot* plot = plotWithIdentifier(identifier)) {
        removePlot(plot);
    }
}

CPTPlotSpace* CPTGraph::defaultPlotSpace() const
{
    return plotSpaces_.empty() ? nullptr : plotSpaces_.front().get();
}

std::shared_ptr<CPTPlotSpace> CPTGraph::sharedDefaultPlotSpace() const
{
    return plotSpaces_.empty() ? nullptr : plotSpaces_.front();
}

CPTPlotSpace* CPTGraph::plotSpaceAtIndex(std::size_t index) const
{
    return index < plotSpaces_.size() ? plotSpaces_[index].get() : nullptr;
}

CPTPlotSpace* CPTGraph::plotSpaceWithIdentifier(const std::string& identifier) const
{
    const auto it = std::find_if(plotSpaces_.begin(), plotSpaces_.end(),
                                 [&identifier](const auto& space) { return space->identifier() == identifier; });
    return it == plotSpaces_.end() ? nullptr : it->get();
}

void CPTGraph::addPlotSpace(std::shared_ptr<CPTPlotSpace> space)
{
    if (!space) {
        return;
    }
    const CPTPlotSpace* raw = space.get();
    space->setGraph(this);
    plotSpaces_.push_back(std::move(space));
    spaceObservations_[raw] = notificationCenter_.addObserver(
        CPTPlotSpace::kCoordinateMappingDidChangeNotification,
        [this](const Notification& n) { plotSpaceMappingDidChange(static_cast<const CPTPlotSpace*>(n.object)); }, raw);
}

void CPTGraph::removePlotSpace(const CPTPlotSpace* space)
{
    const auto it = std::find_if(plotSpaces_.begin(), plotSpaces_.end(),
                                 [space](const auto& s) { return s.get() == space; });
    if (space == nullptr || it == plotSpaces_.end()) {
        throw CPTException("Tried to remove CPTPlotSpace which did not exist.");
    }
    spaceObservations_.erase(space);
    (*it)->setGraph(nullptr);
    if (CPTAxisSet* axes = axisSet()) {
        for (CPTAxis* axis : axes->axes()) {
            if (axis->plotSpace() == space) {
                axis->setPlotSpace(nullptr);
            }
        }
    }
    plotSpaces_.erase(it);
}

CPTAxisSet* CPTGraph::axisSet() const
{
    return plotAreaFrame_->axisSet();
}

void CPTGraph::setAxisSet(std::shared_ptr<CPTAxisSet> axisSet)
{
    if (axisSet) {
        axisSet->setGraph(this);
    }
    plotAreaFrame_->setAxisSet(std::move(axisSet));
}

void CPTGraph::setTitle(std::optional<std::string> title)
{
    if (title == title_) {
        return;
    }
    title_ = std::move(title);
    if (!title_) {
        if (titleAnnotation_ != nullptr) {
            removeAnnotation(titleAnnotation_);
            titleAnnotation_ = nullptr;
        }
        return;
    }
    if (titleAnnotation_ == nullptr) {
        auto annotation = std::make_unique<CPTLayerAnnotation>(plotAreaFrame_.get());
        annotation->setContentLayer(std::make_unique<CPTTextLayer>(*title_, titleTextStyle_));
        annotation->setDisplacement(titleDisplacement_);
        annotation->setRectAnchor(titlePlotAreaFrameAnchor_);
        titleAnnotation_ = static_cast<CPTLayerAnnotation*>(addAnnotation(std::move(annotation)));
    } else {
        static_cast<CPTTextLayer*>(titleAnnotation_->contentLayer())->setText(*title_);
        titleAnnotation_->positionContentLayer();  // only the title moves; the rest stays drawn
    }
}

void CPTGraph::setTitleTextStyle(const CPTTextStyle& style)
{
    titleTextStyle_ = style;
    if (titleAnnotation_ != nullptr) {
        static_cast<CPTTextLayer*>(titleAnnotation_->contentLayer())->setTextStyle(style);
        titleAnnotation_->positionContentLayer();
    }
}

void CPTGraph::setTitleDisplacement(const CPTPoint& displacement)
{
    if (CPTSetIfChanged(titleDisplacement_, displacement)) {
        if (titleAnnotation_ != nullptr) {
            titleAnnotation_->setDisplacement(displacement);
        }
    }
}

void CPTGraph::setTitlePlotAreaFrameAnchor(CPTRectAnchor anchor)
{
    if (CPTSetIfChanged(titlePlotAreaFrameAnchor_, anchor)) {
        if (titleAnnotation_ != nullptr) {
            titleAnnotation_->setRectAnchor(anchor);
        }
    }
}

void CPTGraph::applyTheme(const CPTTheme* theme)
{
    if (theme != nullptr) {
        theme->applyThemeToGraph(*this);
    }
}

void CPTGraph::reloadData()
{
    for (auto& plot : plots_) {
        plot->reloadData();
    }
}

void CPTGraph::reloadDataIfNeeded()
{
    for (auto& plot : plots_) {
        plot->reloadDataIfNeeded();
    }
}

void CPTGraph::setTextMetrics(std::shared_ptr<const CPTTextMetrics> metrics)
{
    if (metrics != textMetrics_) {
        textMetrics_ = std::move(metrics);
        refitTextLayers();
        setNeedsLayout();
        setNeedsDisplay();
    }
}

void CPTGraph::refitTextLayers()
{
    forEachLayer(this, [](CPTLayer* layer) {
        if (auto* text = dynamic_cast<CPTTextLayer*>(layer)) {
            text->refitIfMetricsChanged();
        }
    });
}

void CPTGraph::markAxesForDisplay()
{
    if (CPTAxisSet* axes = axisSet()) {
        for (CPTAxis* axis : axes->axes()) {
            axis->setNeedsDisplay();
        }
    }
}

void CPTGraph::setPaddingLeft(double value)
{
    if (value != paddingLeft()) {
        CPTLayer::setPaddingLeft(value);
        markAxesForDisplay();
    }
}

void CPTGraph::setPaddingTop(double value)
{
    if (value != paddingTop()) {
        CPTLayer::setPaddingTop(value);
        markAxesForDisplay();
    }
}

void CPTGraph::setPaddingRight(double value)
{
    if (value != paddingRight()) {
        CPTLayer::setPaddingRight(value);
        markAxesForDisplay();
    }
}

void CPTGraph::setPaddingBottom(double value)
{
    if (value != paddingBottom()) {
        CPTLayer::setPaddingBottom(value);
        markAxesForDisplay();
    }
}

void CPTGraph::plotSpaceMappingDidChange(const CPTPlotSpace* space)
{
    if (CPTAxisSet* axes = axisSet()) {
        for (CPTAxis* axis : axes->axes()) {
            if (axis->plotSpace() == space) {
                axis->setNeedsRelabel();
            }
        }
    }
    for (auto& plot : plots_) {
        if (plot->plotSpace() == space) {
            plot->setNeedsDisplay();
        }
    }
}

void CPTGraph::layoutGraph()
{
    refitTextLayers();
    reloadDataIfNeeded();
    for (int pass = 0; pass < kMaxLayoutPasses && layoutIfNeeded(); ++pass) {
    }
}

void CPTGraph::layoutAndRenderInContext(CPTContext& context)
{
    if (CPTAxisSet* axes = axisSet()) {
        axes->relabelAxes();
    }
    layoutGraph();
    renderTree(context);
}

}  // namespace quorvel
