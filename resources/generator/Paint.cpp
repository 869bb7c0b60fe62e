// SPDX-License-Identifier: GPL-3.0-or-later
#include "Paint.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel::art {

Color mix(Color from, Color to, double t)
{
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Color withAlpha(Color c, double alpha)
{
    c.a = alpha;
    return c;
}

void setColor(cairo_t* cr, Color c)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius)
{
    roundedRect(cr, x, y, w, h, Corners{radius, radius, radius, radius});
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, Corners radii)
{
    const double limit = std::min(w, h) / 2;
    const double tl = std::min(radii.topLeft, limit);
    const double tr = std::min(radii.topRight, limit);
    const double br = std::min(radii.bottomRight, limit);
    const double bl = std::min(radii.bottomLeft, limit);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - tr, y + tr, tr, -kPi / 2, 0);
    cairo_arc(cr, x + w - br, y + h - br, br, 0, kPi / 2);
    cairo_arc(cr, x + bl, y + h - bl, bl, kPi / 2, kPi);
    cairo_arc(cr, x + tl, y + tl, tl, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

namespace {
void addStops(cairo_pattern_t* p, std::initializer_list<Stop> stops)
{
    for (const Stop& s : stops) {
        cairo_pattern_add_color_stop_rgba(p, s.offset, s.color.r, s.color.g, s.color.b, s.color.a);
    }
}
}  // namespace

Pattern linear(double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops)
{
    Pattern p{cairo_pattern_create_linear(x0, y0, x1, y1)};
    addStops(p.get(), stops);
    return p;
}

Pattern radial(double cx0, double cy0, double r0, double cx1, double cy1, double r1, std::initializer_list<Stop> stops)
{
    Pattern p{cairo_pattern_create_radial(cx0, cy0, r0, cx1, cy1, r1)};
    addStops(p.get(), stops);
    return p;
}

void fillPreserve(cairo_t* cr, const Pattern& pattern)
{
    cairo_set_source(cr, pattern.get());
    cairo_fill_preserve(cr);
}

void fillVertical(cairo_t* cr, double y0, double y1, std::initializer_list<Stop> stops)
{
    fillPreserve(cr, linear(0, y0, 0, y1, stops));
}

void stroke(cairo_t* cr, double width, Color c)
{
    cairo_set_line_width(cr, width);
    setColor(cr, c);
    cairo_stroke(cr);
}

void hairline(cairo_t* cr, double x0, double x1, double y, Color c, double thickness)
{
    cairo_rectangle(cr, x0, y, x1 - x0, thickness);
    setColor(cr, c);
    cairo_fill(cr);
}

}  // namespace quorvel::art
