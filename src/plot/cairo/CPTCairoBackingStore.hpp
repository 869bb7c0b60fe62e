#pragma once

#include "plot/CPTBackingStore.hpp"
#include "plot/cairo/CPTCairoContext.hpp"
#include "plot/cairo/CPTCairoHandles.hpp"

#include <memory>

namespace quorvel {

// A layer image: an image surface whose context maps the layer's bounds onto it (y up, so the
// image's first row is the layer's bottom edge). Opaque images are RGB24: compositing them is a
// plain copy and they need no clearing, as their layer paints every pixel.
//
// Once drawn, the rows are put in view order (first row at the top edge): the view flips the
// layers' y-up space, and compositing a flipped image costs Cairo several times a plain copy.
// Drawing itself stays in y-up device space, so every pixel comes out as it was drawn.
class CPTCairoBackingStore : public CPTBackingStore {
public:
    CPTCairoBackingStore(const CPTRect& bounds, double scale, bool opaque);

    CPTContext& context() override { return *context_; }
    const CPTRect& bounds() const override { return bounds_; }
    double scale() const override { return scale_; }
    bool isOpaque() const override { return opaque_; }
    void clear() override;
    void finishDrawing() override;
    // Draws the part into an image of its own, at the same pixel grid, and copies that in.
    bool redrawPart(const CPTRect& rect, const std::function<void(CPTContext&)>& draw) override;
    bool copyPixelsOf(const CPTBackingStore& other) override;

    cairo_surface_t* surface() const { return surface_.get(); }
    // Whether the first row is the top edge (else the bottom one).
    bool rowsTopDown() const { return rowsTopDown_; }

private:
    void resetContext();

    CPTRect bounds_;
    double scale_;
    bool opaque_;
    bool rowsTopDown_ = false;
    CairoSurfaceHandle surface_;
    std::unique_ptr<CPTCairoContext> context_;
};

}  // namespace quorvel
