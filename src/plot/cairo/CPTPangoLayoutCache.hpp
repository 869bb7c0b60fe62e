// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/cairo/CPTCairoHandles.hpp"

#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace quorvel {

class CPTTextStyle;

// Pango layouts of measured and drawn texts, kept between draws: shaping is most of what drawing
// a text costs, and a chart draws the same titles and labels again and again. All layouts share
// one Pango context, brought up to date with a Cairo context only when what Pango takes from it
// (the transform's linear part and the target's font options) differs from the last one:
// Pango counts every update as a change and would lay every layout out afresh. Texts measured in
// it at the scale they are drawn at are drawn from the very layout that measured them, when that
// one line fits its box.
// Main thread only, like all drawing.
class CPTPangoLayoutCache {
public:
    struct Placed {
        PangoLayout* layout = nullptr;
        double dx = 0.0;  // where it is shown, from the box's left edge, in points
    };
    // The layout of `text` in the style's font and alignment, wrapped at word boundaries to
    // `width` points, ready to be shown in `cr`.
    static Placed layoutFor(cairo_t* cr, const std::string& text, const CPTTextStyle& style, double width);

    // The size of `text` in that font on one line (lines only where it has line breaks), in
    // points, measured in the shared context as it stands.
    static std::pair<double, double> measure(const std::string& text, const std::string& fontName, double fontSize);
    // Sets the shared context as drawing into an image at `scale` pixels per point sets it, so
    // that what is measured before drawing there is measured as it will be drawn.
    static void prepareForImageScale(double scale);

    // Beyond this many layouts the cache starts afresh.
    static constexpr std::size_t kCapacity = 256;

private:
    using Key = std::tuple<std::string, std::string, double, int, int>;  // text, font, size, width, alignment

    CPTPangoLayoutCache();
    static CPTPangoLayoutCache& shared();
    void updateContext(cairo_t* cr);
    // The kept layout under `key`, made when missing.
    PangoLayout* layout(Key key);
    // The measured one-line layout of the text, when it fits `pangoWidth`, with its offset.
    Placed measuredFitting(const Key& key);

    PangoContextHandle context_;
    std::map<Key, PangoLayoutHandle> layouts_;
    bool updated_ = false;
    cairo_matrix_t matrix_{};
    CairoFontOptionsHandle surfaceOptions_;
};

}  // namespace quorvel
