// SPDX-License-Identifier: GPL-3.0-or-later
// The application icon: a dark tile holding a usage gauge, green up to where the month stands,
// with its needle on the top of an antenna mast.
#include <cmath>

#include "ImageSpec.hpp"
#include "Paint.hpp"

namespace quorvel::art {

namespace {

double radians(double degrees)
{
    return degrees * kPi / 180;
}

void paintTile(cairo_t* cr)
{
    roundedRect(cr, 8, 11, 112, 112, 26);
    setColor(cr, rgb(0, 0, 0, 0.35));
    cairo_fill(cr);
    roundedRect(cr, 8, 8, 112, 112, 26);
    fillVertical(cr, 8, 120, {{0, rgb(62, 66, 98)}, {0.55, palette::background}, {1, rgb(24, 25, 40)}});
    cairo_new_path(cr);
    roundedRect(cr, 9, 9, 110, 110, 25);
    stroke(cr, 1.5, rgb(255, 255, 255, 0.10));
}

void paintGauge(cairo_t* cr, double cx, double cy, double r, double share)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, cx, cy, r, radians(180), radians(360));
    stroke(cr, 12, rgb(74, 78, 110));
    cairo_arc(cr, cx, cy, r, radians(180), radians(180 + 180 * share));
    cairo_set_source(cr, linear(cx - r, 0, cx + r, 0, {{0, palette::gaugeGreen}, {1, palette::accent}}).get());
    cairo_set_line_width(cr, 12);
    cairo_stroke(cr);
    for (int i = 0; i <= 4; ++i) {
        const double a = radians(180 + 45 * i);
        cairo_move_to(cr, cx + (r + 10) * std::cos(a), cy + (r + 10) * std::sin(a));
        cairo_line_to(cr, cx + (r + 14) * std::cos(a), cy + (r + 14) * std::sin(a));
    }
    stroke(cr, 2.5, rgb(200, 204, 220, 0.55));
}

void paintNeedle(cairo_t* cr, double cx, double cy, double length, double share)
{
    const double a = radians(180 + 180 * share);
    const double nx = -std::sin(a), ny = std::cos(a);
    cairo_move_to(cr, cx + length * std::cos(a), cy + length * std::sin(a));
    cairo_line_to(cr, cx + 3.5 * nx, cy + 3.5 * ny);
    cairo_line_to(cr, cx - 3.5 * nx, cy - 3.5 * ny);
    cairo_close_path(cr);
    setColor(cr, rgb(245, 246, 250));
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, 7, 0, 2 * kPi);
    fillVertical(cr, cy - 7, cy + 7, {{0, rgb(255, 255, 255)}, {1, rgb(180, 184, 200)}});
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 2.5, 0, 2 * kPi);
    setColor(cr, palette::background);
    cairo_fill(cr);
}

// The hub tops an antenna mast that sends waves to both sides.
void paintAntenna(cairo_t* cr, double cx, double cy)
{
    cairo_move_to(cr, cx - 2, cy);
    cairo_line_to(cr, cx + 2, cy);
    cairo_line_to(cr, cx + 9, cy + 30);
    cairo_line_to(cr, cx - 9, cy + 30);
    cairo_close_path(cr);
    fillVertical(cr, cy, cy + 30, {{0, rgb(200, 204, 220)}, {1, rgb(120, 124, 146)}});
    cairo_new_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 2; ++i) {
        const double r = 13 + 7 * i;
        for (double middle : {0.0, 180.0}) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, cy, r, radians(middle - 28), radians(middle + 28));
        }
        stroke(cr, 3.5, withAlpha(palette::warm, 0.95 - 0.3 * i));
    }
}

}  // namespace

void paintAppIcon(cairo_t* cr, double size)
{
    cairo_save(cr);
    cairo_scale(cr, size / 128, size / 128);
    paintTile(cr);
    const double cx = 64, cy = 72;
    paintGauge(cr, cx, cy, 38, 0.62);
    paintAntenna(cr, cx, cy);
    paintNeedle(cr, cx, cy, 33, 0.62);
    cairo_restore(cr);
}

}  // namespace quorvel::art
