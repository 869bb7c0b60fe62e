// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTRect.hpp"

#include <functional>

namespace quorvel {

class CPTContext;

// A layer's offscreen image, kept between frames so unchanged layers are not redrawn.
class CPTBackingStore {
public:
    // Which way y runs in the space of bounds(): up in layer and symbol space, down in a view's
    // device space. Either way the image's first row is what a view shows at the top.
    enum class Space { YUp, YDown };

    virtual ~CPTBackingStore() = default;
    // Drawing context mapping the layer-space `bounds()` onto the image.
    virtual CPTContext& context() = 0;
    virtual const CPTRect& bounds() const = 0;
    virtual double scale() const = 0;
    virtual Space space() const = 0;
    // An opaque image has no alpha: whoever draws into it paints every pixel.
    virtual bool isOpaque() const = 0;
    // Resets the drawing state and, unless the image is opaque, makes every pixel transparent.
    virtual void clear() = 0;
    // Paints part of a finished image again: `draw` gets a context mapping layer space like
    // context(), and what it paints inside `rect` (on whole pixels of the image, within
    // bounds()) replaces those pixels; every pixel outside keeps what it holds. False, and
    // nothing drawn, when the image cannot do this: the caller then draws it all again.
    virtual bool redrawPart(const CPTRect& /*rect*/, const std::function<void(CPTContext&)>& /*draw*/)
    {
        return false;
    }
    // Makes this new image show what the finished image `other`, of the same scale and lying
    // inside it on whole pixels, shows; the rest stays transparent. False when it cannot.
    virtual bool copyPixelsOf(const CPTBackingStore& /*other*/) { return false; }
};

}  // namespace quorvel
