// SPDX-License-Identifier: GPL-3.0-or-later
// Which pin a place gets and what its callout says.
#include <gtest/gtest.h>

#include <string>

#include "MapPlaces.hpp"
#include "locations/PPAnnotation.hpp"
#include "locations/PinPicture.hpp"

namespace quorvel {
namespace {

TEST(PinPicture, ChangesColourExactlyAtEachBoundary)
{
    const struct {
        std::int64_t bytes;
        const char* picture;
    } cases[] = {
        {0, "grayPin.png"},
        {1, "yellowPin.png"},
        {9'999, "yellowPin.png"},
        {10'000, "purplePin.png"},
        {999'999, "purplePin.png"},
        {1'000'000, "bluePin1.png"},
        {49'999'999, "bluePin1.png"},
        {50'000'000, "greenPin.png"},
        {999'999'999, "greenPin.png"},
        {1'000'000'000, "redPin.png"},
        {INT64_MAX, "redPin.png"},
        {-5, "yellowPin.png"},  // a damaged amount is still not "no data"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PinPicture::nameForBytes(c.bytes), c.picture) << c.bytes;
    }
}

TEST(PPAnnotation, TitleNamesTheAmountOrNoData)
{
    const struct {
        std::int64_t bytes;
        const char* title;
    } cases[] = {
        {0, "No Data Used"},
        {512, "512 Bytes Data Used"},
        {1'450'000'000, "1.45 GB Data Used"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PPAnnotation::titleForBytes(c.bytes), c.title) << c.bytes;
    }
}

TEST(PPAnnotation, ShortDateNamesMonthAndDayOrNothing)
{
    EXPECT_EQ(PPAnnotation::shortDateText(DateComponents{2024, 3, 5, 14, 0, 0}), "Latest Activity - March 5");
    EXPECT_EQ(PPAnnotation::shortDateText(DateComponents{2023, 12, 31, 23, 0, 0}), "Latest Activity - December 31");
    EXPECT_EQ(PPAnnotation::shortDateText(DateComponents{2024, 13, 1, 0, 0, 0}), "");
    EXPECT_EQ(PPAnnotation::shortDateText(std::nullopt), "");
}

TEST(PPAnnotation, MarkerForDeltaCarriesItsAmountTextsAndPlace)
{
    auto d = maptest::place(52.52, 13.405, 10'000, 7, 4);
    const auto a = PPAnnotation::forDelta(d);
    EXPECT_EQ(a->pDeltaDataItem, d);
    EXPECT_EQ(a->nData, 10'000);
    EXPECT_EQ(a->title(), "10 KB Data Used");
    EXPECT_EQ(a->subtitle(), "Latest Activity - July 4");
    EXPECT_EQ(a->pinPictureName(), "purplePin.png");
    EXPECT_EQ(a->coordinate(), (MapCoordinate{52.52, 13.405}));

    // The marker keeps what it was made with when the place later grows.
    d->addTrafficDelta(5'000'000);
    EXPECT_EQ(a->nData, 10'000);
}

TEST(PPAnnotation, WithoutDateTheSubtitleIsTheCoordinateAndWithoutPlaceItStandsAtZero)
{
    auto d = maptest::place(-33.86882, 151.20729, 0);
    d->pDateComp.reset();
    EXPECT_EQ(PPAnnotation::forDelta(d)->subtitle(), "Lat: -33.8688, Lon: 151.2073");
    EXPECT_EQ(PPAnnotation::forDelta(d)->title(), "No Data Used");

    d->pLocation.reset();
    const auto a = PPAnnotation::forDelta(d);
    EXPECT_EQ(a->coordinate(), (MapCoordinate{0.0, 0.0}));
    EXPECT_EQ(a->subtitle(), "Lat: 0.0000, Lon: 0.0000");
}

}  // namespace
}  // namespace quorvel
