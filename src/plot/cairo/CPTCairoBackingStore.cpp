#include "plot/cairo/CPTCairoBackingStore.hpp"

#include <cmath>
#include <cstring>
#include <vector>

namespace quorvel {

CPTCairoBackingStore::CPTCairoBackingStore(const CPTRect& bounds, double scale, bool opaque)
    : bounds_(bounds),
      scale_(scale),
      opaque_(opaque),
      // A new image surface is already all zero: transparent, or black when opaque.
      surface_(cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32,
                                          static_cast<int>(std::ceil(bounds.width() * scale)),
                                          static_cast<int>(std::ceil(bounds.height() * scale))))
{
    resetContext();
}

void CPTCairoBackingStore::clear()
{
    if (!opaque_) {
        CairoHandle cr(cairo_create(surface_.get()));
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr.get());
    }
    resetContext();
}

void CPTCairoBackingStore::finishDrawing()
{
    if (rowsTopDown_) {
        return;
    }
    cairo_surface_flush(surface_.get());
    unsigned char* data = cairo_image_surface_get_data(surface_.get());
    const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface_.get()));
    const int height = cairo_image_surface_get_height(surface_.get());
    if (data != nullptr && height > 1) {
        std::vector<unsigned char> row(stride);
        for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
            unsigned char* a = data + static_cast<std::size_t>(top) * stride;
            unsigned char* b = data + static_cast<std::size_t>(bottom) * stride;
            std::memcpy(row.data(), a, stride);
            std::memcpy(a, b, stride);
            std::memcpy(b, row.data(), stride);
        }
    }
    cairo_surface_mark_dirty(surface_.get());
    rowsTopDown_ = true;
}

void CPTCairoBackingStore::resetContext()
{
    rowsTopDown_ = false;
    CairoHandle cr(cairo_create(surface_.get()));
    cairo_scale(cr.get(), scale_, scale_);
    cairo_translate(cr.get(), -bounds_.origin.x, -bounds_.origin.y);
    context_ = std::make_unique<CPTCairoContext>(cr.get());
}

}  // namespace quorvel
