// SPDX-License-Identifier: GPL-3.0-or-later
// The framed panel of the main screen, cut into nine pieces that the panel tiles: 12-point
// corners, 8-point edge and centre tiles. One painter draws the whole small panel and every piece
// is its window onto it, so the pieces always meet. Edges and centre are uniform along the
// direction they tile in.
#include "ImageSpec.hpp"
#include "Paint.hpp"

namespace quorvel::art {

namespace {

constexpr double kCorner = 12;
constexpr double kTile = 8;
constexpr double kWhole = 2 * kCorner + kTile;
constexpr double kRadius = 10;

void paintWholePanel(cairo_t* cr)
{
    // Outer rim (dark), border, then the face; the face is flat so the centre tiles seamlessly.
    roundedRect(cr, 0, 0, kWhole, kWhole, kRadius);
    setColor(cr, rgb(20, 21, 33));
    cairo_fill(cr);
    roundedRect(cr, 1, 1, kWhole - 2, kWhole - 2, kRadius - 1);
    setColor(cr, rgb(78, 83, 114));
    cairo_fill(cr);
    roundedRect(cr, 2, 2, kWhole - 4, kWhole - 4, kRadius - 2);
    setColor(cr, palette::surface);
    cairo_fill(cr);
    // A faint light along the top edge, inside the border.
    cairo_save(cr);
    roundedRect(cr, 2, 2, kWhole - 4, kWhole - 4, kRadius - 2);
    cairo_clip(cr);
    hairline(cr, 0, kWhole, 2, rgb(255, 255, 255, 0.07));
    cairo_restore(cr);
}

ImageSpec piece(const char* name, int column, int row)
{
    const double offsets[] = {0, kCorner, kCorner + kTile};
    const double sizes[] = {kCorner, kTile, kCorner};
    const double x = offsets[column], y = offsets[row];
    return {name, sizes[column], sizes[row], [x, y](cairo_t* cr, double, double) {
                cairo_translate(cr, -x, -y);
                paintWholePanel(cr);
            }};
}

}  // namespace

std::vector<ImageSpec> panelImages()
{
    return {piece("pimtl", 0, 0), piece("pimt", 1, 0), piece("pimtr", 2, 0),
            piece("pimml", 0, 1), piece("pimm", 1, 1), piece("pimmr", 2, 1),
            piece("pimbl", 0, 2), piece("pimb", 1, 2), piece("pimbr", 2, 2)};
}

}  // namespace quorvel::art
