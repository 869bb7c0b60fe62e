// SPDX-License-Identifier: GPL-3.0-or-later
// Icons of the settings rows (28 × 28 points) and the rows' disclosure arrow.
#include <cmath>

#include "ImageSpec.hpp"
#include "Paint.hpp"

namespace quorvel::art {

namespace {

constexpr double kIcon = 28;

double radians(double degrees)
{
    return degrees * kPi / 180;
}

// A ring three quarters full: the share of the plan.
void paintDataPlan(cairo_t* cr, double w, double h)
{
    const double cx = w / 2, cy = h / 2, r = 9.5;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    stroke(cr, 5, rgb(84, 89, 120));
    cairo_arc(cr, cx, cy, r, radians(-90), radians(180));
    cairo_set_source(cr, linear(0, cy - r, 0, cy + r, {{0, rgb(190, 232, 100)}, {1, palette::gaugeGreen}}).get());
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, 2.2, 0, 2 * kPi);
    setColor(cr, palette::text);
    cairo_fill(cr);
}

// A calendar page with a green header and the start day marked in orange.
void paintCalendar(cairo_t* cr, double, double)
{
    const double x = 4.5, y = 6, w = 19, h = 18;
    roundedRect(cr, x, y, w, h, 3);
    fillVertical(cr, y, y + h, {{0, rgb(238, 240, 245)}, {1, rgb(200, 204, 216)}});
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y, w, 5.5);
    fillVertical(cr, y, y + 5.5, {{0, palette::accent}, {1, palette::gaugeGreen}});
    cairo_restore(cr);
    cairo_new_path(cr);
    roundedRect(cr, x, y, w, h, 3);
    stroke(cr, 1, rgb(20, 21, 33));
    for (double ringX : {9.5, 17.5}) {
        roundedRect(cr, ringX - 1.1, 3.5, 2.2, 5, 1.1);
        setColor(cr, rgb(46, 49, 71));
        cairo_fill(cr);
    }
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            roundedRect(cr, 7 + column * 3.8, 13.5 + row * 3.4, 2.4, 2.2, 0.5);
            setColor(cr, row == 1 && column == 2 ? palette::warm : rgb(120, 125, 146));
            cairo_fill(cr);
        }
    }
}

// A circular arrow in the warm colour: start again.
void paintReset(cairo_t* cr, double w, double h)
{
    const double cx = w / 2, cy = h / 2 + 0.5, r = 8.5;
    const double end = radians(-115);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, cx, cy, r, radians(-55), end + 2 * kPi);
    stroke(cr, 3, palette::warm);
    const double px = cx + r * std::cos(end), py = cy + r * std::sin(end);
    const double dx = std::cos(end + kPi / 2), dy = std::sin(end + kPi / 2);
    cairo_move_to(cr, px + dx * 5, py + dy * 5);
    cairo_line_to(cr, px - dx * 1.5 - dy * 4.5, py - dy * 1.5 + dx * 4.5);
    cairo_line_to(cr, px - dx * 1.5 + dy * 4.5, py - dy * 1.5 - dx * 4.5);
    cairo_close_path(cr);
    setColor(cr, palette::warm);
    cairo_fill(cr);
}

// A glowing bulb: a tip worth knowing.
void paintTip(cairo_t* cr, double w, double)
{
    const double cx = w / 2, cy = 11, r = 7.5;
    cairo_arc(cr, cx, cy, r + 3, 0, 2 * kPi);
    cairo_set_source(cr, radial(cx, cy, r - 1, cx, cy, r + 3, {{0, withAlpha(palette::warm, 0.35)},
                                                                 {1, withAlpha(palette::warm, 0)}})
                             .get());
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r, radians(140), radians(40) + 2 * kPi);
    cairo_line_to(cr, cx + 3.5, 19);
    cairo_line_to(cr, cx - 3.5, 19);
    cairo_close_path(cr);
    fillPreserve(cr, radial(cx - 2, cy - 2, 0.5, cx, cy, r + 2,
                            {{0, rgb(255, 250, 210)}, {0.5, rgb(255, 215, 90)}, {1, palette::warm}}));
    stroke(cr, 1, rgb(150, 95, 10));
    for (int i = 0; i < 3; ++i) {
        roundedRect(cr, cx - 3.8 + i * 0.4, 19.8 + i * 2.2, 7.6 - i * 0.8, 1.7, 0.8);
    }
    setColor(cr, rgb(170, 174, 192));
    cairo_fill(cr);
}

void paintDisclosure(cairo_t* cr, double w, double h)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, w / 2 - 2.5, h / 2 - 5);
    cairo_line_to(cr, w / 2 + 2.5, h / 2);
    cairo_line_to(cr, w / 2 - 2.5, h / 2 + 5);
    stroke(cr, 2.2, palette::muted);
}

}  // namespace

std::vector<ImageSpec> iconImages()
{
    return {
        {"ic_data_plan", kIcon, kIcon, paintDataPlan}, {"calendar2", kIcon, kIcon, paintCalendar},
        {"ic_reset", kIcon, kIcon, paintReset},         {"ic_app_tip", kIcon, kIcon, paintTip},
        {"arrow", 12, 16, paintDisclosure},
    };
}

}  // namespace quorvel::art
