// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAffineTransform.hpp"
#include "plot/CPTBackingStore.hpp"
#include "plot/CPTRect.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {


class CPTContext;
class CPTGraph;
class CPTTextMetrics;

// A node of the drawing tree. Geometry has its origin at the lower left and y growing up.
// The tree holds non-owning pointers: whoever creates a layer owns it, and a layer leaves the
// tree (and lets go of its sublayers) when it is destroyed, so no pointer outlives its layer.
//
// Each layer that draws something keeps its own backing store, covering what it draws, and is
// redrawn into it only when marked as needing display; compositing the tree draws the stores.
// Collapsed rendering instead draws every layer's vectors straight into one context.
class CPTLayer {
public:
    CPTLayer() = default;
    explicit CPTLayer(const CPTRect& frame);
    virtual ~CPTLayer();
    CPTLayer(const CPTLayer&) = delete;
    CPTLayer& operator=(const CPTLayer&) = delete;

    // Geometry.
    const CPTRect& bounds() const { return bounds_; }
    virtual void setBounds(const CPTRect& bounds);
    const CPTPoint& position() const { return position_; }
    void setPosition(const CPTPoint& position);
    const CPTPoint& anchorPoint() const { return anchorPoint_; }
    void setAnchorPoint(const CPTPoint& anchorPoint);
    const CPTAffineTransform& transform() const { return transform_; }
    void setTransform(const CPTAffineTransform& transform);
    CPTRect frame() const;
    void setFrame(const CPTRect& frame);
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    bool needsDisplayOnBoundsChange() const { return needsDisplayOnBoundsChange_; }
    void setNeedsDisplayOnBoundsChange(bool flag) { needsDisplayOnBoundsChange_ = flag; }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool flag) { masksToBounds_ = flag; }

    // Padding insets the sublayers.
    double paddingLeft() const { return paddingLeft_; }
    double paddingTop() const { return paddingTop_; }
    double paddingRight() const { return paddingRight_; }
    double paddingBottom() const { return paddingBottom_; }
    virtual void setPaddingLeft(double value);
    virtual void setPaddingTop(double value);
    virtual void setPaddingRight(double value);
    virtual void setPaddingBottom(double value);
    bool masksToBorder() const { return masksToBorder_; }
    void setMasksToBorder(bool flag);

    CPTGraph* graph() const { return graph_; }
    virtual void setGraph(CPTGraph* graph) { graph_ = graph; }
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    double contentsScale() const { return contentsScale_; }
    void setContentsScale(double scale);
    bool useFastRendering() const { return useFastRendering_; }

    // Tree.
    CPTLayer* superlayer() const { return superlayer_; }
    const std::vector<CPTLayer*>& sublayers() const { return sublayers_; }
    void addSublayer(CPTLayer* layer);
    void insertSublayer(CPTLayer* layer, std::size_t index);
    void removeFromSuperlayer();
    CPTAffineTransform transformToSuperlayer() const;
    CPTPoint convertPointToLayer(const CPTPoint& point, const CPTLayer* target) const;
    CPTPoint convertPointFromLayer(const CPTPoint& point, const CPTLayer* source) const;
    // The metrics text in this layer is measured with: those of the nearest layer up the tree
    // that has its own (a graph given them), else the fixed ones.
    const CPTTextMetrics& textMetrics() const;

    // Layout.
    void setNeedsLayout();
    bool needsLayout() const { return needsLayout_; }
    // Lays out this layer (when marked) and then its sublayers; true when anything ran.
    bool layoutIfNeeded();
    virtual void layoutSublayers();
    virtual std::vector<const CPTLayer*> sublayersExcludedFromAutomaticLayout() const { return {}; }
    // Left, top, right, bottom insets of the sublayers.
    virtual void sublayerMargins(double& left, double& top, double& right, double& bottom) const;
    // Moves the position so the layer's origin lies on whole device pixels.
    void pixelAlign();

    // Display.
    void setNeedsDisplay();
    bool needsDisplay() const { return needsDisplay_ || needsDisplayForNewData_; }
    // Marks this layer and every layer below it, as when everything must be drawn afresh.
    void setNeedsDisplayInTree();
    virtual void renderAsVectorInContext(CPTContext& context);
    void drawInContext(CPTContext& context);
    // Whether renderAsVectorInContext paints anything: layers that only hold others answer
    // false and get no backing store.
    virtual bool drawsContent() const { return true; }
    // The part of the bounds the layer's drawing can touch; its backing store covers only that.
    virtual CPTRect contentBounds() const { return bounds_; }
    // Whether the drawing paints every point of contentBounds() with opaque colour.
    virtual bool isContentOpaque() const { return false; }
    // When this layer clips its sublayers: true, with the clip's extent in `rect` and whether
    // the clip is exactly that rectangle.
    virtual bool sublayerMask(CPTRect& rect, bool& rectangular) const;
    // Whether the content changes far more often than that of the layers around it (a plot
    // changes with its data): compositing keeps it, and what is below it, apart.
    virtual bool changesOften() const { return false; }
    // Draws every layer's vectors straight into `context`, user space as above.
    void renderTree(CPTContext& context);
    // Collapsed hosting: lay out, then render every layer's vectors recursively.
    virtual void layoutAndRenderInContext(CPTContext& context);
    const CPTBackingStore* backingStore() const { return backingStore_.get(); }
    // How often a display of the layer took place: drawing it into its backing store, or
    // finding that it has nothing to show.
    unsigned displayCount() const { return displayCount_; }
    // What the last display into the backing store drew, in layer space: the whole store, or
    // the part that new data changed (empty when it changed nothing drawn).
    const CPTRect& lastDisplayedRect() const { return lastDisplayedRect_; }

    // Called (on the root of a tree) whenever anything in the tree needs layout or display.
    void setTreeChangeHandler(std::function<void()> handler) { treeChangeHandler_ = std::move(handler); }

protected:
    virtual const CPTTextMetrics* ownTextMetrics() const { return nullptr; }
    // The layer was just placed under a superlayer (its text metrics may have changed).
    virtual void didMoveToSuperlayer() {}
    // `rect` grown to whole pixels of the layer's image and cut to the image of the bounds, so
    // a store covering only it puts every drawn point on the same pixel as a full one would.
    CPTRect pixelRectWithinBounds(const CPTRect& rect) const;
    // Clips `context` for drawing the sublayers, when this layer masks them.
    virtual void applySublayerMaskToContext(CPTContext& context) const;
    virtual void boundsSizeDidChange() {}  // for layers whose content follows their size
    void notifyTreeChanged();
    // Marks the content as changed by new data alone. Unless something else marks the layer as
    // well, its next display asks changedByNewData() and draws just that part into its store.
    void setNeedsDisplayForNewData();
    // For a display due to new data alone: the layer-space rectangle whose drawing differs from
    // what the store holds (empty when nothing does), or nothing when all must be drawn again.
    virtual std::optional<CPTRect> changedByNewData() { return std::nullopt; }
    // The store now holds the layer's drawing; a layer answering changedByNewData() notes it.
    virtual void storeWasDrawn() {}

private:
    friend class CPTLayerCompositor;

    // The rectangle the next composite shows: the store's, or the content's when a redraw is due.
    CPTRect pendingContentRect() const;
    // Whether a redraw into a store of `rect` is due, and whether that store would be opaque.
    bool displayIsDue(const CPTRect& rect) const;
    bool storeWouldBeOpaque(const CPTRect& rect) const;
    // Draws into the store (made for `rect`, or kept when it holds `rect`) when due; answers
    // the rectangle the store covers.
    CPTRect displayIfNeeded(const CPTRect& rect, CPTContext& factory);
    // Nothing to show (no content, or hidden behind opaque layers): the mark is served and the
    // store let go, so the layer is drawn afresh once it shows.
    void displayNothing();
    // Draws all of the layer into its store, kept when it suits `rect`, else made anew.
    void displayWhole(const CPTRect& rect, CPTContext& factory);
    // Draws only what new data changed into the kept store (grown to `rect` when the content
    // grew past it); false when all must be drawn.
    bool redrawChangedPart(const CPTRect& rect, CPTContext& factory);
    void detachSublayers();
    CPTAffineTransform transformToRoot(const CPTLayer** root) const;

    CPTRect bounds_;
    CPTPoint position_;
    CPTPoint anchorPoint_{0.5, 0.5};
    CPTAffineTransform transform_;
    double cornerRadius_ = 0.0;
    bool hidden_ = false;
    bool needsDisplayOnBoundsChange_ = false;
    bool masksToBounds_ = false;
    double paddingLeft_ = 0.0;
    double paddingTop_ = 0.0;
    double paddingRight_ = 0.0;
    double paddingBottom_ = 0.0;
    bool masksToBorder_ = false;
    CPTGraph* graph_ = nullptr;
    std::string identifier_;
    double contentsScale_ = 1.0;
    bool useFastRendering_ = false;

    CPTLayer* superlayer_ = nullptr;
    std::vector<CPTLayer*> sublayers_;
    bool needsLayout_ = true;
    bool needsDisplay_ = true;
    bool needsDisplayForNewData_ = false;
    CPTRect lastDisplayedRect_;
    bool boundsChangedSinceDisplay_ = true;
    std::unique_ptr<CPTBackingStore> backingStore_;
    unsigned displayCount_ = 0;
    std::function<void()> treeChangeHandler_;
};

}  // namespace quorvel
