// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/cairo/CPTCairoBackingStore.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

// Device coordinates this close to a whole pixel count as on it.
constexpr double kPixelTolerance = 1e-6;

}  // namespace

CPTCairoBackingStore::CPTCairoBackingStore(const CPTRect& bounds, double scale, bool opaque, Space space)
    : bounds_(bounds),
      scale_(scale),
      opaque_(opaque),
      space_(space),
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

cairo_matrix_t CPTCairoBackingStore::toImage() const
{
    cairo_matrix_t m;
    if (space_ == Space::YUp) {
        // The bottom edge lands on the image's last row.
        cairo_matrix_init_translate(&m, 0.0, cairo_image_surface_get_height(surface_.get()));
        cairo_matrix_scale(&m, scale_, -scale_);
    } else {
        cairo_matrix_init_scale(&m, scale_, scale_);
    }
    cairo_matrix_translate(&m, -bounds_.origin.x, -bounds_.origin.y);
    return m;
}

CPTCairoBackingStore::PixelBox CPTCairoBackingStore::pixelBox(const CPTRect& rect) const
{
    const cairo_matrix_t m = toImage();
    double x0 = rect.minX();
    double y0 = rect.minY();
    double x1 = rect.maxX();
    double y1 = rect.maxY();
    cairo_matrix_transform_point(&m, &x0, &y0);
    cairo_matrix_transform_point(&m, &x1, &y1);
    const int width = cairo_image_surface_get_width(surface_.get());
    const int height = cairo_image_surface_get_height(surface_.get());
    const auto first = [](double a, double b, int limit) {
        return std::clamp(static_cast<int>(std::floor(std::min(a, b) + kPixelTolerance)), 0, limit);
    };
    const auto last = [](double a, double b, int limit) {
        return std::clamp(static_cast<int>(std::ceil(std::max(a, b) - kPixelTolerance)), 0, limit);
    };
    return {first(x0, x1, width), first(y0, y1, height), last(x0, x1, width), last(y0, y1, height)};
}

bool CPTCairoBackingStore::redrawPart(const CPTRect& rect, const std::function<void(CPTContext&)>& draw)
{
    const PixelBox box = pixelBox(rect);
    if (box.x1 <= box.x0 || box.y1 <= box.y0) {
        return true;
    }
    // The part's image is moved by a device offset, so its context has exactly this one's
    // transform: rounding to pixels comes out the same, bit for bit, as in a drawing of the whole.
    CairoSurfaceHandle part(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, box.x1 - box.x0, box.y1 - box.y0));
    cairo_surface_set_device_offset(part.get(), -box.x0, -box.y0);
    {
        CairoHandle cr(cairo_create(part.get()));
        const cairo_matrix_t m = toImage();
        cairo_set_matrix(cr.get(), &m);
        CPTCairoContext context(cr.get());
        draw(context);
    }
    cairo_surface_set_device_offset(part.get(), 0, 0);
    replacePixels(part.get(), box.x0, box.y0);
    return true;
}

bool CPTCairoBackingStore::copyPixelsOf(const CPTBackingStore& other)
{
    const auto* source = dynamic_cast<const CPTCairoBackingStore*>(&other);
    if (source == nullptr || source->scale_ != scale_ || source->space_ != space_) {
        return false;
    }
    // The other image's first pixel, in this one: a whole pixel, or the grids do not match. Its
    // rows start from its minimum y, at the bottom when y runs up.
    const cairo_matrix_t m = toImage();
    double x = source->bounds_.minX();
    double y = source->bounds_.minY();
    cairo_matrix_transform_point(&m, &x, &y);
    const double top = y - (space_ == Space::YUp ? cairo_image_surface_get_height(source->surface_.get()) : 0);
    if (std::fabs(x - std::round(x)) > kPixelTolerance || std::fabs(top - std::round(top)) > kPixelTolerance ||
        x < -kPixelTolerance || top < -kPixelTolerance) {
        return false;
    }
    replacePixels(source->surface_.get(), static_cast<int>(std::round(x)), static_cast<int>(std::round(top)));
    return true;
}

void CPTCairoBackingStore::replacePixels(cairo_surface_t* image, int x, int y)
{
    cairo_surface_flush(image);
    CairoHandle cr(cairo_create(surface_.get()));
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr.get(), image, x, y);
    cairo_rectangle(cr.get(), x, y, cairo_image_surface_get_width(image), cairo_image_surface_get_height(image));
    cairo_fill(cr.get());
}

void CPTCairoBackingStore::resetContext()
{
    CairoHandle cr(cairo_create(surface_.get()));
    const cairo_matrix_t m = toImage();
    cairo_set_matrix(cr.get(), &m);
    context_ = std::make_unique<CPTCairoContext>(cr.get());
}

}  // namespace quorvel
