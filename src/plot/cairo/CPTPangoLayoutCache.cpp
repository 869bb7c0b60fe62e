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

PangoLayout* CPTPangoLayoutCache::layoutFor(cairo_t* cr, const std::string& text, const CPTTextStyle& style,
                                            double width)
{
    CPTPangoLayoutCache& cache = shared();
    const int pangoWidth = static_cast<int>(std::ceil(width * PANGO_SCALE));
    Key key{text, style.fontName(), style.fontSize(), pangoWidth, static_cast<int>(style.textAlignment())};
    auto it = cache.layouts_.find(key);
    if (it == cache.layouts_.end()) {
        if (cache.layouts_.size() >= kCapacity) {
            cache.layouts_.clear();
        }
        PangoLayoutHandle layout(pango_layout_new(cache.context_.get()));
        const auto description = CPTPangoTextMetrics::fontDescription(style.fontName(), style.fontSize());
        pango_layout_set_font_description(layout.get(), description.get());
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
        pango_layout_set_width(layout.get(), pangoWidth);
        pango_layout_set_alignment(layout.get(), pangoAlignment(style.textAlignment()));
        pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
        it = cache.layouts_.emplace(std::move(key), std::move(layout)).first;
    }
    cache.updateContext(cr);
    return it->second.get();
}

}  // namespace quorvel
