#include "plot/cairo/CPTCairoBackingStore.hpp"

#include <cmath>

namespace quorvel {

CPTCairoBackingStore::CPTCairoBackingStore(const CPTRect& bounds, double scale)
    : bounds_(bounds),
      scale_(scale),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                          static_cast<int>(std::ceil(bounds.width() * scale)),
                                          static_cast<int>(std::ceil(bounds.height() * scale))))
{
    clear();
}

void CPTCairoBackingStore::clear()
{
    CairoHandle cr(cairo_create(surface_.get()));
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr.get());
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
    cairo_scale(cr.get(), scale_, scale_);
    cairo_translate(cr.get(), -bounds_.origin.x, -bounds_.origin.y);
    context_ = std::make_unique<CPTCairoContext>(cr.get());
}

}  // namespace quorvel
