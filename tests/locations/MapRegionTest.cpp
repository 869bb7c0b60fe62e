// SPDX-License-Identifier: GPL-3.0-or-later
// The region the map centres on and the zoom that fits it.
#include <gtest/gtest.h>

#include "MapPlaces.hpp"
#include "locations/MapRegion.hpp"

namespace quorvel {
namespace {

TEST(MapRegion, CoversThePlacesWithAMinimumSpan)
{
    EXPECT_FALSE(MapRegion::forDeltas({}));
    EXPECT_FALSE(MapRegion::forDeltas({nullptr}));

    // All at one point: a hundredth of a degree each way, centred on it.
    const auto one = MapRegion::forDeltas({maptest::place(52.52, 13.405, 1), maptest::place(52.52, 13.405, 2)});
    ASSERT_TRUE(one);
    EXPECT_DOUBLE_EQ(one->centerLatitude, 52.52);
    EXPECT_DOUBLE_EQ(one->centerLongitude, 13.405);
    EXPECT_DOUBLE_EQ(one->spanLatitude, 0.01);
    EXPECT_DOUBLE_EQ(one->spanLongitude, 0.01);

    const auto five = MapRegion::forDeltas(maptest::berlin());
    ASSERT_TRUE(five);
    EXPECT_NEAR(five->centerLatitude, (52.4862 + 52.5306) / 2, 1e-9);
    EXPECT_NEAR(five->centerLongitude, (13.3759 + 13.4245) / 2, 1e-9);
    EXPECT_NEAR(five->spanLatitude, 52.5306 - 52.4862, 1e-9);
    EXPECT_NEAR(five->spanLongitude, 13.4245 - 13.3759, 1e-9);

    // Narrow one way only: just that span is widened.
    const auto line = MapRegion::forDeltas({maptest::place(10.0, 20.0, 1), maptest::place(12.0, 20.001, 1)});
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ(line->spanLatitude, 2.0);
    EXPECT_DOUBLE_EQ(line->spanLongitude, 0.01);

    // A place without a location counts at 0, 0, as its marker stands there.
    auto lost = maptest::place(0, 0, 1);
    lost->pLocation.reset();
    const auto withLost = MapRegion::forDeltas({lost, maptest::place(-10.0, 40.0, 1)});
    ASSERT_TRUE(withLost);
    EXPECT_DOUBLE_EQ(withLost->centerLatitude, -5.0);
    EXPECT_DOUBLE_EQ(withLost->centerLongitude, 20.0);
}

TEST(MapRegion, ZoomIsTheLargestWholeLevelAtWhichBothSpansFit)
{
    const MapRegion equatorStrip{0.0, 0.0, 0.01, 360.0 / 1024};  // a quarter pixel at zoom 0
    const MapRegion berlinFive{52.5084, 13.4002, 0.0444, 0.0486};
    const MapRegion berlinPoint{52.52, 13.405, 0.01, 0.01};
    const struct {
        const char* what;
        MapRegion region;
        double width, height;
        double zoom;
    } cases[] = {
        {"world in one tile", MapRegion::world(), 256, 256, 0},
        {"world on a tablet: the height decides", MapRegion::world(), 1024, 768, 1},
        {"longitude exactly fills the width", equatorStrip, 256, 1000, 10},
        {"one pixel short of it", equatorStrip, 255, 1000, 9},
        {"a degree of latitude at the equator", {0.0, 0.0, 1.0, 0.01}, 1000, 512, 9},
        {"the same degree at 60 north is twice as tall", {60.0, 0.0, 1.0, 0.01}, 1000, 512, 8},
        {"five places on a phone", berlinFive, 312, 600, 13},
        {"five places on a tablet: the height decides", berlinFive, 976, 648, 13},
        {"one place on a tablet", berlinPoint, 976, 648, 15},
        {"capped at the deepest level", berlinPoint, 1e6, 1e6, 19},
        {"no room", berlinPoint, 0, 600, 0},
        {"no height", berlinPoint, 600, -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MapRegion::zoomToFit(c.region, c.width, c.height, 256, 0, 19), c.zoom) << c.what;
    }
    // The floor of the source holds too.
    EXPECT_EQ(MapRegion::zoomToFit(MapRegion::world(), 256, 256, 256, 2, 19), 2);
}

TEST(MapRegion, AroundACentreIsWhatTheMapShowsCutToTheWorld)
{
    const struct {
        const char* what;
        double lat, lon, zoom, halfWidth, halfHeight;
        MapRegion expected;
    } cases[] = {
        {"far out: the whole world", 0, 0, 0, 1000, 1000, MapRegion::world()},
        {"a quarter of the world each way", 0, 0, 1, 128, 0, {0, 0, 0, 180}},
        {"a quarter of the height at the equator", 0, 0, 1, 0, 128, {0, 0, 2 * 66.51326044, 0}},
        {"at the east edge", 0, 180, 1, 128, 0, {0, 135, 0, 90}},
    };
    for (const auto& c : cases) {
        const MapRegion r = MapRegion::around(c.lat, c.lon, c.zoom, 256, c.halfWidth, c.halfHeight);
        EXPECT_NEAR(r.centerLatitude, c.expected.centerLatitude, 1e-6) << c.what;
        EXPECT_NEAR(r.centerLongitude, c.expected.centerLongitude, 1e-6) << c.what;
        EXPECT_NEAR(r.spanLatitude, c.expected.spanLatitude, 1e-6) << c.what;
        EXPECT_NEAR(r.spanLongitude, c.expected.spanLongitude, 1e-6) << c.what;
    }
}

TEST(MapRegion, OffsetByPixelsMovesAlongTheMercatorGrid)
{
    const struct {
        const char* what;
        double lat, lon, zoom, dx, dy;
        double expectedLat, expectedLon;
    } cases[] = {
        {"no offset", 52.52, 13.405, 13, 0, 0, 52.52, 13.405},
        {"a quarter world east", 0, 0, 1, 128, 0, 0, 90},
        {"a quarter world north", 0, 0, 1, 0, -128, 66.51326044, 0},
        {"beyond the east edge stops there", 0, 170, 1, 128, 0, 0, 180},
    };
    for (const auto& c : cases) {
        const auto [lat, lon] = MapRegion::offsetBy(c.lat, c.lon, c.zoom, 256, c.dx, c.dy);
        EXPECT_NEAR(lat, c.expectedLat, 1e-6) << c.what;
        EXPECT_NEAR(lon, c.expectedLon, 1e-6) << c.what;
    }
}

}  // namespace
}  // namespace quorvel
