// SPDX-License-Identifier: GPL-3.0-or-later
// The map screen as it is seen: where it centres, where the pins stand, what a callout says,
// and how it looks on a phone and a tablet with or without map tiles.
#include <gtest/gtest.h>

#include <cmath>

#include "MapTestSupport.hpp"

namespace quorvel {
namespace {

using maptest::place;
using maptest::summary;

class MapOnScreen : public maptest::MapScreenTest {
protected:
    // The callout's texts, without the empty labels of the popover's own parts.
    static std::vector<std::string> calloutTexts(MarkerView& marker)
    {
        auto texts = guitest::labelTexts(marker.callout());
        std::erase(texts, "");
        return texts;
    }

    double zoom() const { return shumate_viewport_get_zoom_level(screen_->viewport()); }
    double latitude() const { return shumate_location_get_latitude(SHUMATE_LOCATION(screen_->viewport())); }
    double longitude() const { return shumate_location_get_longitude(SHUMATE_LOCATION(screen_->viewport())); }

    // Where the place is on the map, in the map's pixels.
    graphene_point_t onMap(const MarkerView& marker) const
    {
        double x = 0, y = 0;
        const MapCoordinate& c = marker.annotation().coordinate();
        shumate_viewport_location_to_widget_coords(screen_->viewport(), GTK_WIDGET(screen_->mapView()), c.latitude,
                                                   c.longitude, &x, &y);
        return {static_cast<float>(x), static_cast<float>(y)};
    }

    void lookAtFivePlaces(int width, int height, const char* name);

    // Every place lies clear of the map's controls and with room for its pin.
    void expectPlacesInTheFreeRoom(int width, int height) const
    {
        for (const auto& marker : screen_->annotations()) {
            const graphene_point_t p = onMap(*marker);
            EXPECT_GE(p.x, LocationViewController::kFitInsetSide - 0.5) << marker->annotation().title();
            EXPECT_LE(p.x, width - LocationViewController::kFitInsetSide + 0.5) << marker->annotation().title();
            EXPECT_GE(p.y, LocationViewController::kFitInsetTop - 0.5) << marker->annotation().title();
            EXPECT_LE(p.y, height - LocationViewController::kFitInsetBottom + 0.5) << marker->annotation().title();
        }
    }
};

TEST_F(MapOnScreen, CentresOnThePlacesWhenFirstShownAndLaterUpdatesNeverMoveIt)
{
    screen_->updateInterface(summary(maptest::berlin()));
    show(1024, 768);
    ASSERT_TRUE(guitest::runUntil([&] { return zoom() == 13; }));
    expectPlacesInTheFreeRoom(1024, 768);
    const double lat = latitude();
    const double lon = longitude();
    EXPECT_NEAR(lon, (13.3759 + 13.4245) / 2, 1e-6);

    auto places = maptest::berlin();
    places.push_back(place(-33.8688, 151.2093, 5'000'000));
    TCResult change;
    change.pDAdded = places.back();
    screen_->updateInterface(summary(places, change));
    guitest::settle(10);
    EXPECT_EQ(zoom(), 13);
    EXPECT_EQ(latitude(), lat);
    EXPECT_EQ(longitude(), lon);
    EXPECT_EQ(screen_->annotations().size(), 6u);
}

TEST_F(MapOnScreen, AnEmptyMapShowsTheWorldAndTheFirstPlacesCentreIt)
{
    show(360, 720);
    ASSERT_TRUE(guitest::runUntil([&] { return zoom() == 0; }));
    guitest::settle(5);
    guitest::keepScreenshot(guitest::picture(screen_->widget()), "map_empty_phone");
    screen_->updateInterface(summary({place(48.8566, 2.3522, 10)}));
    ASSERT_TRUE(guitest::runUntil([&] { return zoom() == 15; }));  // a hundredth of a degree in 312 pixels
    EXPECT_NEAR(longitude(), 2.3522, 1e-6);
    // The one place stands in the middle of the room the map's controls leave free.
    const graphene_point_t p = onMap(*screen_->annotations().front());
    const double top = LocationViewController::kFitInsetTop;
    EXPECT_NEAR(p.x, 180.0, 1.0);
    EXPECT_NEAR(p.y, top + (720 - top - LocationViewController::kFitInsetBottom) / 2, 1.0);
}

TEST_F(MapOnScreen, EachPinStandsWithItsBottomCentreOnItsPlace)
{
    screen_->updateInterface(summary(maptest::berlin()));
    show(1024, 768);
    ASSERT_TRUE(guitest::runUntil([&] { return zoom() == 13; }));
    guitest::settle(10);
    for (const auto& marker : screen_->annotations()) {
        graphene_rect_t pin;
        ASSERT_TRUE(gtk_widget_compute_bounds(GTK_WIDGET(marker->pin().gobj()), GTK_WIDGET(screen_->mapView()), &pin));
        const graphene_point_t place = onMap(*marker);
        EXPECT_GT(pin.size.height, 10.0f);
        EXPECT_NEAR(pin.origin.y + pin.size.height, place.y, 1.0) << marker->annotation().title();
        EXPECT_NEAR(pin.origin.x + pin.size.width / 2, place.x, 1.0) << marker->annotation().title();
    }
}

TEST_F(MapOnScreen, ClickingAPinOpensItsCalloutWithAmountAndLatestActivity)
{
    screen_->updateInterface(summary(maptest::berlin()));
    show(360, 720);
    MarkerView& marker = *screen_->annotations().front();
    marker.showCallout();
    ASSERT_TRUE(guitest::runUntil([&] { return marker.callout().get_mapped(); }));
    guitest::settle(5);
    EXPECT_EQ(calloutTexts(marker),
              (std::vector<std::string>{"1.45 GB Data Used", "Latest Activity - March 14"}));

    // A change to that place while the callout is open shows in the open callout.
    const auto& delta = marker.annotation().pDeltaDataItem;
    delta->addTrafficDelta(50'000'000);
    TCResult change;
    change.pDChanged = delta;
    screen_->updateInterface(summary(*screen_->shownSummary()->parrTrafficDeltas(), change));
    guitest::settle(5);
    EXPECT_TRUE(marker.callout().get_mapped());
    EXPECT_EQ(calloutTexts(marker).front(), "1.5 GB Data Used");
    guitest::keepScreenshot(guitest::picture(marker.callout()), "map_callout");
}

// Shows the five places at that size, keeps the picture and checks that every pin is drawn over
// the ground (tiles or, offline, the background): its middle is not the ground's colour.
void MapOnScreen::lookAtFivePlaces(int width, int height, const char* name)
{
    screen_->updateInterface(summary(maptest::berlin()));
    show(width, height);
    ASSERT_TRUE(guitest::runUntil([&] { return zoom() == 13; }));
    expectPlacesInTheFreeRoom(width, height);
    guitest::settle(20);
    const auto image = guitest::picture(screen_->widget());
    guitest::keepScreenshot(image, name);
    guitest::keepScreenshot(guitest::picture(screen_->widget(), 2.0), std::string(name) + "_2x");
    const guitest::Rgb ground = guitest::pixel(image, 2, height / 2.0);
    for (const auto& marker : screen_->annotations()) {
        graphene_rect_t pin;
        ASSERT_TRUE(gtk_widget_compute_bounds(GTK_WIDGET(marker->pin().gobj()), GTK_WIDGET(screen_->mapView()), &pin));
        const guitest::Rgb mid =
            guitest::pixel(image, pin.origin.x + pin.size.width / 2, pin.origin.y + pin.size.width / 2);
        EXPECT_FALSE(mid.r == ground.r && mid.g == ground.g && mid.b == ground.b) << marker->annotation().title();
    }
}

TEST_F(MapOnScreen, FivePlacesOnAPhone)
{
    lookAtFivePlaces(360, 720, "map_phone");
}

TEST_F(MapOnScreen, FivePlacesOnATablet)
{
    lookAtFivePlaces(1024, 768, "map_tablet");
}

}  // namespace
}  // namespace quorvel
