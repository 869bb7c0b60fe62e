// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/cairo/CPTCairoHandles.hpp"

#include <cstddef>
#include <map>
#include <string>
#include <tuple>

namespace quorvel {

class CPTTextStyle;

// Pango layouts of drawn texts, kept between draws: shaping is most of what drawing a text
// costs, and a chart draws the same titles and labels again and again. All layouts share one
// Pango context, brought up to date with a Cairo context only when what Pango takes from it
// (the transform's linear part and the target's font options) differs from the last one:
// Pango counts every update as a change and would lay every layout out afresh.
// Main thread only, like all drawing.
class CPTPangoLayoutCache {
public:
    // The layout of `text` in the style's font and alignment, wrapped at word boundaries to
    // `width` points, ready to be shown in `cr`.
    static PangoLayout* layoutFor(cairo_t* cr, const std::string& text, const CPTTextStyle& style, double width);

    // Beyond this many layouts the cache starts afresh.
    static constexpr std::size_t kCapacity = 256;

private:
    using Key = std::tuple<std::string, std::string, double, int, int>;  // text, font, size, width, alignment

    CPTPangoLayoutCache();
    static CPTPangoLayoutCache& shared();
    void updateContext(cairo_t* cr);

    PangoContextHandle context_;
    std::map<Key, PangoLayoutHandle> layouts_;
    bool updated_ = false;
    cairo_matrix_t matrix_{};
    CairoFontOptionsHandle surfaceOptions_;
};

}  // namespace quorvel
