#pragma once

#include "plot/CPTAffineTransform.hpp"
#include "plot/CPTBackingStore.hpp"
#include "plot/CPTRect.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {


class CPTContext;
class CPTGraph;

// A node of the drawing tree. Geometry has its origin at the lower left and y growing up.
// The tree holds non-owning pointers: whoever creates a layer owns it, and a layer leaves the
// tree (and lets go of its sublayers) when it is destroyed, so no pointer outlives its layer.
//
// Each layer keeps its own backing store and is redrawn into it only when marked as needing
// display; compositing the tree draws the stores. Collapsed rendering instead draws every
// layer's vectors straight into one context.
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
    bool needsDisplay() const { return needsDisplay_; }
    virtual void renderAsVectorInContext(CPTContext& context);
    void drawInContext(CPTContext& context);
    // Redraws every layer of the tree that is marked (or whose store no longer fits) into its
    // backing store, making stores with `factory`.
    void displayTreeIfNeeded(CPTContext& factory);
    // Draws the tree's backing stores (or, when `asVectors`, each layer's vectors) into `context`,
    // whose user space is this layer's superlayer space.
    void renderTree(CPTContext& context, bool asVectors);
    // Collapsed hosting: lay out, then render every layer's vectors recursively.
    virtual void layoutAndRenderInContext(CPTContext& context);
    const CPTBackingStore* backingStore() const { return backingStore_.get(); }
    // How often the layer has been drawn into its backing store.
    unsigned displayCount() const { return displayCount_; }

    // Called (on the root of a tree) whenever anything in the tree needs layout or display.
    void setTreeChangeHandler(std::function<void()> handler) { treeChangeHandler_ = std::move(handler); }

protected:
    // Clips `context` for drawing the sublayers, when this layer masks them.
    virtual void applySublayerMaskToContext(CPTContext& context) const;
    virtual void boundsSizeDidChange() {}
    void notifyTreeChanged();

private:
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
    std::unique_ptr<CPTBackingStore> backingStore_;
    unsigned displayCount_ = 0;
    std::function<void()> treeChangeHandler_;
};

}  // namespace quorvel
