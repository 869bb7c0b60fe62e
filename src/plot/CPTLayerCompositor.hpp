#pragma once

#include "plot/CPTAffineTransform.hpp"
#include "plot/CPTRect.hpp"

#include <vector>

namespace quorvel {

class CPTContext;
class CPTLayer;

// Paints a layer tree from its backing stores, redrawing the stores that are due on the way.
//
// Before painting, it works out in device pixels which layers are hidden behind an opaque layer
// painted above them (a bordered layer's solid fill, say, over the graph's own background).
// Those are neither drawn nor composited: their mark is served and their store let go, so they
// are drawn afresh once something shows them again. Layers without content of their own have
// no store and cost nothing.
class CPTLayerCompositor {
public:
    // `context` makes the stores and receives the composite; its user space is the root's
    // superlayer space.
    explicit CPTLayerCompositor(CPTContext& context) : context_(context) {}

    void composite(CPTLayer& root);

private:
    // A device-space rectangle as pixel edges.
    struct Box {
        double x0 = 0.0;
        double y0 = 0.0;
        double x1 = 0.0;
        double y1 = 0.0;
        bool contains(const Box& other) const;
        Box intersected(const Box& other) const;
        bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
    };
    // The clip sublayers are drawn under: its extent, and whether it is exactly that box.
    struct Clip {
        Box box;
        bool bounded = false;
        bool exact = true;
    };
    struct Item {
        CPTLayer* layer;
        CPTRect rect;       // layer space: what its store covers
        Box touched;        // device pixels the store may touch
        Box covered;        // device pixels it paints opaquely (empty when none)
        bool hidden = false;
    };

    void collect(CPTLayer& layer, const CPTAffineTransform& toDevice, const Clip& clip);
    void findHiddenItems();
    void paint(CPTLayer& layer);
    static Box deviceBox(const CPTAffineTransform& toDevice, const CPTRect& rect);
    static bool isAxisAligned(const CPTAffineTransform& t);

    CPTContext& context_;
    std::vector<Item> items_;
    std::size_t next_ = 0;
};

}  // namespace quorvel
