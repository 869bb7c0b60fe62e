#pragma once

#include "plot/CPTRect.hpp"

namespace quorvel {

class CPTContext;

// A layer's offscreen image, kept between frames so unchanged layers are not redrawn.
class CPTBackingStore {
public:
    virtual ~CPTBackingStore() = default;
    // Drawing context mapping the layer's bounds onto the image.
    virtual CPTContext& context() = 0;
    virtual const CPTRect& bounds() const = 0;
    virtual double scale() const = 0;
    // Makes every pixel transparent and resets the drawing state.
    virtual void clear() = 0;
};

}  // namespace quorvel
