#pragma once

#include "plot/CPTBackingStore.hpp"
#include "plot/cairo/CPTCairoContext.hpp"
#include "plot/cairo/CPTCairoHandles.hpp"

#include <memory>

namespace quorvel {

// A layer image: an ARGB image surface whose context maps the layer's bounds onto it
// (y up, so the image's first row is the layer's bottom edge).
class CPTCairoBackingStore : public CPTBackingStore {
public:
    CPTCairoBackingStore(const CPTRect& bounds, double scale);

    CPTContext& context() override { return *context_; }
    const CPTRect& bounds() const override { return bounds_; }
    double scale() const override { return scale_; }
    void clear() override;

    cairo_surface_t* surface() const { return surface_.get(); }

private:
    CPTRect bounds_;
    double scale_;
    CairoSurfaceHandle surface_;
    std::unique_ptr<CPTCairoContext> context_;
};

}  // namespace quorvel
