// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTLayer.hpp"

#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTBackingStore.hpp"
#include "plot/CPTContext.hpp"
#include "plot/CPTSetIfChanged.hpp"
#include "plot/CPTTextMetrics.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel {

CPTLayer::CPTLayer(const CPTRect& frame)
{
    setFrame(frame);
}

CPTLayer::~CPTLayer()
{
    removeFromSuperlayer();
    detachSublayers();
}

void CPTLayer::detachSublayers()
{
    for (CPTLayer* sublayer : sublayers_) {
        sublayer->superlayer_ = nullptr;
    }
    sublayers_.clear();
}

void CPTLayer::setBounds(const CPTRect& bounds)
{
    if (bounds == bounds_) {
        return;
    }
    const bool sizeChanged = bounds.size != bounds_.size;
    bounds_ = bounds;
    boundsChangedSinceDisplay_ = true;
    if (sizeChanged) {
        boundsSizeDidChange();
        if (needsDisplayOnBoundsChange_) {
            setNeedsDisplay();
        }
    }
    setNeedsLayout();
}

void CPTLayer::setPosition(const CPTPoint& position)
{
    if (CPTSetIfChanged(position_, position)) {
        notifyTreeChanged();
    }
}

void CPTLayer::setAnchorPoint(const CPTPoint& anchorPoint)
{
    if (CPTSetIfChanged(anchorPoint_, anchorPoint)) {
        notifyTreeChanged();
    }
}

void CPTLayer::setTransform(const CPTAffineTransform& transform)
{
    if (!(transform == transform_)) {
        transform_ = transform;
        notifyTreeChanged();
    }
}

CPTRect CPTLayer::frame() const
{
    const CPTAffineTransform t = transformToSuperlayer();
    const CPTPoint corners[] = {t.apply({bounds_.minX(), bounds_.minY()}), t.apply({bounds_.maxX(), bounds_.minY()}),
                                t.apply({bounds_.minX(), bounds_.maxY()}), t.apply({bounds_.maxX(), bounds_.maxY()})};
    double minX = corners[0].x;
    double maxX = corners[0].x;
    double minY = corners[0].y;
    double maxY = corners[0].y;
    for (const auto& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return CPTRect::make(minX, minY, maxX - minX, maxY - minY);
}

void CPTLayer::setFrame(const CPTRect& frame)
{
    setBounds(CPTRect{bounds_.origin, {frame.width(), frame.height()}});
    setPosition({frame.minX() + anchorPoint_.x * frame.width(), frame.minY() + anchorPoint_.y * frame.height()});
}

void CPTLayer::setCornerRadius(double radius)
{
    if (CPTSetIfChanged(cornerRadius_, radius)) {
        setNeedsDisplay();
    }
}

void CPTLayer::setHidden(bool hidden)
{
    if (CPTSetIfChanged(hidden_, hidden)) {
        notifyTreeChanged();
    }
}

void CPTLayer::setPaddingLeft(double value)
{
    if (CPTSetIfChanged(paddingLeft_, value)) {
        setNeedsLayout();
    }
}

void CPTLayer::setPaddingTop(double value)
{
    if (CPTSetIfChanged(paddingTop_, value)) {
        setNeedsLayout();
    }
}

void CPTLayer::setPaddingRight(double value)
{
    if (CPTSetIfChanged(paddingRight_, value)) {
        setNeedsLayout();
    }
}

void CPTLayer::setPaddingBottom(double value)
{
    if (CPTSetIfChanged(paddingBottom_, value)) {
        setNeedsLayout();
    }
}

void CPTLayer::setMasksToBorder(bool flag)
{
    if (CPTSetIfChanged(masksToBorder_, flag)) {
        setNeedsDisplay();
    }
}

void CPTLayer::setContentsScale(double scale)
{
    CPTAssertionFailure::checkParameter(scale > 0.0, "newContentsScale > 0.0", "CPTLayer");
    if (scale == contentsScale_) {
        return;
    }
    contentsScale_ = scale;
    setNeedsDisplay();
    for (CPTLayer* sublayer : sublayers_) {
        sublayer->setContentsScale(scale);
    }
}

void CPTLayer::addSublayer(CPTLayer* layer)
{
    insertSublayer(layer, sublayers_.size());
}

void CPTLayer::insertSublayer(CPTLayer* layer, std::size_t index)
{
    CPTAssertionFailure::checkParameter(layer != nullptr && layer != this, "layer", "CPTLayer");
    layer->removeFromSuperlayer();
    index = std::min(index, sublayers_.size());
    sublayers_.insert(sublayers_.begin() + static_cast<std::ptrdiff_t>(index), layer);
    layer->superlayer_ = this;
    layer->setContentsScale(contentsScale_);
    layer->didMoveToSuperlayer();
    notifyTreeChanged();
}

void CPTLayer::removeFromSuperlayer()
{
    if (superlayer_ == nullptr) {
        return;
    }
    auto& siblings = superlayer_->sublayers_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    CPTLayer* former = superlayer_;
    superlayer_ = nullptr;
    former->notifyTreeChanged();
}

CPTAffineTransform CPTLayer::transformToSuperlayer() const
{
    // p_super = position + T (p - (bounds.origin + anchor * bounds.size))
    const CPTPoint anchorInBounds{bounds_.origin.x + anchorPoint_.x * bounds_.size.width,
                                  bounds_.origin.y + anchorPoint_.y * bounds_.size.height};
    return CPTAffineTransform::translation(position_.x, position_.y)
        .after(transform_)
        .after(CPTAffineTransform::translation(-anchorInBounds.x, -anchorInBounds.y));
}

CPTAffineTransform CPTLayer::transformToRoot(const CPTLayer** root) const
{
    CPTAffineTransform total;
    const CPTLayer* layer = this;
    while (layer->superlayer_ != nullptr) {
        total = layer->transformToSuperlayer().after(total);
        layer = layer->superlayer_;
    }
    *root = layer;
    return total;
}

CPTPoint CPTLayer::convertPointToLayer(const CPTPoint& point, const CPTLayer* target) const
{
    if (target == nullptr || target == this) {
        return point;
    }
    const CPTLayer* rootA = nullptr;
    const CPTLayer* rootB = nullptr;
    const CPTAffineTransform fromThis = transformToRoot(&rootA);
    const CPTAffineTransform fromTarget = target->transformToRoot(&rootB);
    return fromTarget.inverted().apply(fromThis.apply(point));
}

CPTPoint CPTLayer::convertPointFromLayer(const CPTPoint& point, const CPTLayer* source) const
{
    return source == nullptr ? point : source->convertPointToLayer(point, this);
}

void CPTLayer::setNeedsLayout()
{
    needsLayout_ = true;
    notifyTreeChanged();
}

bool CPTLayer::layoutIfNeeded()
{
    bool ran = false;
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSublayers();
        ran = true;
    }
    // Copy: layout may add or remove sublayers (labels, titles).
    const auto children = sublayers_;
    for (CPTLayer* sublayer : children) {
        if (std::find(sublayers_.begin(), sublayers_.end(), sublayer) != sublayers_.end()) {
            ran = sublayer->layoutIfNeeded() || ran;
        }
    }
    return ran;
}

void CPTLayer::sublayerMargins(double& left, double& top, double& right, double& bottom) const
{
    left = paddingLeft_;
    top = paddingTop_;
    right = paddingRight_;
    bottom = paddingBottom_;
}

void CPTLayer::layoutSublayers()
{
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    sublayerMargins(left, top, right, bottom);
    const CPTRect subFrame = CPTRect::make(std::round(left), std::round(bottom),
                                           std::round(std::max(bounds_.width() - left - right, 0.0)),
                                           std::round(std::max(bounds_.height() - top - bottom, 0.0)));
    const auto excluded = sublayersExcludedFromAutomaticLayout();
    for (CPTLayer* sublayer : sublayers_) {
        if (std::find(excluded.begin(), excluded.end(), sublayer) != excluded.end()) {
            continue;
        }
        const CPTRect before = sublayer->frame();
        sublayer->setFrame(subFrame);
        sublayer->setNeedsLayout();
        // A layer draws in its own bounds: moving it alone does not need a redraw.
        if (!(sublayer->frame() == before)) {
            sublayer->setNeedsDisplay();
        }
    }
}

void CPTLayer::pixelAlign()
{
    const double scale = contentsScale_;
    const CPTPoint offset{bounds_.size.width * anchorPoint_.x, bounds_.size.height * anchorPoint_.y};
    CPTPoint aligned{std::round(position_.x * scale) / scale, std::round(position_.y * scale) / scale};
    if (transform_.isIdentity()) {
        // Put the origin, not just the anchor, on whole pixels.
        aligned.x = (std::round((position_.x - offset.x) * scale)) / scale + offset.x;
        aligned.y = (std::round((position_.y - offset.y) * scale)) / scale + offset.y;
    }
    setPosition(aligned);
}

void CPTLayer::setNeedsDisplay()
{
    needsDisplay_ = true;
    notifyTreeChanged();
}

void CPTLayer::setNeedsDisplayForNewData()
{
    needsDisplayForNewData_ = true;
    notifyTreeChanged();
}

void CPTLayer::notifyTreeChanged()
{
    const CPTLayer* root = this;
    while (root->superlayer_ != nullptr) {
        root = root->superlayer_;
    }
    if (root->treeChangeHandler_) {
        root->treeChangeHandler_();
    }
}

void CPTLayer::renderAsVectorInContext(CPTContext& /*context*/)
{
    // A plain layer draws nothing of its own.
}

void CPTLayer::drawInContext(CPTContext& context)
{
    useFastRendering_ = true;
    renderAsVectorInContext(context);
    useFastRendering_ = false;
}

namespace {

// The smallest number of pixels whose width in points is exact (a multiple of a quarter point):
// a store starting that many pixels into the bounds maps every point exactly that many pixels
// away from where a full store would, so rounding to pixels comes out the same. 0 when none is.
int exactPixelStep(double scale)
{
    for (int step = 1; step <= 16; ++step) {
        const double points = step / scale;
        if (points * scale == step && points * 4.0 == std::round(points * 4.0)) {
            return step;
        }
    }
    return 0;
}

}  // namespace

CPTRect CPTLayer::pixelRectWithinBounds(const CPTRect& rect) const
{
    const double s = contentsScale_;
    const int step = exactPixelStep(s);
    if (step == 0) {
        return bounds_;
    }
    const double points = step / s;
    // Whole steps of the bounds' image, cut to that image.
    const double columns = std::ceil(bounds_.width() * s / step);
    const double rows = std::ceil(bounds_.height() * s / step);
    const double x0 = std::clamp(std::floor((rect.minX() - bounds_.minX()) * s / step), 0.0, columns);
    const double x1 = std::clamp(std::ceil((rect.maxX() - bounds_.minX()) * s / step), 0.0, columns);
    const double y0 = std::clamp(std::floor((rect.minY() - bounds_.minY()) * s / step), 0.0, rows);
    const double y1 = std::clamp(std::ceil((rect.maxY() - bounds_.minY()) * s / step), 0.0, rows);
    if (x1 <= x0 || y1 <= y0) {
        return {};
    }
    const double minX = bounds_.minX() + x0 * points;
    const double minY = bounds_.minY() + y0 * points;
    const double maxX = x1 == columns ? bounds_.maxX() : bounds_.minX() + x1 * points;
    const double maxY = y1 == rows ? bounds_.maxY() : bounds_.minY() + y1 * points;
    return CPTRect::make(minX, minY, maxX - minX, maxY - minY);
}

void CPTLayer::setNeedsDisplayInTree()
{
    needsDisplay_ = true;
    for (CPTLayer* sublayer : sublayers_) {
        sublayer->setNeedsDisplayInTree();
    }
    notifyTreeChanged();
}

bool CPTLayer::sublayerMask(CPTRect& rect, bool& rectangular) const
{
    if (!masksToBounds_ && !masksToBorder_) {
        return false;
    }
    rect = bounds_;
    rectangular = true;
    return true;
}

CPTRect CPTLayer::pendingContentRect() const
{
    // Whatever changes the content marks the layer, so an unmarked store still fits.
    if (!needsDisplay() && !boundsChangedSinceDisplay_ && backingStore_ && backingStore_->scale() == contentsScale_) {
        return backingStore_->bounds();
    }
    return contentBounds();
}

bool CPTLayer::storeWouldBeOpaque(const CPTRect& rect) const
{
    // A fractional image size leaves the last row or column partly painted.
    const auto whole = [](double pixels) { return std::fabs(pixels - std::round(pixels)) < 1e-9; };
    return whole(rect.width() * contentsScale_) && whole(rect.height() * contentsScale_) && isContentOpaque();
}

bool CPTLayer::displayIsDue(const CPTRect& rect) const
{
    return needsDisplay() || !backingStore_ || backingStore_->bounds() != rect ||
           backingStore_->scale() != contentsScale_;
}

CPTRect CPTLayer::displayIfNeeded(const CPTRect& rect, CPTContext& factory)
{
    boundsChangedSinceDisplay_ = false;
    if (!displayIsDue(rect)) {
        return rect;
    }
    const bool onlyNewData = !needsDisplay_ && needsDisplayForNewData_;
    if (!onlyNewData || !redrawChangedPart(rect, factory)) {
        displayWhole(rect, factory);
    }
    storeWasDrawn();
    ++displayCount_;
    needsDisplay_ = false;
    needsDisplayForNewData_ = false;
    return backingStore_->bounds();
}

void CPTLayer::displayWhole(const CPTRect& rect, CPTContext& factory)
{
    const bool opaque = storeWouldBeOpaque(rect);
    const bool sameKind =
        backingStore_ && backingStore_->scale() == contentsScale_ && backingStore_->isOpaque() == opaque;
    // Content that shrank or moved a little is drawn into the store it has: what the store holds
    // beyond it stays transparent, so compositing it changes nothing there. Saves making and
    // zeroing a new image each time a plot's extent follows its data.
    const CPTRect& held = sameKind ? backingStore_->bounds() : rect;
    const bool fits = sameKind && !opaque && held.minX() <= rect.minX() && held.minY() <= rect.minY() &&
                      held.maxX() >= rect.maxX() && held.maxY() >= rect.maxY() &&
                      held.width() * held.height() <= 2.0 * rect.width() * rect.height();
    if (sameKind && (held == rect || fits)) {
        backingStore_->clear();
    } else {
        backingStore_ = factory.newBackingStore(rect, contentsScale_, opaque, CPTBackingStore::Space::YUp);
    }
    drawInContext(backingStore_->context());
    lastDisplayedRect_ = backingStore_->bounds();
}

bool CPTLayer::redrawChangedPart(const CPTRect& rect, CPTContext& factory)
{
    const bool opaque = storeWouldBeOpaque(rect);
    if (!backingStore_ || backingStore_->scale() != contentsScale_ || backingStore_->isOpaque() != opaque) {
        return false;
    }
    const std::optional<CPTRect> changed = changedByNewData();
    if (!changed) {
        return false;
    }
    const auto area = [](const CPTRect& r) { return r.width() * r.height(); };
    const CPTRect held = backingStore_->bounds();
    const CPTRect both = held.unitedWith(rect);
    if (area(both) > 2.0 * area(rect) || (opaque && held != rect)) {
        return false;  // far too large a store now, or one that must be painted edge to edge
    }
    if (both != held) {
        // The content grew past the store: a store covering both takes over what this one shows,
        // and what lies outside it can only be what changed.
        auto grown = factory.newBackingStore(both, contentsScale_, false, CPTBackingStore::Space::YUp);
        if (!grown->copyPixelsOf(*backingStore_)) {
            return false;
        }
        backingStore_ = std::move(grown);
    }
    const CPTRect part = changed->isEmpty() ? CPTRect{} : pixelRectWithinBounds(*changed).intersectedWith(both);
    // A part near the size of the whole saves little over drawing it all.
    if (area(part) > 0.5 * area(both)) {
        return false;
    }
    if (!part.isEmpty() && !backingStore_->redrawPart(part, [this](CPTContext& context) { drawInContext(context); })) {
        return false;
    }
    lastDisplayedRect_ = part;
    return true;
}

void CPTLayer::displayNothing()
{
    boundsChangedSinceDisplay_ = false;
    backingStore_.reset();
    if (needsDisplay()) {
        needsDisplay_ = false;
        needsDisplayForNewData_ = false;
        ++displayCount_;
    }
}

void CPTLayer::renderTree(CPTContext& context)
{
    if (hidden_) {
        return;
    }
    context.saveGState();
    context.concatCTM(transformToSuperlayer());
    context.saveGState();
    renderAsVectorInContext(context);
    context.restoreGState();
    applySublayerMaskToContext(context);
    for (CPTLayer* sublayer : sublayers_) {
        sublayer->renderTree(context);
    }
    context.restoreGState();
}

void CPTLayer::layoutAndRenderInContext(CPTContext& context)
{
    layoutIfNeeded();
    renderTree(context);
}

void CPTLayer::applySublayerMaskToContext(CPTContext& context) const
{
    if (masksToBounds_ || masksToBorder_) {
        context.clipToRect(bounds_);
    }
}

const CPTTextMetrics& CPTLayer::textMetrics() const
{
    for (const CPTLayer* layer = this; layer != nullptr; layer = layer->superlayer_) {
        if (const CPTTextMetrics* own = layer->ownTextMetrics()) {
            return *own;
        }
    }
    return CPTTextMetrics::fixed();
}

}  // namespace quorvel
