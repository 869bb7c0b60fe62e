// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAffineTransform.hpp"
#include "plot/CPTBackingStore.hpp"
#include "plot/CPTRect.hpp"

#include <memory>
#include <set>
#include <vector>

namespace quorvel {

class CPTContext;
class CPTLayer;

// Paints a layer tree from its backing stores, redrawing the stores that are due on the way.
//
// It works in device pixels. A layer hidden behind an opaque layer painted above it (the graph's
// background under the plot area frame's solid fill) is neither drawn nor composited: its mark
// is served and its store let go, so it is drawn afresh once something shows it again.
//
// The static layers (all but the plots, and any that keeps changing on its own) are composited
// once into one device-space image, kept between paints while none of them changes or moves, so
// a data reload composites that image and the plots. A static layer painted above a plot joins
// the image only when it touches no pixel of anything composited on its own before it, so the
// order of every overlapping pair is kept and the result is the same as painting in order.
class CPTLayerCompositor {
public:
    // Composites `root` into `context`, whose user space is the root's superlayer space; the
    // context also makes the backing stores.
    void composite(CPTLayer& root, CPTContext& context);
    // Lets go of the kept image (another tree is shown, say).
    void reset();

    // A layer redrawn on its own this many times while the rest of the image stayed the same is
    // composited on its own from then on.
    static constexpr unsigned kChangesBeforeAlone = 2;

private:
    // A device-space rectangle as pixel edges.
    struct Box {
        double x0 = 0.0;
        double y0 = 0.0;
        double x1 = 0.0;
        double y1 = 0.0;
        bool contains(const Box& other) const;
        bool intersects(const Box& other) const;
        Box intersected(const Box& other) const;
        Box united(const Box& other) const;
        bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
        bool operator==(const Box&) const = default;
    };
    // The clip sublayers are drawn under: its extent, and whether it is exactly that box.
    struct Clip {
        Box box;
        bool bounded = false;
        bool exact = true;
        bool operator==(const Clip&) const = default;
    };
    // Painting goes: layers below the kept image, the image's layers, the layers above it.
    enum class Pass { Below, Cached, Above };
    struct Item {
        CPTLayer* layer;
        CPTRect rect;  // layer space: what its store covers
        CPTAffineTransform toDevice;
        Clip clip;
        Box touched;  // device pixels the store may touch
        Box covered;  // device pixels it paints opaquely (empty when none)
        bool hidden = false;
        bool volatileContent = false;
        Pass pass = Pass::Above;
    };
    // What the kept image was made of: each layer, its drawing and its place.
    struct Entry {
        const CPTLayer* layer;
        unsigned displayCount;
        CPTRect rect;
        CPTAffineTransform toDevice;
        Clip clip;
        bool operator==(const Entry&) const = default;
    };

    void collect(CPTLayer& layer, const CPTAffineTransform& toDevice, const Clip& clip, bool insideVolatile);
    void findHiddenItems();
    void chooseCachedItems();
    std::vector<Entry> cacheEntries() const;
    // Static layers redrawn while the rest of the image stayed put: composited alone from now on.
    bool setApartChangedLayers(const std::vector<Entry>& entries);
    void rebuildCache(CPTLayer& root, CPTContext& context, const CPTAffineTransform& toDevice);
    void paint(CPTLayer& layer, CPTContext& context, Pass pass);
    static Box deviceBox(const CPTAffineTransform& toDevice, const CPTRect& rect);
    static bool isAxisAligned(const CPTAffineTransform& t);

    std::vector<Item> items_;
    std::size_t next_ = 0;
    std::unique_ptr<CPTBackingStore> cache_;
    Box cacheBox_;
    std::vector<Entry> cacheEntries_;
    std::set<const CPTLayer*> alone_;
    std::vector<const CPTLayer*> changedLastTime_;
    unsigned repeatedChanges_ = 0;
};

}  // namespace quorvel
