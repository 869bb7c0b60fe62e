// SPDX-License-Identifier: GPL-3.0-or-later
// The gauge's geometry as lists of cases: the bar, the filled part, the marker and its line, the
// areas under the line, and where the percentage and the date go.
#include <gtest/gtest.h>

#include <cmath>

#include "ui/main/ProgressViewGeometry.hpp"

namespace quorvel {
namespace {

using G = ProgressViewGeometry;

// A 300 × 100 gauge with 8-point caps and 16-point arrows: the bar is (8, 16, 284, 68).
const G::Margins kMargins{8, 8, 16};
constexpr double kW = 300, kH = 100;
const ViewRect kBar{8, 16, 284, 68};

TEST(ProgressViewGeometry, NormClampsToTheUnitRangeAndDrawsNaNAsZero)
{
    const struct {
        double in, out;
    } cases[] = {{-0.3, 0}, {0, 0}, {0.25, 0.25}, {1, 1}, {2.5, 1}, {NAN, 0}, {INFINITY, 1}, {-INFINITY, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(G::norm(c.in), c.out) << c.in;
    }
}

TEST(ProgressViewGeometry, MarginsTruncateThePictureSizesAndNeedBothArrows)
{
    const struct {
        double left, right;
        bool arrows;
        double top, bottom;
        G::Margins expected;
    } cases[] = {
        {8.9, 7.5, true, 16.7, 12, {8, 7, 16}},
        {8, 8, true, 10, 16.2, {8, 8, 16}},
        {0, 0, false, 16, 16, {0, 0, 0}},  // an arrow picture is missing
    };
    for (const auto& c : cases) {
        const auto m = G::margins(c.left, c.right, c.arrows, c.top, c.bottom);
        EXPECT_EQ(m.left, c.expected.left);
        EXPECT_EQ(m.right, c.expected.right);
        EXPECT_EQ(m.vert, c.expected.vert);
    }
}

TEST(ProgressViewGeometry, BarFilledPartAndMarker)
{
    EXPECT_EQ(G::progressRect(kW, kH, kMargins), kBar);
    EXPECT_EQ(G::progressRect(kW, kH, {}), (ViewRect{0, 0, 300, 100})) << "missing pictures measure 0";

    const struct {
        double progress, filledWidth;
    } fills[] = {{0, 0}, {0.5, 142}, {0.999, 283}, {2.5, 284}, {-1, 0}};
    for (const auto& f : fills) {
        EXPECT_EQ(G::filledRect(kBar, f.progress), (ViewRect{8, 16, f.filledWidth, 68})) << f.progress;
    }

    const struct {
        double marker, x;
    } markers[] = {{0, 8}, {0.5, 150}, {1, 292}, {-0.3, 8}, {1.7, 292}, {0.3, 8 + 284 * 0.3}};
    for (const auto& m : markers) {
        EXPECT_DOUBLE_EQ(G::markerX(kBar, m.marker), m.x) << m.marker;
    }
}

TEST(ProgressViewGeometry, MarkerLineAndArrowsFollowTheLineShare)
{
    const double hm = 0.843 * 68;
    EXPECT_DOUBLE_EQ(G::markerLineLength(kBar), hm);
    // Line: its left edge truncated to a whole point.
    EXPECT_EQ(G::markerLineRect(kBar, 0.3, 4), (ViewRect{std::trunc(8 + 284 * 0.3 - 2), 16, 4, hm}));
    EXPECT_EQ(G::topArrowRect(kBar, 0.5, 16, 16), (ViewRect{142, 0, 16, 16}));
    EXPECT_EQ(G::bottomArrowRect(kBar, 0.5, 16, 12), (ViewRect{142, 16 + hm, 16, 12}));
}

TEST(ProgressViewGeometry, TitleAreasAreDividedAtTheMarker)
{
    const double top = 16 + 0.843 * 68;
    const struct {
        double marker, leftWidth;
    } cases[] = {{0, 0}, {0.25, 71}, {1, 284}, {-0.3, 0}};
    for (const auto& c : cases) {
        const auto t = G::titleRects(kH, kBar, c.marker);
        EXPECT_EQ(t.left, (ViewRect{8, top, c.leftWidth, kH - top})) << c.marker;
        EXPECT_EQ(t.right, (ViewRect{8 + c.leftWidth, top, 284 - c.leftWidth, kH - top})) << c.marker;
    }
}

TEST(ProgressViewGeometry, PercentageSitsInTheFilledPartOnlyWhenMoreThanTwoPointsToSpare)
{
    const double textTop = 16 + (0.843 * 68 - 30) / 2;
    const struct {
        const char* name;
        double filledWidth, textWidth;
        bool inside;
        double x;
    } cases[] = {
        {"whole bar (dProgr 2.5)", 284, 60, true, 8 + (284 - 60) / 2.0},
        {"nothing used (dProgr 0)", 0, 60, false, 8 + 0 + 10},
        {"exactly 2 wider than the text", 62, 60, false, 8 + 62 + 10},
        {"just over 2 wider", 62.5, 60, true, 8 + (62.5 - 60) / 2},
        {"narrower than the text", 40, 60, false, 8 + 40 + 10},
    };
    for (const auto& c : cases) {
        const ViewRect filled{8, 16, c.filledWidth, 68};
        const auto placed = G::progressTextPlacement(kBar, filled, c.textWidth, 30);
        EXPECT_EQ(placed.inside, c.inside) << c.name;
        EXPECT_DOUBLE_EQ(placed.origin.x, c.x) << c.name;
        EXPECT_DOUBLE_EQ(placed.origin.y, textTop) << c.name;
    }
}

TEST(ProgressViewGeometry, DateIsCentredUnderTheMarkerOrMovedBesideIt)
{
    const double top = 16 + 0.843 * 68;
    const struct {
        const char* name;
        double marker, textWidth;
        G::Point expected;
    } cases[] = {
        {"room on both sides", 0.5, 60, {150 - 30, top + 10}},
        {"marker 0: right of the marker", 0, 60, {8 + 10, top + 4}},
        {"marker -0.3 draws as 0", -0.3, 60, {8 + 10, top + 4}},
        {"marker 1: ends 8 left of it", 1, 60, {292 - 60 - 8, top + 4}},
        {"marker 1, text wider than the bar", 1, 300, {292 + 10, top + 4}},
        {"exactly half the text on the left", 30.0 / 284, 60, {38 - 30, top + 10}},
        {"too little on the left, enough for the whole text on the right", 20.0 / 284, 60, {28 + 10, top + 4}},
    };
    for (const auto& c : cases) {
        const auto titles = G::titleRects(kH, kBar, c.marker);
        const auto at = G::markerTextPlacement(titles, G::markerX(kBar, c.marker), c.textWidth);
        EXPECT_NEAR(at.x, c.expected.x, 1e-9) << c.name;
        EXPECT_NEAR(at.y, c.expected.y, 1e-9) << c.name;
    }
}

TEST(ProgressViewGeometry, PreferredHeightLeavesRoomForACentredDate)
{
    const struct {
        G::Margins margins;
        double dateHeight, minimumBar;
    } cases[] = {{{8, 8, 16}, 15, 40}, {{8, 8, 0}, 15, 40}, {{8, 8, 40}, 15, 10}, {{0, 0, 30}, 20, 90}};
    for (const auto& c : cases) {
        const double h = G::preferredHeight(c.margins, c.dateHeight, c.minimumBar);
        const ViewRect bar = G::progressRect(300, h, c.margins);
        const double lineEnd = bar.y + G::markerLineLength(bar);
        EXPECT_GE(h - lineEnd, 10 + c.dateHeight) << "the date fits below the line";
        EXPECT_GE(bar.height, c.minimumBar);
        const ViewRect lower = G::progressRect(300, h - 1, c.margins);
        const bool dateFits = h - 1 - (lower.y + G::markerLineLength(lower)) >= 10 + c.dateHeight;
        EXPECT_FALSE(dateFits && lower.height >= c.minimumBar) << "and is the lowest such height";
    }
}

}  // namespace
}  // namespace quorvel
