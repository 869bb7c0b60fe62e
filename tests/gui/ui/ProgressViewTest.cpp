// SPDX-License-Identifier: GPL-3.0-or-later
// The gauge widget: it keeps the ratios as given, repaints only on a change, and draws the
// percentage white inside the filled part or dark grey beside it.
#include <gtest/gtest.h>

#include "GuiTest.hpp"
#include "MainScreenTestEnv.hpp"
#include "ui/main/gtk/ProgressView.hpp"

namespace quorvel {
namespace {

using guitest::pixel;

TEST(ProgressView, RatiosAreKeptAsGivenAndRepaintOnlyOnAChange)
{
    guitest::initGtkmm();
    ProgressView gauge;
    gauge.setDProgr(2.5);
    gauge.setDMarker(-0.3);
    EXPECT_EQ(gauge.dProgr(), 2.5);
    EXPECT_EQ(gauge.dProgrNorm(), 1.0);
    EXPECT_EQ(gauge.dMarker(), -0.3);
    EXPECT_EQ(gauge.dMarkerNorm(), 0.0);

    const auto before = gauge.redrawRequests();
    gauge.setDProgr(2.5);
    gauge.setDMarker(-0.3);
    gauge.setStrProgrText(gauge.strProgrText());
    gauge.setStrMarkerText(gauge.strMarkerText());
    EXPECT_EQ(gauge.redrawRequests(), before) << "nothing changed, nothing repainted";

    gauge.setDProgr(0.4);
    EXPECT_EQ(gauge.redrawRequests(), before + 1);
    gauge.setStrMarkerText("March 6");
    EXPECT_EQ(gauge.redrawRequests(), before + 2) << "a new date shows even when the ratios stay";
}

struct Drawn {
    int darkGrey = 0;  // pixels of the outside percentage colour
    int white = 0;
};

// Counts text-coloured pixels in a band of the bar, between two x positions.
Drawn countIn(const Cairo::RefPtr<Cairo::ImageSurface>& image, const ViewRect& band)
{
    Drawn d;
    for (double y = band.y; y < band.bottom(); y += 1) {
        for (double x = band.x; x < band.right(); x += 1) {
            const auto c = pixel(image, x, y);
            if (c.r < 110 && std::abs(c.r - c.g) < 12 && std::abs(c.g - c.b) < 12) {
                ++d.darkGrey;
            }
            if (c.r > 245 && c.g > 245 && c.b > 245) {
                ++d.white;
            }
        }
    }
    return d;
}

struct ProgressViewDrawing : ::testing::Test {
    static void SetUpTestSuite() { guitest::initGtkmm(); }
    ProgressView gauge;
    guitest::ShownIn shown{gauge, 320, gauge.get_content_height()};

    Cairo::RefPtr<Cairo::ImageSurface> drawWith(double progress, const std::string& text)
    {
        gauge.setDProgr(progress);
        gauge.setDMarker(0.9);
        gauge.setStrProgrText(text);
        gauge.setStrMarkerText("");
        guitest::waitFrames(gauge);
        return guitest::picture(gauge);
    }
    // The band of the bar the percentage is centred in, between two x positions.
    ViewRect band(double fromX, double toX) const
    {
        const ViewRect bar = gauge.getProgressRect();
        return {fromX, bar.y + 6, toX - fromX, bar.height * 0.843 - 12};
    }
};

TEST_F(ProgressViewDrawing, NothingUsedPutsADarkGreyPercentageTenPointsIntoTheTrack)
{
    const auto image = drawWith(0, "0%");
    const ViewRect bar = gauge.getProgressRect();
    ASSERT_GT(bar.width, 100);
    EXPECT_EQ(countIn(image, band(bar.x, bar.x + 9)).darkGrey, 0) << "nothing before the 10-point gap";
    EXPECT_GT(countIn(image, band(bar.x + 10, bar.x + 60)).darkGrey, 20);
}

TEST_F(ProgressViewDrawing, AFullBarCentresAWhitePercentage)
{
    const auto image = drawWith(2.5, "250%");
    const ViewRect bar = gauge.getProgressRect();
    EXPECT_EQ(gauge.getFilledRect().width, bar.width) << "the used part covers the whole bar";
    const double middle = bar.x + bar.width / 2;
    EXPECT_GT(countIn(image, band(middle - 30, middle + 30)).white, 20);
    EXPECT_EQ(countIn(image, band(bar.x + 4, middle - 50)).white, 0) << "centred, not at the start";
    const auto green = pixel(image, bar.x + 4, bar.y + bar.height / 2);
    EXPECT_GT(green.g, green.r + 30) << "the used part is green";
}

}  // namespace
}  // namespace quorvel
