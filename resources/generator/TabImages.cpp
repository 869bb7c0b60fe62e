// SPDX-License-Identifier: GPL-3.0-or-later
// Tab bar icons (30 × 30 points, grey when unselected, the tab tint when selected) and the
// backgrounds of the top and bottom bars. Bars vary only from top to bottom, so they stretch to
// any width.
#include <cmath>

#include "ImageSpec.hpp"
#include "Paint.hpp"

namespace quorvel::art {

namespace {

constexpr double kTab = 30;

using Glyph = void (*)(cairo_t*);

// Four rising signal bars: mobile data.
void networkGlyph(cairo_t* cr)
{
    for (int i = 0; i < 4; ++i) {
        const double height = 7 + 5.5 * i;
        roundedRect(cr, 3.5 + 6.2 * i, 26.5 - height, 4.6, height, 1.2);
    }
}

// An axis corner with three bars of different heights.
void barchartGlyph(cairo_t* cr)
{
    roundedRect(cr, 3, 3.5, 2.2, 24, 1.1);
    roundedRect(cr, 3, 25.3, 24.5, 2.2, 1.1);
    const double heights[] = {9, 17, 12.5};
    for (int i = 0; i < 3; ++i) {
        roundedRect(cr, 8 + 6.4 * i, 23.5 - heights[i], 4.6, heights[i], 1.2);
    }
}

// A map pin with a hole (even-odd).
void locationsGlyph(cairo_t* cr)
{
    const double cx = 15, cy = 11.5, r = 8.5, tipY = 27.5;
    const double phi = std::acos(r / (tipY - cy));
    cairo_move_to(cr, cx, tipY);
    cairo_arc(cr, cx, cy, r, kPi / 2 + phi, 2 * kPi + kPi / 2 - phi);
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 3.4, 0, 2 * kPi);
}

// A cog of eight teeth with a hole (even-odd).
void settingsGlyph(cairo_t* cr)
{
    const double cx = 15, cy = 15, outer = 12.5, body = 9.6;
    const int teeth = 8;
    const double step = 2 * kPi / teeth;
    const double tipHalf = step * 0.17, baseHalf = step * 0.27;
    cairo_new_sub_path(cr);
    for (int i = 0; i < teeth; ++i) {
        const double a = i * step - kPi / 2;
        cairo_arc(cr, cx, cy, body, a - step + baseHalf, a - baseHalf);
        cairo_line_to(cr, cx + outer * std::cos(a - tipHalf), cy + outer * std::sin(a - tipHalf));
        cairo_arc(cr, cx, cy, outer, a - tipHalf, a + tipHalf);
        cairo_line_to(cr, cx + body * std::cos(a + baseHalf), cy + body * std::sin(a + baseHalf));
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 4.2, 0, 2 * kPi);
}

void paintTab(cairo_t* cr, Glyph glyph, bool selected)
{
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_save(cr);
    cairo_translate(cr, 0, 1);
    glyph(cr);
    setColor(cr, withAlpha(palette::shadow, 0.55));
    cairo_fill(cr);
    cairo_restore(cr);
    glyph(cr);
    if (selected) {
        fillVertical(cr, 2, 28,
                     {{0, mix(palette::tabTint, rgb(255, 255, 255), 0.35)}, {0.5, palette::tabTint},
                      {1, mix(palette::tabTint, palette::shadow, 0.25)}});
    } else {
        fillVertical(cr, 2, 28, {{0, rgb(196, 199, 211)}, {1, rgb(132, 136, 154)}});
    }
    cairo_new_path(cr);
}

void addTab(std::vector<ImageSpec>& out, const std::string& name, Glyph glyph)
{
    out.push_back({name, kTab, kTab, [glyph](cairo_t* cr, double, double) { paintTab(cr, glyph, false); },
                   "quorvel-" + name});
    out.push_back({name + "_a", kTab, kTab, [glyph](cairo_t* cr, double, double) { paintTab(cr, glyph, true); },
                   "quorvel-" + name + "_a"});
}

// The header bar: a soft sheen at the top, a dark rule at the bottom.
void paintTopBar(cairo_t* cr, double w, double h)
{
    cairo_rectangle(cr, 0, 0, w, h);
    fillVertical(cr, 0, h, {{0, rgb(60, 63, 90)}, {0.5, rgb(44, 46, 68)}, {1, rgb(33, 35, 53)}});
    cairo_new_path(cr);
    hairline(cr, 0, w, 0, rgb(255, 255, 255, 0.10));
    hairline(cr, 0, w, h - 1, palette::shadow);
}

// The tab bar: darker than the screens, with a rule and a faint highlight along its top.
void paintBottomBar(cairo_t* cr, double w, double h)
{
    cairo_rectangle(cr, 0, 0, w, h);
    fillVertical(cr, 0, h, {{0, rgb(44, 46, 68)}, {0.45, rgb(32, 34, 51)}, {1, rgb(22, 23, 36)}});
    cairo_new_path(cr);
    hairline(cr, 0, w, 0, palette::shadow);
    hairline(cr, 0, w, 1, rgb(255, 255, 255, 0.07));
}

}  // namespace

std::vector<ImageSpec> tabImages()
{
    std::vector<ImageSpec> out;
    addTab(out, "network", networkGlyph);
    addTab(out, "barchart", barchartGlyph);
    addTab(out, "locations", locationsGlyph);
    addTab(out, "settings", settingsGlyph);
    out.push_back({"bar_top@2x_2.png", 320, 44, paintTopBar});
    out.push_back({"bar_top", 768, 44, paintTopBar});
    out.push_back({"bardown.png", 320, 49, paintBottomBar});
    out.push_back({"ipad_bar_down", 768, 56, paintBottomBar});
    // The tab bar's selection indicator: deliberately nothing, the tint marks the selected tab.
    out.push_back({"empty", 1, 1, [](cairo_t*, double, double) {}});
    return out;
}

}  // namespace quorvel::art
