#include "plot/CPTLayerCompositor.hpp"

#include "plot/CPTBackingStore.hpp"
#include "plot/CPTContext.hpp"
#include "plot/CPTLayer.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

// Device coordinates this close to a whole pixel count as on it.
constexpr double kPixelTolerance = 1e-6;

}  // namespace

bool CPTLayerCompositor::Box::contains(const Box& other) const
{
    return !isEmpty() && x0 <= other.x0 && y0 <= other.y0 && x1 >= other.x1 && y1 >= other.y1;
}

CPTLayerCompositor::Box CPTLayerCompositor::Box::intersected(const Box& other) const
{
    return {std::max(x0, other.x0), std::max(y0, other.y0), std::min(x1, other.x1), std::min(y1, other.y1)};
}

CPTLayerCompositor::Box CPTLayerCompositor::deviceBox(const CPTAffineTransform& toDevice, const CPTRect& rect)
{
    const CPTPoint corners[] = {toDevice.apply({rect.minX(), rect.minY()}), toDevice.apply({rect.maxX(), rect.minY()}),
                                toDevice.apply({rect.minX(), rect.maxY()}), toDevice.apply({rect.maxX(), rect.maxY()})};
    Box box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const CPTPoint& p : corners) {
        box.x0 = std::min(box.x0, p.x);
        box.y0 = std::min(box.y0, p.y);
        box.x1 = std::max(box.x1, p.x);
        box.y1 = std::max(box.y1, p.y);
    }
    return box;
}

bool CPTLayerCompositor::isAxisAligned(const CPTAffineTransform& t)
{
    return std::fabs(t.b) < kPixelTolerance && std::fabs(t.c) < kPixelTolerance;
}

void CPTLayerCompositor::composite(CPTLayer& root)
{
    items_.clear();
    next_ = 0;
    collect(root, context_.currentTransform(), Clip{});
    findHiddenItems();
    paint(root);
}

void CPTLayerCompositor::collect(CPTLayer& layer, const CPTAffineTransform& toSuperlayerDevice, const Clip& clip)
{
    if (layer.isHidden()) {
        return;
    }
    const CPTAffineTransform toDevice = toSuperlayerDevice.after(layer.transformToSuperlayer());
    const CPTRect rect = layer.drawsContent() && !layer.bounds().isEmpty() ? layer.pendingContentRect() : CPTRect{};
    if (rect.isEmpty()) {
        layer.displayNothing();
    } else {
        // Compositing fills just the store's rectangle: whole pixels it reaches, partly or fully.
        const Box box = deviceBox(toDevice, rect);
        Item item{&layer, rect,
                  {std::floor(box.x0 + kPixelTolerance), std::floor(box.y0 + kPixelTolerance),
                   std::ceil(box.x1 - kPixelTolerance), std::ceil(box.y1 - kPixelTolerance)},
                  {}, false};
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
        collect(*sublayer, toDevice, inner);
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

void CPTLayerCompositor::paint(CPTLayer& layer)
{
    if (layer.isHidden()) {
        return;
    }
    context_.saveGState();
    context_.concatCTM(layer.transformToSuperlayer());
    if (next_ < items_.size() && items_[next_].layer == &layer) {
        const Item& item = items_[next_++];
        if (item.hidden) {
            layer.displayNothing();
        } else {
            layer.displayIfNeeded(item.rect, context_);
            context_.drawBackingStore(*layer.backingStore(), item.rect);
        }
    }
    if (!layer.sublayers().empty()) {
        layer.applySublayerMaskToContext(context_);
        for (CPTLayer* sublayer : layer.sublayers()) {
            paint(*sublayer);
        }
    }
    context_.restoreGState();
}

}  // namespace quorvel
