// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTLayerCompositor.hpp"
#include "platform/NotificationCenter.hpp"
#include "plot/CPTRect.hpp"

#include <functional>
#include <memory>

namespace quorvel {

class CPTContext;
class CPTGraph;

// Hosts one graph in a view-sized area. This is the toolkit-free half of the chart widget:
// the screen wraps it, forwards its size and scale, calls drawInContext() when it paints, and
// queues a paint whenever the needs-display handler fires.
//
// Not collapsed (the default), every layer keeps a backing store and only layers marked as
// needing display are redrawn, and the view keeps the composite of the static layers between
// paints (see CPTLayerCompositor); collapsed, the whole tree is drawn as vectors on every paint.
class CPTGraphHostingView {
public:
    explicit CPTGraphHostingView(const CPTRect& frame = {});
    ~CPTGraphHostingView();
    CPTGraphHostingView(const CPTGraphHostingView&) = delete;
    CPTGraphHostingView& operator=(const CPTGraphHostingView&) = delete;

    const std::shared_ptr<CPTGraph>& hostedGraph() const { return hostedGraph_; }
    void setHostedGraph(std::shared_ptr<CPTGraph> graph);
    bool collapsesLayers() const { return collapsesLayers_; }
    void setCollapsesLayers(bool collapse);
    bool allowPinchScaling() const { return allowPinchScaling_; }
    void setAllowPinchScaling(bool allow) { allowPinchScaling_ = allow; }

    const CPTRect& frame() const { return frame_; }
    void setFrame(const CPTRect& frame);
    CPTRect bounds() const { return CPTRect{{0.0, 0.0}, frame_.size}; }
    void setBounds(const CPTRect& bounds);
    // Device pixels per point of the screen (0 or less counts as 1).
    double screenScale() const { return screenScale_; }
    void setScreenScale(double scale);

    // Called whenever the view needs repainting.
    void setNeedsDisplayHandler(std::function<void()> handler) { needsDisplayHandler_ = std::move(handler); }

    // Paints the view into `context`, whose user space is the view's own (points, origin at the
    // top left, y down) mapped onto the device at `screenScale()`.
    void drawInContext(CPTContext& context);
    // Paints every layer as vectors regardless of the mode (for vector file output).
    void drawVectorsInContext(CPTContext& context);

private:
    void renewObservation();
    void setNeedsDisplay();
    void prepareGraph();

    std::shared_ptr<CPTGraph> hostedGraph_;
    bool collapsesLayers_ = false;
    bool allowPinchScaling_ = true;
    CPTRect frame_;
    double screenScale_ = 1.0;
    std::function<void()> needsDisplayHandler_;
    NotificationCenter::Registration redrawObservation_;
    CPTLayerCompositor compositor_;
};

}  // namespace quorvel
