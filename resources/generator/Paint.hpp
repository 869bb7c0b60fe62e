// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small Cairo helpers shared by the picture painters: colours, rounded shapes and gradients.
#include <cairo.h>

#include <initializer_list>
#include <memory>
#include <numbers>

namespace quorvel::art {

inline constexpr double kPi = std::numbers::pi;

struct Color {
    double r, g, b, a;
};

constexpr Color rgb(int r, int g, int b, double a = 1.0)
{
    return {r / 255.0, g / 255.0, b / 255.0, a};
}

// The application's dark look.
namespace palette {
inline constexpr Color background = rgb(36, 38, 58);
inline constexpr Color deep = rgb(24, 25, 39);
inline constexpr Color surface = rgb(46, 49, 71);
inline constexpr Color surfaceHigh = rgb(54, 57, 82);
inline constexpr Color edge = rgb(74, 78, 107);
inline constexpr Color shadow = rgb(12, 13, 20);
inline constexpr Color text = rgb(222, 224, 232);
inline constexpr Color muted = rgb(154, 158, 178);
inline constexpr Color accent = rgb(153, 204, 51);
inline constexpr Color tabTint = rgb(137, 197, 39);
inline constexpr Color gaugeGreen = rgb(95, 145, 25);
inline constexpr Color warm = rgb(245, 170, 40);
}  // namespace palette

Color mix(Color from, Color to, double t);
Color withAlpha(Color c, double alpha);
void setColor(cairo_t* cr, Color c);

struct Corners {
    double topLeft, topRight, bottomRight, bottomLeft;
};
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, Corners radii);

struct Stop {
    double offset;
    Color color;
};
struct PatternRelease {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
using Pattern = std::unique_ptr<cairo_pattern_t, PatternRelease>;

Pattern linear(double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
Pattern radial(double cx0, double cy0, double r0, double cx1, double cy1, double r1, std::initializer_list<Stop> stops);
// Fills the current path with the pattern and keeps the path.
void fillPreserve(cairo_t* cr, const Pattern& pattern);
// Fills the current path top to bottom from y0 to y1, keeping the path.
void fillVertical(cairo_t* cr, double y0, double y1, std::initializer_list<Stop> stops);
// Strokes the current path (and clears it) with a line of that width and colour.
void stroke(cairo_t* cr, double width, Color c);
// A one-point horizontal line across [x0, x1] whose top is at y.
void hairline(cairo_t* cr, double x0, double x1, double y, Color c, double thickness = 1.0);

}  // namespace quorvel::art
