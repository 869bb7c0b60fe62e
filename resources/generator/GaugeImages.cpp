// SPDX-License-Identifier: GPL-3.0-or-later
// The usage gauge: a light track framed by two metal end caps, the green used part, a dotted
// marker line and the two arrows that point at it. The gauge scales the track, the used part and
// the caps to its bar, so they change only from top to bottom and share the frame's outline
// rows. The arrows are taller than their triangles: their height is the room the gauge keeps
// above and below the bar, which the date under the marker needs.
#include "ImageSpec.hpp"
#include "Paint.hpp"

namespace quorvel::art {

namespace {

constexpr double kBarHeight = 40;
constexpr double kCapWidth = 8;
constexpr double kArrowBox = 16;
constexpr Color kFrame = rgb(27, 28, 43);

void frameRows(cairo_t* cr, double w, double h)
{
    hairline(cr, 0, w, 0, kFrame);
    hairline(cr, 0, w, h - 1, kFrame);
}

void paintTrack(cairo_t* cr, double w, double h)
{
    cairo_rectangle(cr, 0, 0, w, h);
    fillVertical(cr, 1, h - 1,
                 {{0, rgb(160, 164, 178)}, {0.12, rgb(218, 221, 229)}, {0.6, rgb(240, 241, 245)},
                  {1, rgb(204, 207, 218)}});
    cairo_new_path(cr);
    frameRows(cr, w, h);
}

void paintFilled(cairo_t* cr, double w, double h)
{
    cairo_rectangle(cr, 0, 0, w, h);
    fillVertical(cr, 1, h - 1,
                 {{0, rgb(150, 200, 60)}, {0.47, rgb(112, 163, 34)}, {0.5, palette::gaugeGreen},
                  {1, rgb(70, 110, 16)}});
    cairo_new_path(cr);
    hairline(cr, 0, w, 1, rgb(200, 235, 130, 0.55));
    frameRows(cr, w, h);
}

// A metal end cap rounded on its outer side; `left` puts the rounding on the left.
void paintCap(cairo_t* cr, double w, double h, bool left)
{
    const double r = 6;
    const Corners corners = left ? Corners{r, 0, 0, r} : Corners{0, r, r, 0};
    roundedRect(cr, 0, 0, w, h, corners);
    setColor(cr, kFrame);
    cairo_fill(cr);
    roundedRect(cr, left ? 1 : 0, 1, w - 1, h - 2, Corners{corners.topLeft - 1, corners.topRight - 1,
                                                            corners.bottomRight - 1, corners.bottomLeft - 1});
    fillVertical(cr, 1, h - 1,
                 {{0, rgb(132, 137, 162)}, {0.45, rgb(88, 92, 116)}, {0.55, rgb(74, 78, 100)},
                  {1, rgb(52, 55, 74)}});
    cairo_new_path(cr);
}

// Dashes with a light halo, so the line reads on the green part and on the light track alike.
void paintMarkerLine(cairo_t* cr, double w, double h)
{
    for (double y = 0.5; y + 2.5 <= h; y += 4.5) {
        roundedRect(cr, 0.5, y - 0.5, w - 1, 3.5, 1.2);
        setColor(cr, rgb(255, 255, 255, 0.6));
        cairo_fill(cr);
        roundedRect(cr, 1.25, y, w - 2.5, 2.5, 0.6);
        setColor(cr, rgb(31, 33, 51));
        cairo_fill(cr);
    }
}

// A rounded triangle, base at `baseY`, tip at `tipY`, centred in the box.
void paintArrow(cairo_t* cr, double w, double baseY, double tipY)
{
    const double cx = w / 2, half = 7;
    cairo_move_to(cr, cx - half, baseY);
    cairo_line_to(cr, cx + half, baseY);
    cairo_line_to(cr, cx, tipY);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double top = baseY < tipY ? baseY : tipY;
    const double bottom = baseY < tipY ? tipY : baseY;
    fillVertical(cr, top, bottom, {{0, rgb(255, 255, 255)}, {1, rgb(200, 204, 216)}});
    stroke(cr, 1.2, kFrame);
}

}  // namespace

std::vector<ImageSpec> gaugeImages()
{
    return {
        {"shkala_white.png", 64, kBarHeight, paintTrack},
        {"shkala_green@2x.png", 64, kBarHeight, paintFilled},
        {"shkala_left.png", kCapWidth, kBarHeight, [](cairo_t* cr, double w, double h) { paintCap(cr, w, h, true); }},
        {"shkala_right.png", kCapWidth, kBarHeight,
         [](cairo_t* cr, double w, double h) { paintCap(cr, w, h, false); }},
        {"punktir.png", 4, 34, paintMarkerLine},
        {"arrow_down.png", kArrowBox, kArrowBox,
         [](cairo_t* cr, double w, double h) { paintArrow(cr, w, h - 11.5, h - 1); }},
        {"arrow_up.png", kArrowBox, kArrowBox, [](cairo_t* cr, double w, double) { paintArrow(cr, w, 11.5, 1); }},
    };
}

}  // namespace quorvel::art
