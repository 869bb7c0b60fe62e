// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/cairo/CPTPangoTextMetrics.hpp"

#include "plot/CPTGraph.hpp"
#include "plot/cairo/CPTPangoLayoutCache.hpp"

#include <pango/pangocairo.h>

namespace quorvel {

CPTPangoTextMetrics::CPTPangoTextMetrics()
    : context_(pango_font_map_create_context(pango_cairo_font_map_get_default()))
{
    configureContext(context_.get());
}

CPTPangoTextMetrics::CPTPangoTextMetrics(InDrawingContext) {}

PangoFontDescriptionHandle CPTPangoTextMetrics::fontDescription(const std::string& fontName, double fontSize)
{
    PangoFontDescriptionHandle description(pango_font_description_new());
    // Sizes are in points of user space, independent of any screen resolution.
    pango_font_description_set_family(description.get(), (fontName + ",Sans").c_str());
    pango_font_description_set_absolute_size(description.get(), fontSize * PANGO_SCALE);
    return description;
}

void CPTPangoTextMetrics::configureContext(PangoContext* context)
{
    CairoFontOptionsHandle options(cairo_font_options_create());
    // Unhinted metrics scale linearly, so text measured once fits at every scale factor.
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options.get());
}

CPTSize CPTPangoTextMetrics::sizeOfText(const std::string& text, const std::string& fontName, double fontSize) const
{
    if (text.empty()) {
        return {};
    }
    if (!context_) {
        const auto [width, height] = CPTPangoLayoutCache::measure(text, fontName, fontSize);
        return {width, height};
    }
    auto key = std::make_tuple(text, fontName, fontSize);
    if (const auto known = sizes_.find(key); known != sizes_.end()) {
        return known->second;
    }
    PangoLayoutHandle layout(pango_layout_new(context_.get()));
    const auto description = fontDescription(fontName, fontSize);
    pango_layout_set_font_description(layout.get(), description.get());
    pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
    PangoRectangle logical{};
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    const CPTSize size{static_cast<double>(logical.width) / PANGO_SCALE,
                       static_cast<double>(logical.height) / PANGO_SCALE};
    if (sizes_.size() >= kCachedSizes) {
        sizes_.clear();
    }
    sizes_.emplace(std::move(key), size);
    return size;
}

std::shared_ptr<const CPTPangoTextMetrics> CPTPangoTextMetrics::instance()
{
    static const auto metrics = std::make_shared<const CPTPangoTextMetrics>(InDrawingContext{});
    return metrics;
}

void CPTPangoTextMetrics::prepareForImageScale(double scale)
{
    CPTPangoLayoutCache::prepareForImageScale(scale);
}

void CPTPangoTextMetrics::useFor(CPTGraph& graph)
{
    if (!graph.hasTextMetrics()) {
        graph.setTextMetrics(instance());
    }
}

}  // namespace quorvel
