// SPDX-License-Identifier: GPL-3.0-or-later
// Map markers, one colour per amount of data used at a place: a round head with a white dot and
// a tail whose tip is the bottom centre of the picture, so the marker stands on its coordinate.
#include <cmath>

#include "ImageSpec.hpp"
#include "Paint.hpp"

namespace quorvel::art {

namespace {

constexpr double kWidth = 26;
constexpr double kHeight = 38;

void pinPath(cairo_t* cr, double cx, double cy, double r, double tipY)
{
    const double phi = std::acos(r / (tipY - cy));
    cairo_move_to(cr, cx, tipY);
    cairo_arc(cr, cx, cy, r, kPi / 2 + phi, 2 * kPi + kPi / 2 - phi);
    cairo_close_path(cr);
}

void paintPin(cairo_t* cr, double w, double h, Color base)
{
    const double cx = w / 2, cy = 12.5, r = 11;
    const Color light = mix(base, rgb(255, 255, 255), 0.45);
    const Color dark = mix(base, rgb(0, 0, 0), 0.45);
    pinPath(cr, cx, cy, r, h - 0.6);
    fillPreserve(cr, radial(cx - 3.5, cy - 4, 1, cx, cy, r + 10, {{0, light}, {0.35, base}, {1, dark}}));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    stroke(cr, 1.2, withAlpha(mix(base, rgb(0, 0, 0), 0.6), 0.9));
    cairo_arc(cr, cx, cy, 3.6, 0, 2 * kPi);
    setColor(cr, rgb(255, 255, 255, 0.92));
    cairo_fill_preserve(cr);
    stroke(cr, 0.8, withAlpha(dark, 0.6));
    // A soft gloss on the upper left of the head.
    cairo_save(cr);
    cairo_translate(cr, cx - 4.5, cy - 5.5);
    cairo_scale(cr, 1, 0.65);
    cairo_arc(cr, 0, 0, 3, 0, 2 * kPi);
    cairo_restore(cr);
    setColor(cr, rgb(255, 255, 255, 0.35));
    cairo_fill(cr);
}

ImageSpec pin(const char* name, Color base)
{
    return {name, kWidth, kHeight, [base](cairo_t* cr, double w, double h) { paintPin(cr, w, h, base); }};
}

}  // namespace

std::vector<ImageSpec> pinImages()
{
    return {pin("redPin.png", rgb(214, 45, 45)),   pin("yellowPin.png", rgb(242, 196, 20)),
            pin("greenPin.png", rgb(60, 175, 70)), pin("grayPin.png", rgb(138, 142, 156)),
            pin("purplePin.png", rgb(145, 70, 190)), pin("bluePin1.png", rgb(40, 120, 220))};
}

}  // namespace quorvel::art
