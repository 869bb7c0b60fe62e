// SPDX-License-Identifier: GPL-3.0-or-later
// The map screen keeps one marker per place in step with the usage summaries it is given.
#include <gtest/gtest.h>

#include "MapTestSupport.hpp"

namespace quorvel {
namespace {

using maptest::Deltas;
using maptest::place;
using maptest::summary;

class MarkerBookkeeping : public maptest::MapScreenTest {
protected:
    // The markers' places, in marker order.
    std::vector<const DeltaTrafficItem*> markedPlaces() const
    {
        std::vector<const DeltaTrafficItem*> out;
        for (const auto& m : screen_->annotations()) {
            out.push_back(m->annotation().pDeltaDataItem.get());
        }
        EXPECT_EQ(screen_->markerCountOnMap(), out.size()) << "the map and the records disagree";
        return out;
    }
};

TEST_F(MarkerBookkeeping, AnEmptyListShowsNoMarkersUpdateAfterUpdate)
{
    EXPECT_TRUE(markedPlaces().empty());
    screen_->updateInterface(summary({}));
    EXPECT_TRUE(markedPlaces().empty());
    TCResult change;
    change.bUpdateAllAnnotations = true;
    screen_->updateInterface(summary({}, change));
    EXPECT_TRUE(markedPlaces().empty());
    screen_->updateInterface(nullptr);  // not a summary: ignored
    EXPECT_TRUE(markedPlaces().empty());
}

TEST_F(MarkerBookkeeping, TheFirstSummaryBuildsAMarkerPerPlaceInListOrder)
{
    const Deltas places = maptest::berlin();
    screen_->updateInterface(summary(places));
    EXPECT_EQ(markedPlaces(), (std::vector<const DeltaTrafficItem*>{places[0].get(), places[1].get(), places[2].get(),
                                                                     places[3].get(), places[4].get()}));
    EXPECT_EQ(markerTitles(), (std::vector<std::string>{"1.45 GB Data Used", "320 MB Data Used", "48 MB Data Used",
                                                        "2.5 MB Data Used", "6 KB Data Used"}));
    std::vector<std::string> pictures;
    for (const auto& m : screen_->annotations()) {
        pictures.push_back(m->pin().pictureName());
    }
    EXPECT_EQ(pictures, (std::vector<std::string>{"redPin.png", "greenPin.png", "bluePin1.png", "bluePin1.png",
                                                  "yellowPin.png"}));
}

TEST_F(MarkerBookkeeping, AChangedPlaceGetsItsMarkerReplacedWithTheNewAmountAndDate)
{
    Deltas places = maptest::berlin();
    screen_->updateInterface(summary(places));
    const auto& grown = places[4];  // 6 KB, yellow
    grown->addTrafficDelta(60'000'000);
    grown->pDateComp = DateComponents{2024, 4, 2, 9, 0, 0};
    TCResult change;
    change.pDChanged = grown;
    screen_->updateInterface(summary(places, change));

    EXPECT_EQ(markedPlaces().size(), 5u);
    const MarkerView* marker = screen_->findTheAnnotationForDelta(grown);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->annotation().nData, 60'006'000);
    EXPECT_EQ(marker->annotation().title(), "60.01 MB Data Used");
    EXPECT_EQ(marker->annotation().subtitle(), "Latest Activity - April 2");
    EXPECT_EQ(marker->pin().pictureName(), "greenPin.png");
}

TEST_F(MarkerBookkeeping, AnAddedPlaceGetsOneMarkerEvenWhenTheSameChangeComesTwice)
{
    Deltas places = maptest::berlin();
    screen_->updateInterface(summary(places));
    places.push_back(place(48.1371, 11.5754, 0));
    TCResult change;
    change.pDAdded = places.back();
    screen_->updateInterface(summary(places, change));
    screen_->updateInterface(summary(places, change));
    EXPECT_EQ(markedPlaces().size(), 6u);
    EXPECT_EQ(markedPlaces().back(), places.back().get());
    EXPECT_EQ(markerTitles().back(), "No Data Used");
}

TEST_F(MarkerBookkeeping, ARemovedPlaceLosesExactlyItsMarkerEvenBesideATwin)
{
    auto first = place(52.52, 13.405, 777);
    auto twin = place(52.52, 13.405, 777);  // same point, amount and date: equal but not the same
    auto other = place(52.50, 13.30, 5);
    screen_->updateInterface(summary({first, twin, other}));

    auto newcomer = place(52.60, 13.50, 1);
    TCResult change;
    change.pDAdded = newcomer;
    change.pDRemoved = twin;
    screen_->updateInterface(summary({first, other, newcomer}, change));
    EXPECT_EQ(markedPlaces(), (std::vector<const DeltaTrafficItem*>{first.get(), other.get(), newcomer.get()}));
    EXPECT_EQ(screen_->findTheAnnotationForDelta(twin), nullptr);

    // Removing a place that has no marker changes nothing.
    screen_->removeTheAnnotationForDelta(twin);
    EXPECT_EQ(markedPlaces().size(), 3u);
}

TEST_F(MarkerBookkeeping, RebuildsWhenToldAndOtherwiseKeepsTheMarkers)
{
    const Deltas before = maptest::berlin();
    screen_->updateInterface(summary(before));

    // Neither a change record nor a rebuild: the markers stay as they are.
    const Deltas unrelated = {place(40.0, -3.7, 123)};
    screen_->updateInterface(summary(unrelated));
    EXPECT_EQ(markedPlaces().size(), 5u);

    TCResult rebuild;
    rebuild.bUpdateAllAnnotations = true;
    rebuild.pDAdded = unrelated[0];  // ignored: the rebuild takes the list
    const Deltas after = {place(48.85, 2.35, 1'000'000'000), place(41.9, 12.5, 9'999)};
    screen_->updateInterface(summary(after, rebuild));
    EXPECT_EQ(markedPlaces(), (std::vector<const DeltaTrafficItem*>{after[0].get(), after[1].get()}));
    EXPECT_EQ(markerTitles(), (std::vector<std::string>{"1 GB Data Used", "10 KB Data Used"}));
}

TEST_F(MarkerBookkeeping, ResetEmptiesTheMapAndTheHeldListUntilTheNextSummary)
{
    auto held = summary(maptest::berlin());
    const std::size_t shared = held->parrTrafficDeltas()->size();
    screen_->updateInterface(held);
    screen_->onResetLocationsHandler(nullptr);
    EXPECT_TRUE(markedPlaces().empty());
    ASSERT_TRUE(screen_->shownSummary()->parrTrafficDeltas());
    EXPECT_TRUE(screen_->shownSummary()->parrTrafficDeltas()->empty());
    EXPECT_EQ(held->parrTrafficDeltas()->size(), shared) << "the summary the other screens share keeps its list";

    // Nothing to rebuild from the emptied summary; the next one brings places again.
    screen_->updateControls();
    EXPECT_TRUE(markedPlaces().empty());
    const Deltas fresh = {place(52.52, 13.405, 42)};
    screen_->updateInterface(summary(fresh));
    EXPECT_EQ(markedPlaces(), (std::vector<const DeltaTrafficItem*>{fresh[0].get()}));

    // A summary without a list survives a reset too.
    auto bare = std::make_shared<FTrafficDataInformation>();
    screen_->updateInterface(bare);
    screen_->onResetLocationsHandler(nullptr);
    EXPECT_FALSE(bare->parrTrafficDeltas());
}

}  // namespace
}  // namespace quorvel
