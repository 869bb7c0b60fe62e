// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTGraphHostingView.hpp"

#include "plot/CPTContext.hpp"
#include "plot/CPTGraph.hpp"
#include "plot/CPTSetIfChanged.hpp"

namespace quorvel {

CPTGraphHostingView::CPTGraphHostingView(const CPTRect& frame) : frame_(frame) {}

CPTGraphHostingView::~CPTGraphHostingView()
{
    redrawObservation_.reset();
    if (hostedGraph_) {
        hostedGraph_->setTreeChangeHandler(nullptr);
    }
}

void CPTGraphHostingView::setHostedGraph(std::shared_ptr<CPTGraph> graph)
{
    if (graph == hostedGraph_) {
        return;
    }
    redrawObservation_.reset();
    if (hostedGraph_) {
        hostedGraph_->setTreeChangeHandler(nullptr);
    }
    hostedGraph_ = std::move(graph);
    compositor_.reset();
    if (hostedGraph_) {
        hostedGraph_->setContentsScale(screenScale_);
        hostedGraph_->setTreeChangeHandler([this] { setNeedsDisplay(); });
        if (!collapsesLayers_) {
            hostedGraph_->setFrame(bounds());
        }
    }
    renewObservation();
    setNeedsDisplay();
}

void CPTGraphHostingView::setCollapsesLayers(bool collapse)
{
    if (CPTSetIfChanged(collapsesLayers_, collapse)) {
        if (hostedGraph_ && !collapse) {
            hostedGraph_->setFrame(bounds());
        }
        setNeedsDisplay();
        renewObservation();
    }
}

void CPTGraphHostingView::renewObservation()
{
    redrawObservation_.reset();
    if (hostedGraph_ && collapsesLayers_) {
        redrawObservation_ = hostedGraph_->notificationCenter().addObserver(
            CPTGraph::kNeedsRedrawNotification, [this](const Notification&) { setNeedsDisplay(); }, hostedGraph_.get());
    }
}

void CPTGraphHostingView::setFrame(const CPTRect& frame)
{
    frame_ = frame;
    if (hostedGraph_) {
        hostedGraph_->setNeedsLayout();
        if (!collapsesLayers_) {
            hostedGraph_->setFrame(bounds());
        }
    }
    setNeedsDisplay();
}

void CPTGraphHostingView::setBounds(const CPTRect& bounds)
{
    setFrame(CPTRect{frame_.origin, bounds.size});
}

void CPTGraphHostingView::setScreenScale(double scale)
{
    screenScale_ = scale > 0.0 ? scale : 1.0;
    if (hostedGraph_) {
        hostedGraph_->setContentsScale(screenScale_);
    }
    setNeedsDisplay();
}

void CPTGraphHostingView::setNeedsDisplay()
{
    if (needsDisplayHandler_) {
        needsDisplayHandler_();
    }
}

void CPTGraphHostingView::prepareGraph()
{
    hostedGraph_->setFrame(bounds());
    hostedGraph_->layoutGraph();
}

void CPTGraphHostingView::drawInContext(CPTContext& context)
{
    if (!hostedGraph_) {
        return;
    }
    if (collapsesLayers_) {
        drawVectorsInContext(context);
        return;
    }
    prepareGraph();
    context.saveGState();
    // The layers have y growing upward; the view's y grows downward.
    context.translate(0.0, frame_.size.height);
    context.scale(1.0, -1.0);
    compositor_.composite(*hostedGraph_, context);
    context.restoreGState();
}

void CPTGraphHostingView::drawVectorsInContext(CPTContext& context)
{
    if (!hostedGraph_) {
        return;
    }
    hostedGraph_->setFrame(bounds());
    context.saveGState();
    context.translate(0.0, frame_.size.height);
    context.scale(1.0, -1.0);
    hostedGraph_->layoutAndRenderInContext(context);
    context.restoreGState();
}

}  // namespace quorvel
