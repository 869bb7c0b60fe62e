// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTBackingStore.hpp"
#include "plot/cairo/CPTCairoContext.hpp"
#include "plot/cairo/CPTCairoHandles.hpp"

#include <memory>

namespace quorvel {

// A layer image: an image surface whose context maps the bounds onto it. Its rows run in view
// order (the first row is what a view shows at the top), so compositing it into a view is a
// plain copy: a y-up space is drawn through a flipping transform, as the view itself would.
// Opaque images are RGB24: they need no clearing, as their layer paints every pixel.
class CPTCairoBackingStore : public CPTBackingStore {
public:
    CPTCairoBackingStore(const CPTRect& bounds, double scale, bool opaque, Space space);

    CPTContext& context() override { return *context_; }
    const CPTRect& bounds() const override { return bounds_; }
    double scale() const override { return scale_; }
    Space space() const override { return space_; }
    bool isOpaque() const override { return opaque_; }
    void clear() override;
    // Draws the part into an image of its own, on the same pixel grid, and copies that in.
    bool redrawPart(const CPTRect& rect, const std::function<void(CPTContext&)>& draw) override;
    bool copyPixelsOf(const CPTBackingStore& other) override;

    cairo_surface_t* surface() const { return surface_.get(); }

private:
    // Whole pixels of the image that `rect` (in the bounds' space) touches, cut to the image.
    struct PixelBox {
        int x0, y0, x1, y1;
    };
    PixelBox pixelBox(const CPTRect& rect) const;
    // The bounds' space onto the image's pixels.
    cairo_matrix_t toImage() const;
    // Puts `image` over this one's pixels with its first pixel at (x, y), replacing them.
    void replacePixels(cairo_surface_t* image, int x, int y);
    void resetContext();

    CPTRect bounds_;
    double scale_;
    bool opaque_;
    Space space_;
    CairoSurfaceHandle surface_;
    std::unique_ptr<CPTCairoContext> context_;
};

}  // namespace quorvel
