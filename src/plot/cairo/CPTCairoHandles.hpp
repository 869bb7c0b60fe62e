// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cairo.h>
#include <glib-object.h>
#include <pango/pango.h>

#include <memory>

namespace quorvel {

// Owning handles for Cairo and Pango objects: each releases its object exactly once.
struct CPTCairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
    void operator()(cairo_path_t* path) const { cairo_path_destroy(path); }
    void operator()(cairo_font_options_t* options) const { cairo_font_options_destroy(options); }
    void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
    void operator()(PangoContext* context) const { g_object_unref(context); }
};

using CairoHandle = std::unique_ptr<cairo_t, CPTCairoDeleter>;
using CairoSurfaceHandle = std::unique_ptr<cairo_surface_t, CPTCairoDeleter>;
using CairoPatternHandle = std::unique_ptr<cairo_pattern_t, CPTCairoDeleter>;
using CairoPathHandle = std::unique_ptr<cairo_path_t, CPTCairoDeleter>;
using CairoFontOptionsHandle = std::unique_ptr<cairo_font_options_t, CPTCairoDeleter>;
using PangoFontDescriptionHandle = std::unique_ptr<PangoFontDescription, CPTCairoDeleter>;
using PangoLayoutHandle = std::unique_ptr<PangoLayout, CPTCairoDeleter>;
using PangoContextHandle = std::unique_ptr<PangoContext, CPTCairoDeleter>;

}  // namespace quorvel
