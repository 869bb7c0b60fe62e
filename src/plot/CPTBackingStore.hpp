#pragma once

#include "plot/CPTRect.hpp"

namespace quorvel {

class CPTContext;

// A layer's offscreen image, kept between frames so unchanged layers are not redrawn.
class CPTBackingStore {
public:
    virtual ~CPTBackingStore() = default;
    // Drawing context mapping the layer-space `bounds()` onto the image.
    virtual CPTContext& context() = 0;
    virtual const CPTRect& bounds() const = 0;
    virtual double scale() const = 0;
    // An opaque image has no alpha: whoever draws into it paints every pixel.
    virtual bool isOpaque() const = 0;
    // Resets the drawing state and, unless the image is opaque, makes every pixel transparent.
    virtual void clear() = 0;
    // Drawing is done until the next clear: the image may now arrange itself for being
    // composited into a view, whose y grows downward.
    virtual void finishDrawing() {}
};

}  // namespace quorvel
