// SPDX-License-Identifier: GPL-3.0-or-later
// The main screen's panel toggle (a list glyph on a rounded key; green when the detail panel is
// shown) and the back button of pushed pages (an arrow-shaped key whose title the button draws).
#include "ImageSpec.hpp"
#include "Paint.hpp"

namespace quorvel::art {

namespace {

void keyFace(cairo_t* cr, bool active)
{
    if (active) {
        fillVertical(cr, 0, 32, {{0, rgb(40, 52, 40)}, {1, rgb(26, 32, 30)}});
    } else {
        fillVertical(cr, 0, 32, {{0, rgb(70, 74, 102)}, {0.5, rgb(52, 55, 80)}, {1, rgb(38, 40, 60)}});
    }
}

Color keyBorder(bool active)
{
    return active ? palette::accent : rgb(20, 21, 33);
}

void paintMenuButton(cairo_t* cr, double w, double h, bool active)
{
    roundedRect(cr, 0.75, 0.75, w - 1.5, h - 1.5, 7);
    keyFace(cr, active);
    stroke(cr, 1.5, keyBorder(active));
    hairline(cr, 7, w - 7, 2, rgb(255, 255, 255, active ? 0.05 : 0.12));
    const Color ink = active ? palette::accent : palette::text;
    for (int i = 0; i < 3; ++i) {
        const double y = h / 2 - 7 + 6 * i;
        cairo_new_sub_path(cr);
        cairo_arc(cr, w / 2 - 9, y + 1.1, 1.6, 0, 2 * kPi);
        roundedRect(cr, w / 2 - 5.5, y, 15, 2.2, 1.1);
    }
    setColor(cr, ink);
    cairo_fill(cr);
}

void paintBackButton(cairo_t* cr, double w, double h, bool active)
{
    const double point = 12, r = 6, inset = 1;
    cairo_move_to(cr, inset, h / 2);
    cairo_line_to(cr, point, inset);
    cairo_arc(cr, w - inset - r, inset + r, r, -kPi / 2, 0);
    cairo_arc(cr, w - inset - r, h - inset - r, r, 0, kPi / 2);
    cairo_line_to(cr, point, h - inset);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    keyFace(cr, active);
    stroke(cr, 1.5, keyBorder(active));
    hairline(cr, point + 2, w - 8, 2.2, rgb(255, 255, 255, active ? 0.05 : 0.12));
}

}  // namespace

std::vector<ImageSpec> buttonImages()
{
    return {
        {"button_menu@2x.png", 44, 32,
         [](cairo_t* cr, double w, double h) { paintMenuButton(cr, w, h, false); }},
        {"button_menu_a@2x.png", 44, 32,
         [](cairo_t* cr, double w, double h) { paintMenuButton(cr, w, h, true); }},
        {"button_back", 90, 32, [](cairo_t* cr, double w, double h) { paintBackButton(cr, w, h, false); }},
        {"button_back_a", 90, 32, [](cairo_t* cr, double w, double h) { paintBackButton(cr, w, h, true); }},
    };
}

}  // namespace quorvel::art
