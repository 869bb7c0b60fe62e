// SPDX-License-Identifier: GPL-3.0-or-later
// Backgrounds of grouped list rows: the first, middle and last row of a group and a row alone.
// Rows of a group share the side borders; a dark rule with a faint light under it separates
// them. Rounded corners stay within 12 points of the ends, so the pictures also serve as CSS
// border images sliced 12 points in from each side.
#include "ImageSpec.hpp"
#include "Paint.hpp"

namespace quorvel::art {

namespace {

enum class Position { Single, Up, Center, Down };

constexpr double kRowHeight = 44;
constexpr Color kBorder = rgb(66, 70, 98);
constexpr Color kRule = rgb(28, 30, 45);

void paintRow(cairo_t* cr, double w, double h, Position position, double radius)
{
    const bool top = position == Position::Single || position == Position::Up;
    const bool bottom = position == Position::Single || position == Position::Down;
    const double rt = top ? radius : 0, rb = bottom ? radius : 0;
    roundedRect(cr, 0, 0, w, h, Corners{rt, rt, rb, rb});
    setColor(cr, kBorder);
    cairo_fill(cr);
    const double y0 = top ? 1 : 0, y1 = bottom ? h - 1 : h;
    const double it = top ? radius - 1 : 0, ib = bottom ? radius - 1 : 0;
    roundedRect(cr, 1, y0, w - 2, y1 - y0, Corners{it, it, ib, ib});
    fillVertical(cr, 0, h, {{0, rgb(55, 58, 84)}, {1, rgb(45, 48, 70)}});
    cairo_new_path(cr);
    if (!top) {
        hairline(cr, 1, w - 1, 0, rgb(255, 255, 255, 0.05));
    }
    if (!bottom) {
        hairline(cr, 1, w - 1, h - 1, kRule);
    }
}

void addSet(std::vector<ImageSpec>& out, const std::string& prefix, double width, double radius)
{
    const std::pair<const char*, Position> kinds[] = {
        {"tabrow", Position::Single},
        {"tabrow_up", Position::Up},
        {"tabrow_center", Position::Center},
        {"tabrow_down", Position::Down},
    };
    for (const auto& [name, position] : kinds) {
        out.push_back({prefix + name, width, kRowHeight, [position, radius](cairo_t* cr, double w, double h) {
                           paintRow(cr, w, h, position, radius);
                       }});
    }
}

}  // namespace

std::vector<ImageSpec> rowImages()
{
    std::vector<ImageSpec> out;
    addSet(out, "", 300, 8);
    addSet(out, "ipad_", 680, 10);
    return out;
}

}  // namespace quorvel::art
