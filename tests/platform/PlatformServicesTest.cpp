// SPDX-License-Identifier: GPL-3.0-or-later
// Small platform services: the notification centre, the calendar across time zones and
// daylight-saving changes, distances, locale number parsing and file-driven counters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include <unicode/locid.h>

#include "platform/Calendar.hpp"
#include "platform/FileCounterSource.hpp"
#include "platform/Location.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/NumberFormat.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

TEST(NotificationCenter, DeliversByNameAndSenderAndStopsWithTheRegistration)
{
    NotificationCenter center;
    int a = 0, b = 0, any = 0;
    const int senderA = 0, senderB = 0;
    auto r1 = center.addObserver("x", [&](const Notification&) { ++a; }, &senderA);
    auto r2 = center.addObserver("x", [&](const Notification& n) { b += n.number.value_or(0) == 5 ? 1 : 0; }, &senderB);
    auto r3 = center.addObserver("x", [&](const Notification&) { ++any; });
    center.post("x", &senderA);
    center.post(Notification{"x", &senderB, 5});
    center.post("y", &senderA);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(any, 2);
    r3.reset();
    center.post("x", nullptr);
    EXPECT_EQ(any, 2);
}

TEST(NotificationCenter, AnObserverMayRemoveAnotherWhileBeingNotified)
{
    NotificationCenter center;
    int second = 0;
    NotificationCenter::Registration later;
    auto first = center.addObserver("x", [&](const Notification&) { later.reset(); });
    later = center.addObserver("x", [&](const Notification&) { ++second; });
    center.post("x", nullptr);
    EXPECT_EQ(second, 0);
}

TEST(NotificationCenter, ReplacingARegistrationEndsTheOneHeldBefore)
{
    NotificationCenter center;
    int first = 0, second = 0;
    auto held = center.addObserver("x", [&](const Notification&) { ++first; });
    held = center.addObserver("x", [&](const Notification&) { ++second; });
    center.post("x", nullptr);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    held = NotificationCenter::Registration();
    center.post("x", nullptr);
    EXPECT_EQ(second, 1);
    EXPECT_FALSE(held.active());
}

TEST(NotificationCenter, RegistrationsMayOutliveTheCentreAndEndFromTheirOwnHandler)
{
    NotificationCenter::Registration survivor;
    {
        NotificationCenter center;
        survivor = center.addObserver("x", [](const Notification&) {});
        EXPECT_TRUE(survivor.active());
    }
    EXPECT_FALSE(survivor.active());
    survivor.reset();

    NotificationCenter center;
    int calls = 0;
    auto self = std::make_shared<NotificationCenter::Registration>();
    *self = center.addObserver("x", [&calls, self](const Notification&) {
        ++calls;
        self->reset();  // stop observing from inside the handler
    });
    center.post("x", nullptr);
    center.post("x", nullptr);
    EXPECT_EQ(calls, 1);
    self->reset();
}

struct ZoneCase {
    const char* zone;
    int year, month, day, hour;
};

class CalendarZones : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(CalendarZones, ComponentsRoundTripAndDaysAdvanceAcrossDaylightSavingChanges)
{
    const ZoneCase& c = GetParam();
    test::ScopedTimeZone zone(c.zone);
    const auto d = Calendar::date({c.year, c.month, c.day, c.hour, 30, 0});
    ASSERT_TRUE(d.has_value());
    const DateComponents back = Calendar::components(*d);
    EXPECT_EQ(back.day, c.day);
    EXPECT_EQ(back.minute, 30);
    // Day by day through the change: every calendar day appears exactly once.
    DateComponents walk{c.year, c.month, c.day, 0, 30, 0};
    for (int i = 0; i < 5; ++i) {
        walk.day = c.day + i;
        const auto next = Calendar::date(walk);
        ASSERT_TRUE(next.has_value());
        const DateComponents got = Calendar::components(*next);
        EXPECT_EQ(got.day, Calendar::components(Calendar::date({c.year, c.month, c.day + i, 12, 0, 0}).value()).day);
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, CalendarZones,
                         ::testing::Values(ZoneCase{"Europe/Berlin", 2026, 3, 28, 2},
                                           ZoneCase{"Europe/Berlin", 2026, 10, 24, 2},
                                           ZoneCase{"America/New_York", 2026, 3, 7, 2},
                                           ZoneCase{"Australia/Lord_Howe", 2026, 4, 4, 1},
                                           ZoneCase{"America/Sao_Paulo", 2018, 11, 3, 0},
                                           ZoneCase{"Pacific/Apia", 2011, 12, 28, 12},
                                           ZoneCase{"UTC", 2024, 2, 28, 23}));

TEST(Calendar, AnInstantSeenBeforeIsDecomposedAnewInAZoneChangedSince)
{
    const Date noon{1'773'140'400};  // 2026-03-10 11:00 UTC
    const Date sameSlotCandidates[] = {noon, noon.plusSeconds(86'400), noon.plusSeconds(64), noon.plusSeconds(-1)};
    for (const auto& [zone, hour] : {std::pair{"Europe/Berlin", 12}, {"America/New_York", 7}, {"Asia/Kolkata", 16}}) {
        test::ScopedTimeZone tz(zone);
        for (int round = 0; round < 2; ++round) {  // the second round reads what the first one kept
            EXPECT_EQ(Calendar::components(noon).hour, hour) << zone;
            EXPECT_EQ(Calendar::components(sameSlotCandidates[1]).day, 11) << zone;
            EXPECT_EQ(Calendar::components(sameSlotCandidates[2]).minute, zone == std::string("Asia/Kolkata") ? 31 : 1);
            EXPECT_EQ(Calendar::components(sameSlotCandidates[3]).second, 59) << zone;
        }
    }
}

TEST(Calendar, MonthLengths)
{
    EXPECT_EQ(Calendar::daysInMonth(2024, 2), 29);
    EXPECT_EQ(Calendar::daysInMonth(2100, 2), 28);
    EXPECT_EQ(Calendar::daysInMonth(2000, 2), 29);
    EXPECT_EQ(Calendar::daysInMonth(2026, 4), 30);
    EXPECT_EQ(Calendar::daysInMonth(2026, 12), 31);
    EXPECT_EQ(Calendar::daysInMonth(2026, 13), 0);
}

TEST(Location, DistancesInMetres)
{
    const Location a{52.0, 13.0, 0, Date{}};
    EXPECT_NEAR(a.distanceFromLocation(Location{52.0 + 0.001, 13.0, 0, Date{}}), 111.2, 0.1);
    EXPECT_NEAR(a.distanceFromLocation(a), 0.0, 1e-9);
    EXPECT_NEAR((Location{0, 0, 0, Date{}}).distanceFromLocation(Location{0, 180, 0, Date{}}), 20015114, 100);
    EXPECT_FALSE((Location{91, 0, 0, Date{}}).isValid());
    EXPECT_FALSE((Location{0, std::nan(""), 0, Date{}}).isValid());
}

// The short distance tells places apart as the great-circle distance does: close to it where
// places are near, and short nowhere else, across the antimeridian and near the poles too.
TEST(Location, ShortDistancesTellPlacesApartAsTheGreatCircleDoes)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> latitude(-89.0, 89.0);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    const auto near = [&](const Location& a, double degrees) {
        Location b{std::clamp(a.latitude + degrees * step(random), -90.0, 90.0), a.longitude + degrees * step(random),
                   0, Date{}};
        b.longitude += b.longitude > 180.0 ? -360.0 : (b.longitude < -180.0 ? 360.0 : 0.0);
        return b;
    };
    double worstWithin1Km = 0.0;
    double worstWithin10Km = 0.0;
    for (int i = 0; i < 20000; ++i) {
        const Location a{latitude(random), longitude(random), 0, Date{}};
        const Location far{latitude(random), longitude(random), 0, Date{}};
        for (const Location& b : {near(a, 0.001), near(a, 0.01), near(a, 0.1), far}) {
            const double exact = a.distanceFromLocation(b);
            const double error = std::fabs(a.shortDistanceFrom(b) - exact);
            if (exact <= 1'000.0) {
                worstWithin1Km = std::max(worstWithin1Km, error);
            } else if (exact <= 10'000.0) {
                worstWithin10Km = std::max(worstWithin10Km, error);
            }
            if (std::fabs(exact - 100.0) > 0.001) {
                ASSERT_EQ(a.shortDistanceFrom(b) <= 100.0, exact <= 100.0)
                    << a.latitude << "," << a.longitude << " to " << b.latitude << "," << b.longitude;
            }
        }
    }
    EXPECT_LT(worstWithin1Km, 0.001);
    EXPECT_LT(worstWithin10Km, 0.05);
    const Location west{10.0, 179.9995, 0, Date{}};
    EXPECT_NEAR(west.shortDistanceFrom(Location{10.0, -179.9995, 0, Date{}}), 109.6, 0.1) << "across the antimeridian";
}

TEST(NumberFormat, ParsesWholeEntriesOfTheCurrentLocale)
{
    EXPECT_EQ(NumberFormat::parseDecimal("500"), 500.0);
    EXPECT_EQ(NumberFormat::parseDecimal(" 2.5 "), 2.5);
    EXPECT_EQ(NumberFormat::parseDecimal("-5"), -5.0);
    for (const char* bad : {"", "abc", "12abc", "1 2", "--3"}) {
        EXPECT_EQ(NumberFormat::parseDecimal(bad), std::nullopt) << bad;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale before = icu::Locale::getDefault();
    icu::Locale::setDefault(icu::Locale("de_DE"), status);
    EXPECT_EQ(NumberFormat::parseDecimal("2,5"), 2.5);
    EXPECT_EQ(NumberFormat::formatDecimal(1.535, 0, 2), "1,54");
    icu::Locale::setDefault(before, status);
    EXPECT_EQ(NumberFormat::formatDecimal(2.0, 0, 2), "2");
    EXPECT_EQ(NumberFormat::formatDecimal(0.125, 0, 2), "0.12") << "half to even";
}

TEST(FileCounterSource, ReadsNameAndTwoCountersPerLine)
{
    test::TempDir dir;
    EXPECT_EQ(FileCounterSource(dir.path() / "none").read(), std::nullopt);
    StoredFile(dir.path() / "c").write(
        "wwan0 10 20\nbroken line\nlo 1 2\nbig 4294967296 18446744073709551615\nppp0 1 1 42\nvlan 1 1 43 42\n");
    const auto got = FileCounterSource(dir.path() / "c").read();
    ASSERT_TRUE(got.has_value());
    ASSERT_EQ(got->size(), 5u);
    EXPECT_EQ((*got)[0].name, "wwan0");
    EXPECT_EQ((*got)[0].txBytes, 20u);
    EXPECT_EQ((*got)[2].rxBytes, 4294967296u) << "64-bit like the kernel's";
    EXPECT_EQ((*got)[2].txBytes, 18446744073709551615u);
    EXPECT_EQ((*got)[0].index, FileCounterSource::indexForName("wwan0")) << "the same index in every process";
    EXPECT_NE((*got)[0].index, (*got)[1].index);
    EXPECT_GT((*got)[1].index, 0);
    EXPECT_EQ((*got)[3].index, 42);
    EXPECT_EQ((*got)[3].lowerIndex, 0);
    EXPECT_EQ((*got)[4].lowerIndex, 42);
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

TEST(Calendar, ADayAZoneSkippedBuildsAsTheNextExistingDay)
{
    test::ScopedTimeZone zone("Pacific/Apia");  // 30 December 2011 never happened there
    const auto d = Calendar::date({2011, 12, 30, 12, 0, 0});
    ASSERT_TRUE(d.has_value());
    const DateComponents c = Calendar::components(*d);
    EXPECT_EQ(c.month, 12);
    EXPECT_EQ(c.day, 31);
    EXPECT_EQ(Calendar::components(*Calendar::date({2011, 12, 29, 12, 0, 0})).day, 29);
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

TEST(Calendar, WallTimesInAGapMoveForwardAndRepeatedOnesExist)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    const DateComponents gap = Calendar::components(*Calendar::date({2026, 3, 29, 2, 30, 0}));
    EXPECT_EQ(gap.hour, 3);
    EXPECT_EQ(gap.minute, 30);
    const DateComponents fold = Calendar::components(*Calendar::date({2026, 10, 25, 2, 30, 0}));
    EXPECT_EQ(fold.hour, 2);
    EXPECT_EQ(fold.day, 25);
    // Carried-over fields, as the billing calendar builds them.
    const DateComponents carried = Calendar::components(*Calendar::date({2026, 13, 0, 12, 0, 0}));
    EXPECT_EQ(carried.year, 2026);
    EXPECT_EQ(carried.month, 12);
    EXPECT_EQ(carried.day, 31);
}

}  // namespace
}  // namespace quorvel
