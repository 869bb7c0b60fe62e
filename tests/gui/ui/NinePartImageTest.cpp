// SPDX-License-Identifier: GPL-3.0-or-later
// Framed panels: where the nine pieces go, that they are tiled from their own corner rather than
// stretched, and that a set of fewer than nine pictures paints nothing at all.
#include <gtest/gtest.h>

#include <vector>

#include "GuiTest.hpp"
#include "MainScreenTestEnv.hpp"
#include "ui/main/gtk/UIImageAdditions.hpp"
#include "ui/main/gtk/View9PartsGeneral.hpp"

namespace quorvel {
namespace {

using guitest::pixel;
using Image = ImageStore::Image;

// A picture of w × h points (two pixels per point) in one colour, or, with `spot`, that colour
// only in its top-left point and blue elsewhere.
Image solid(double w, double h, double r, double g, double b, bool spot = false)
{
    Image image;
    image.surface = Cairo::ImageSurface::create(Cairo::Surface::Format::ARGB32, static_cast<int>(w * 2),
                                                static_cast<int>(h * 2));
    cairo_surface_set_device_scale(image.surface->cobj(), 2, 2);
    auto cr = Cairo::Context::create(image.surface);
    cr->set_source_rgb(spot ? 0 : r, spot ? 0 : g, spot ? 1 : b);
    cr->paint();
    if (spot) {
        cr->set_source_rgb(r, g, b);
        cr->rectangle(0, 0, 1, 1);
        cr->fill();
    }
    image.surface->flush();
    image.width = w;
    image.height = h;
    return image;
}

std::vector<const Image*> pointersTo(const std::vector<Image>& images)
{
    std::vector<const Image*> out;
    for (const Image& i : images) {
        out.push_back(&i);
    }
    return out;
}

Cairo::RefPtr<Cairo::ImageSurface> canvas(int w, int h)
{
    auto s = Cairo::ImageSurface::create(Cairo::Surface::Format::ARGB32, w, h);
    auto cr = Cairo::Context::create(s);
    cr->set_source_rgb(1, 1, 1);
    cr->paint();
    return s;
}

TEST(NinePartImage, PiecesFollowTheCornerAndEdgeSizes)
{
    // Deliberately unequal sizes, so each rule shows which piece it measures.
    const std::vector<Image> images = {solid(12, 10, 0, 0, 0), solid(8, 11, 0, 0, 0), solid(14, 12, 0, 0, 0),
                                       solid(9, 8, 0, 0, 0),   solid(8, 8, 0, 0, 0),  solid(10, 8, 0, 0, 0),
                                       solid(13, 6, 0, 0, 0),  solid(8, 7, 0, 0, 0),  solid(15, 9, 0, 0, 0)};
    const auto r = UIImageAdditions::ninePartRects(pointersTo(images), {5, 7, 100, 80});
    const ViewRect expected[9] = {
        {5, 7, 12, 10},          {17, 7, 74, 11},         {91, 7, 14, 12},
        {5, 17, 9, 64},          {14, 17, 74, 62},        {95, 17, 10, 59},
        {5, 81, 13, 6},          {18, 80, 72, 7},         {90, 78, 15, 9},
    };
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(r[i], expected[i]) << "piece " << i;
    }
}

TEST(NinePartImage, PiecesAreTiledFromTheirOwnCornerNotStretched)
{
    // 10-point green corners and edges; a 4-point centre picture red only in its first point.
    std::vector<Image> images(9, solid(10, 10, 0, 1, 0));
    images[4] = solid(4, 4, 1, 0, 0, true);
    auto surface = canvas(40, 40);
    UIImageAdditions::drawNinePartImage(Cairo::Context::create(surface), pointersTo(images), {0, 0, 40, 40});
    surface->flush();
    const auto red = [&](double x, double y) {
        const auto c = pixel(surface, x, y);
        return c.r > 200 && c.g < 60 && c.b < 60;
    };
    const auto blue = [&](double x, double y) {
        const auto c = pixel(surface, x, y);
        return c.b > 200 && c.r < 60 && c.g < 60;
    };
    EXPECT_EQ(pixel(surface, 2, 2).g, 255) << "corner";
    EXPECT_TRUE(red(10.5, 10.5)) << "the centre's first tile starts at its corner";
    EXPECT_TRUE(blue(12.5, 12.5));
    EXPECT_TRUE(red(14.5, 14.5)) << "and repeats every 4 points";
    EXPECT_TRUE(red(26.5, 18.5));
    EXPECT_TRUE(blue(29.5, 29.5));
}

TEST(NinePartImage, FewerThanNinePicturesPaintNothing)
{
    const std::vector<Image> images(8, solid(10, 10, 0, 1, 0));
    auto surface = canvas(40, 40);
    UIImageAdditions::drawNinePartImage(Cairo::Context::create(surface), pointersTo(images), {0, 0, 40, 40});
    surface->flush();
    for (double p : {1.0, 15.0, 20.0, 35.0}) {
        const auto c = pixel(surface, p, p);
        EXPECT_EQ(c.r + c.g + c.b, 3 * 255) << "untouched at " << p;
    }
}

TEST(NinePartImage, AGeneralPanelTakesExactlyNinePictures)
{
    guitest::initGtkmm();
    const std::vector<Image> nine(9, solid(10, 10, 0, 1, 0));
    auto pointers = pointersTo(nine);
    View9PartsGeneral panel;
    panel.set_size_request(60, 60);
    guitest::ShownIn shown(panel, 60, 60);

    panel.setImages(pointers);
    EXPECT_EQ(panel.getPanelImages().size(), 9u);
    guitest::waitFrames(panel);
    EXPECT_EQ(pixel(guitest::picture(panel), 30, 30).g, 255) << "the panel paints its own pictures";

    pointers.pop_back();
    panel.setImages(pointers);
    EXPECT_TRUE(panel.getPanelImages().empty()) << "eight pictures empty the list";
    panel.queue_draw();
    guitest::waitFrames(panel);
    EXPECT_EQ(pixel(guitest::picture(panel), 30, 30).g, 0) << "and the panel paints nothing";
}

}  // namespace
}  // namespace quorvel
