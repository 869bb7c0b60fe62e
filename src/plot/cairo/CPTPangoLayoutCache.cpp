// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/cairo/CPTPangoLayoutCache.hpp"

#include "plot/CPTTextStyle.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"

#include <pango/pangocairo.h>

#include <cmath>

namespace quorvel {

namespace {

PangoAlignment pangoAlignment(CPTTextAlignment alignment)
{
    switch (alignment) {
    case CPTTextAlignment::Left:
        break;
    case CPTTextAlignment::Center:
        return PANGO_ALIGN_CENTER;
    case CPTTextAlignment::Right:
        return PANGO_ALIGN_RIGHT;
    }
    return PANGO_ALIGN_LEFT;
}

}  // namespace

CPTPangoLayoutCache::CPTPangoLayoutCache()
    : context_(pango_font_map_create_context(pango_cairo_font_map_get_default())),
      surfaceOptions_(cairo_font_options_create())
{
    CPTPangoTextMetrics::configureContext(context_.get());
}

void CPTPangoLayoutCache::updateContext(cairo_t* cr)
{
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    matrix.x0 = 0.0;  // Pango ignores the translation
    matrix.y0 = 0.0;
    CairoFontOptionsHandle options(cairo_font_options_create());
    cairo_surface_get_font_options(cairo_get_target(cr), options.get());
    const bool sameMatrix = matrix.xx == matrix_.xx && matrix.yx == matrix_.yx && matrix.xy == matrix_.xy &&
                            matrix.yy == matrix_.yy;
    if (updated_ && sameMatrix && cairo_font_options_equal(options.get(), surfaceOptions_.get())) {
        return;
    }
    pango_cairo_update_context(cr, context_.get());  // the layouts notice and lay out afresh
    matrix_ = matrix;
    surfaceOptions_ = std::move(options);
    updated_ = true;
}

CPTPangoLayoutCache& CPTPangoLayoutCache::shared()
{
    static CPTPangoLayoutCache cache;
    return cache;
}

PangoLayout* CPTPangoLayoutCache::layout(Key key)
{
    auto it = layouts_.find(key);
    if (it != layouts_.end()) {
        return it->second.get();
    }
    if (layouts_.size() >= kCapacity) {
        layouts_.clear();
    }
    const auto& [text, fontName, fontSize, pangoWidth, alignment] = key;
    PangoLayoutHandle made(pango_layout_new(context_.get()));
    const auto description = CPTPangoTextMetrics::fontDescription(fontName, fontSize);
    pango_layout_set_font_description(made.get(), description.get());
    if (pangoWidth >= 0) {
        pango_layout_set_wrap(made.get(), PANGO_WRAP_WORD);
        pango_layout_set_width(made.get(), pangoWidth);
        pango_layout_set_alignment(made.get(), pangoAlignment(static_cast<CPTTextAlignment>(alignment)));
    }
    pango_layout_set_text(made.get(), text.c_str(), static_cast<int>(text.size()));
    return layouts_.emplace(std::move(key), std::move(made)).first->second.get();
}

CPTPangoLayoutCache::Placed CPTPangoLayoutCache::measuredFitting(const Key& key)
{
    const auto& [text, fontName, fontSize, pangoWidth, alignment] = key;
    const auto measured = layouts_.find(Key{text, fontName, fontSize, -1, static_cast<int>(CPTTextAlignment::Left)});
    if (measured == layouts_.end() || pango_layout_get_line_count(measured->second.get()) != 1) {
        return {};
    }
    PangoRectangle logical{};
    pango_layout_get_extents(measured->second.get(), nullptr, &logical);
    if (logical.width > pangoWidth) {
        return {};  // it wraps in the box
    }
    // Where Pango puts a line of that width in a layout of the box's width.
    int offset = 0;
    if (alignment == static_cast<int>(CPTTextAlignment::Right)) {
        offset = pangoWidth - logical.width;
    } else if (alignment == static_cast<int>(CPTTextAlignment::Center)) {
        offset = (pangoWidth - logical.width) / 2;
        if (((pangoWidth | logical.width) & (PANGO_SCALE - 1)) == 0) {
            offset = PANGO_UNITS_ROUND(offset);
        }
    }
    return {measured->second.get(), static_cast<double>(offset) / PANGO_SCALE};
}

CPTPangoLayoutCache::Placed CPTPangoLayoutCache::layoutFor(cairo_t* cr, const std::string& text,
                                                           const CPTTextStyle& style, double width)
{
    CPTPangoLayoutCache& cache = shared();
    cache.updateContext(cr);
    const int pangoWidth = static_cast<int>(std::ceil(width * PANGO_SCALE));
    Key key{text, style.fontName(), style.fontSize(), pangoWidth, static_cast<int>(style.textAlignment())};
    if (cache.layouts_.find(key) == cache.layouts_.end()) {
        if (const Placed measured = cache.measuredFitting(key); measured.layout != nullptr) {
            return measured;
        }
    }
    return {cache.layout(std::move(key)), 0.0};
}

std::pair<double, double> CPTPangoLayoutCache::measure(const std::string& text, const std::string& fontName,
                                                       double fontSize)
{
    PangoLayout* measured =
        shared().layout(Key{text, fontName, fontSize, -1, static_cast<int>(CPTTextAlignment::Left)});
    PangoRectangle logical{};
    pango_layout_get_extents(measured, nullptr, &logical);
    return {static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
}

void CPTPangoLayoutCache::prepareForImageScale(double scale)
{
    // A pixel of the same kind of image stands for it: Pango takes only the transform and the
    // target's font options.
    CairoSurfaceHandle image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    CairoHandle cr(cairo_create(image.get()));
    cairo_scale(cr.get(), scale, scale);
    shared().updateContext(cr.get());
}

}  // namespace quorvel
