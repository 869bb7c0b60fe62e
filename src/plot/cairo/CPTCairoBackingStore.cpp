#include "plot/cairo/CPTCairoBackingStore.hpp"

#include <algorithm>
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

namespace {

// Puts the image's last row first and so on, for drawing done y up.
void flipRows(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface));
    const int height = cairo_image_surface_get_height(surface);
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
    cairo_surface_mark_dirty(surface);
}

}  // namespace

void CPTCairoBackingStore::finishDrawing()
{
    if (rowsTopDown_) {
        return;
    }
    flipRows(surface_.get());
    rowsTopDown_ = true;
}

bool CPTCairoBackingStore::redrawPart(const CPTRect& rect, const std::function<void(CPTContext&)>& draw)
{
    // Pixel columns and rows of the part, counted from the lower left as drawing counts them.
    const int width = cairo_image_surface_get_width(surface_.get());
    const int height = cairo_image_surface_get_height(surface_.get());
    constexpr double kTolerance = 1e-6;
    const auto first = [this](double value, double origin, int limit) {
        return std::clamp(static_cast<int>(std::floor((value - origin) * scale_ + kTolerance)), 0, limit);
    };
    const auto last = [this](double value, double origin, int limit) {
        return std::clamp(static_cast<int>(std::ceil((value - origin) * scale_ - kTolerance)), 0, limit);
    };
    const int x0 = first(rect.minX(), bounds_.minX(), width);
    const int x1 = last(rect.maxX(), bounds_.minX(), width);
    const int y0 = first(rect.minY(), bounds_.minY(), height);
    const int y1 = last(rect.maxY(), bounds_.minY(), height);
    if (x1 <= x0 || y1 <= y0) {
        return true;
    }
    // The part's image is moved by a device offset, so its context has exactly this one's
    // transform: rounding to pixels comes out the same, bit for bit, as in a drawing of the whole.
    CairoSurfaceHandle part(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, x1 - x0, y1 - y0));
    cairo_surface_set_device_offset(part.get(), -x0, -y0);
    {
        CairoHandle cr(cairo_create(part.get()));
        cairo_scale(cr.get(), scale_, scale_);
        cairo_translate(cr.get(), -bounds_.origin.x, -bounds_.origin.y);
        CPTCairoContext context(cr.get());
        draw(context);
    }
    int top = y0;
    if (rowsTopDown_) {
        flipRows(part.get());
        top = height - y1;
    }
    cairo_surface_set_device_offset(part.get(), 0, 0);
    cairo_surface_flush(part.get());
    CairoHandle cr(cairo_create(surface_.get()));
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr.get(), part.get(), x0, top);
    cairo_rectangle(cr.get(), x0, top, x1 - x0, y1 - y0);
    cairo_fill(cr.get());
    return true;
}

bool CPTCairoBackingStore::copyPixelsOf(const CPTBackingStore& other)
{
    const auto* source = dynamic_cast<const CPTCairoBackingStore*>(&other);
    if (source == nullptr || source->scale_ != scale_ || !source->rowsTopDown_) {
        return false;
    }
    // Whole pixels from this image's lower left corner to the other's.
    const double dx = (source->bounds_.minX() - bounds_.minX()) * scale_;
    const double dy = (source->bounds_.minY() - bounds_.minY()) * scale_;
    constexpr double kTolerance = 1e-6;
    if (dx < -kTolerance || dy < -kTolerance || std::fabs(dx - std::round(dx)) > kTolerance ||
        std::fabs(dy - std::round(dy)) > kTolerance) {
        return false;
    }
    // Both are in view row order: the other's first row lies this far below this one's.
    const int height = cairo_image_surface_get_height(surface_.get());
    const int top = height - cairo_image_surface_get_height(source->surface_.get()) - static_cast<int>(std::round(dy));
    if (top < 0) {
        return false;
    }
    cairo_surface_flush(source->surface_.get());
    CairoHandle cr(cairo_create(surface_.get()));
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr.get(), source->surface_.get(), std::round(dx), top);
    cairo_paint(cr.get());
    rowsTopDown_ = true;
    return true;
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
