// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTLayerCompositor.hpp"

#include "plot/CPTContext.hpp"
#include "plot/CPTLayer.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

// Device coordinates this close to a whole pixel count as on it.
constexpr double kPixelTolerance = 1e-6;
// No more than this many layers are set apart from the kept image at once.
constexpr std::size_t kMostSetApart = 2;

}  // namespace

bool CPTLayerCompositor::Box::contains(const Box& other) const
{
    return !isEmpty() && x0 <= other.x0 && y0 <= other.y0 && x1 >= other.x1 && y1 >= other.y1;
}

bool CPTLayerCompositor::Box::intersects(const Box& other) const
{
    return !intersected(other).isEmpty();
}

CPTLayerCompositor::Box CPTLayerCompositor::Box::intersected(const Box& other) const
{
    return {std::max(x0, other.x0), std::max(y0, other.y0), std::min(x1, other.x1), std::min(y1, other.y1)};
}

CPTLayerCompositor::Box CPTLayerCompositor::Box::united(const Box& other) const
{
    return {std::min(x0, other.x0), std::min(y0, other.y0), std::max(x1, other.x1), std::max(y1, other.y1)};
}

CPTLayerCompositor::Box CPTLayerCompositor::deviceBox(const CPTAffineTransform& toDevice, const CPTRect& rect)
{
    const CPTPoint corners[] = {toDevice.apply({rect.minX(), rect.minY()}), toDevice.apply({rect.maxX(), rect.minY()}),
                                toDevice.apply({rect.minX(), rect.maxY()}), toDevice.apply({rect.maxX(), rect.maxY()})};
    Box box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const CPTPoint& p : corners) {
        box = box.united({p.x, p.y, p.x, p.y});
    }
    return box;
}

bool CPTLayerCompositor::isAxisAligned(const CPTAffineTransform& t)
{
    return std::fabs(t.b) < kPixelTolerance && std::fabs(t.c) < kPixelTolerance;
}

void CPTLayerCompositor::reset()
{
    cache_.reset();
    cacheEntries_.clear();
    alone_.clear();
    changedLastTime_.clear();
    repeatedChanges_ = 0;
}

void CPTLayerCompositor::composite(CPTLayer& root, CPTContext& context)
{
    items_.clear();
    const CPTAffineTransform toDevice = context.currentTransform();
    collect(root, toDevice, Clip{}, false);
    findHiddenItems();
    // Every store is brought up to date first; the kept image is then checked against them.
    for (Item& item : items_) {
        if (item.hidden) {
            item.layer->displayNothing();
        } else {
            item.rect = item.layer->displayIfNeeded(item.rect, context);
        }
    }
    chooseCachedItems();
    std::vector<Entry> entries = cacheEntries();
    if (entries != cacheEntries_ && setApartChangedLayers(entries)) {
        chooseCachedItems();
        entries = cacheEntries();
    }
    if (entries.empty()) {
        cache_.reset();
        cacheEntries_.clear();
    } else if (entries != cacheEntries_) {
        rebuildCache(root, context, toDevice);
        cacheEntries_ = std::move(entries);
    }
    next_ = 0;
    paint(root, context, Pass::Below);
    if (cache_) {
        context.saveGState();
        context.concatCTM(toDevice.inverted());
        context.drawBackingStore(*cache_, CPTRect::make(cacheBox_.x0, cacheBox_.y0, cacheBox_.x1 - cacheBox_.x0,
                                                        cacheBox_.y1 - cacheBox_.y0));
        context.restoreGState();
    }
    next_ = 0;
    paint(root, context, Pass::Above);
}

void CPTLayerCompositor::collect(CPTLayer& layer, const CPTAffineTransform& toSuperlayerDevice, const Clip& clip,
                                 bool insideVolatile)
{
    if (layer.isHidden()) {
        return;
    }
    const CPTAffineTransform toDevice = toSuperlayerDevice.after(layer.transformToSuperlayer());
    const bool isVolatile = insideVolatile || layer.changesOften();
    const CPTRect rect = layer.drawsContent() && !layer.bounds().isEmpty() ? layer.pendingContentRect() : CPTRect{};
    if (rect.isEmpty()) {
        layer.displayNothing();
    } else {
        // Compositing fills just the store's rectangle: whole pixels it reaches, partly or fully.
        const Box box = deviceBox(toDevice, rect);
        Item item{&layer,
                  rect,
                  toDevice,
                  clip,
                  {std::floor(box.x0 + kPixelTolerance), std::floor(box.y0 + kPixelTolerance),
                   std::ceil(box.x1 - kPixelTolerance), std::ceil(box.y1 - kPixelTolerance)},
                  {},
                  false,
                  isVolatile,
                  Pass::Above};
        const bool opaque = layer.displayIsDue(rect) ? layer.storeWouldBeOpaque(rect)
                                                     : layer.backingStore()->isOpaque();
        if (opaque && clip.exact && isAxisAligned(toDevice)) {
            // Only whole pixels inside both the store and the clip are certainly painted over.
            item.covered = {std::ceil(box.x0 - kPixelTolerance), std::ceil(box.y0 - kPixelTolerance),
                            std::floor(box.x1 + kPixelTolerance), std::floor(box.y1 + kPixelTolerance)};
            if (clip.bounded) {
                item.covered = item.covered.intersected(clip.box);
            }
        }
        items_.push_back(item);
    }
    Clip inner = clip;
    CPTRect maskRect;
    bool rectangular = true;
    if (!layer.sublayers().empty() && layer.sublayerMask(maskRect, rectangular)) {
        const Box box = deviceBox(toDevice, maskRect);
        const Box whole{std::ceil(box.x0 - kPixelTolerance), std::ceil(box.y0 - kPixelTolerance),
                        std::floor(box.x1 + kPixelTolerance), std::floor(box.y1 + kPixelTolerance)};
        inner.box = clip.bounded ? clip.box.intersected(whole) : whole;
        inner.bounded = true;
        inner.exact = clip.exact && rectangular && isAxisAligned(toDevice);
    }
    for (CPTLayer* sublayer : layer.sublayers()) {
        collect(*sublayer, toDevice, inner, isVolatile);
    }
}

void CPTLayerCompositor::findHiddenItems()
{
    // Walk down from the topmost item, collecting what the opaque ones paint over.
    std::vector<Box> covers;
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        it->hidden = std::any_of(covers.begin(), covers.end(),
                                 [&it](const Box& cover) { return cover.contains(it->touched); });
        if (!it->covered.isEmpty()) {
            covers.push_back(it->covered);
        }
    }
}

void CPTLayerCompositor::chooseCachedItems()
{
    // The image starts with an opaque static layer: compositing it then replaces what lies
    // below exactly as painting its layers one by one would.
    const auto base = std::find_if(items_.begin(), items_.end(), [this](const Item& item) {
        return !item.hidden && !item.volatileContent && !alone_.contains(item.layer) && !item.covered.isEmpty();
    });
    std::vector<Box> apart;  // what is composited on its own, painted before the current item
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        it->pass = base != items_.end() && it < base ? Pass::Below : Pass::Above;
        if (it->hidden) {
            continue;
        }
        const bool canJoin = base != items_.end() && it >= base && !it->volatileContent &&
                             !alone_.contains(it->layer) && it->clip.exact && base->covered.contains(it->touched) &&
                             std::none_of(apart.begin(), apart.end(),
                                          [&it](const Box& box) { return box.intersects(it->touched); });
        if (canJoin) {
            it->pass = Pass::Cached;
        } else if (base != items_.end() && it > base) {
            apart.push_back(it->touched);
        }
    }
    if (base != items_.end()) {
        cacheBox_ = base->covered;
    }
}

std::vector<CPTLayerCompositor::Entry> CPTLayerCompositor::cacheEntries() const
{
    std::vector<Entry> entries;
    for (const Item& item : items_) {
        if (item.pass == Pass::Cached) {
            entries.push_back({item.layer, item.layer->displayCount(), item.rect, item.toDevice, item.clip});
        }
    }
    return entries;
}

bool CPTLayerCompositor::setApartChangedLayers(const std::vector<Entry>& entries)
{
    // Only a few layers redrawn, everything else the same and in place.
    std::vector<const CPTLayer*> changed;
    bool samePlaces = entries.size() == cacheEntries_.size();
    for (std::size_t i = 0; samePlaces && i < entries.size(); ++i) {
        const Entry& now = entries[i];
        const Entry& before = cacheEntries_[i];
        samePlaces = now.layer == before.layer && now.toDevice == before.toDevice && now.clip == before.clip;
        if (samePlaces && now.displayCount != before.displayCount) {
            changed.push_back(now.layer);
        }
    }
    if (!samePlaces || changed.empty() || changed.size() > kMostSetApart || changed.size() == entries.size()) {
        changedLastTime_.clear();
        repeatedChanges_ = 0;
        return false;
    }
    repeatedChanges_ = changed == changedLastTime_ ? repeatedChanges_ + 1 : 1;
    changedLastTime_ = changed;
    if (repeatedChanges_ < kChangesBeforeAlone) {
        return false;
    }
    alone_.insert(changed.begin(), changed.end());
    changedLastTime_.clear();
    repeatedChanges_ = 0;
    return true;
}

void CPTLayerCompositor::rebuildCache(CPTLayer& root, CPTContext& context, const CPTAffineTransform& toDevice)
{
    const CPTRect area = CPTRect::make(cacheBox_.x0, cacheBox_.y0, cacheBox_.x1 - cacheBox_.x0,
                                       cacheBox_.y1 - cacheBox_.y0);
    if (!cache_ || cache_->bounds() != area) {
        cache_ = context.newBackingStore(area, 1.0, true, CPTBackingStore::Space::YDown);
    } else {
        cache_->clear();  // opaque: the base layer paints every pixel
    }
    // The image's space is device space, offset to the box: what the target would receive.
    CPTContext& image = cache_->context();
    image.saveGState();
    image.concatCTM(toDevice);
    next_ = 0;
    paint(root, image, Pass::Cached);
    image.restoreGState();
}

void CPTLayerCompositor::paint(CPTLayer& layer, CPTContext& context, Pass pass)
{
    if (layer.isHidden()) {
        return;
    }
    context.saveGState();
    context.concatCTM(layer.transformToSuperlayer());
    if (next_ < items_.size() && items_[next_].layer == &layer) {
        const Item& item = items_[next_++];
        if (!item.hidden && item.pass == pass) {
            context.drawBackingStore(*layer.backingStore(), item.rect);
        }
    }
    if (!layer.sublayers().empty()) {
        layer.applySublayerMaskToContext(context);
        for (CPTLayer* sublayer : layer.sublayers()) {
            paint(*sublayer, context, pass);
        }
    }
    context.restoreGState();
}

}  // namespace quorvel
