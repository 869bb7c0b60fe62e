// SPDX-License-Identifier: GPL-3.0-or-later
// Day and month records: totals, copying days into billing months, period texts, archives.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "TestEnv.hpp"
#include "model/MonthTraffic.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {
namespace {

using test::localDate;
constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

CTrafficPoint day(int d, std::uint64_t bytes)
{
    return CTrafficPoint::trafficPointWithDate(localDate(2026, 3, d, 0, 10), bytes);
}

std::vector<int> dayNumbers(const MonthTraffic& m)
{
    std::vector<int> out;
    for (const CTrafficPoint& p : m.arrDaysTraffics()) {
        out.push_back(p.getDayNumberInMonth());
    }
    return out;
}

template <class T>
std::unique_ptr<T> roundTrip(const T& object, bool keyed)
{
    return ArchiveDecoder::unarchiveRootObject<T>(ArchiveEncoder::archivedDataWithRootObject(object, keyed), nullptr);
}

TEST(DayRecord, TotalsAndIndependentCopies)
{
    CTrafficPoint p = CTrafficPoint::trafficPointWithDate(localDate(2026, 3, 31, 23, 59));
    EXPECT_EQ(p.getTotalTraffic() + p.getTotalTrafficWf(), 0u);
    p.addTraffic(1234);
    EXPECT_EQ(p.pTraff(), 1234u);
    CTrafficPoint copy = p;
    copy.addTraffic(kMax);  // wraps around like the counters
    EXPECT_EQ(copy.getTotalTraffic(), 1233u);
    EXPECT_EQ(p.getTotalTraffic(), 1234u);
}

TEST(MonthRecord, TotalsDayCountAndCopy)
{
    MonthTraffic feb(localDate(2028, 2, 10), 1'000'000'000);
    EXPECT_EQ(feb.getDataUsed() + feb.getMaxDayUsedTraffic(), 0u);
    EXPECT_EQ(feb.pnDaysCount(), 29);  // the calendar month's length when no count is set
    feb.setDaysCount(31);
    EXPECT_EQ(feb.pnDaysCount(), 31);

    MonthTraffic m(localDate(2026, 3, 1), 2'000'000'000);
    m.setLastDate(localDate(2026, 3, 31));
    CTrafficPoint withWifi = day(2, 300);
    withWifi.addTrafficWf(1'000'000);  // Wi-Fi is not counted
    for (const CTrafficPoint& p : {day(1, 700), withWifi, day(3, 700)}) {
        m.bookDay(p);
    }
    EXPECT_EQ(m.getDataUsed(), 1700u);
    EXPECT_EQ(m.getMaxDayUsedTraffic(), 700u);
    m.bookDay(day(4, kMax));
    EXPECT_EQ(m.getDataUsed(), 1699u);  // wraps around
    EXPECT_EQ(m.getMaxDayUsedTraffic(), kMax);

    CTrafficPoint night = day(5, 400);
    night.addTraffic(600, 0, 600);  // used in free hours: a day's bytes, not used against the plan
    m.bookDay(night);
    EXPECT_EQ(m.getDataUsed(), 1699u + 400u);
    EXPECT_EQ(m.arrDaysTraffics().back().getTotalTraffic(), 1000u);
    m.bookDay(night);  // the same day met again keeps its free share apart too
    EXPECT_EQ(m.arrDaysTraffics().back().getFreeTraffic(), 1200u);

    MonthTraffic copy = m.copy();  // deep, and a calendar month again
    copy.bookDay(day(1, 5));
    EXPECT_EQ(m.arrDaysTraffics()[0].getTotalTraffic(), 700u);
    EXPECT_EQ(std::tuple(copy.date(), copy.pMonthPlan(), copy.nDaysCount(), copy.last_date()),
              std::tuple(m.date(), m.pMonthPlan(), 0, std::optional<Date>()));
}

TEST(MonthRecord, CopyingDaysBeforeAndSinceADay)
{
    // Days 3, 5, 2, 20: out of order, so that the early stop of "before" shows.
    std::vector<CTrafficPoint> source = {day(3, 30), day(5, 50), day(2, 20), day(20, 200)};
    const std::vector<CTrafficPoint> none;
    const struct {
        bool before;
        const std::vector<CTrafficPoint>* list;
        int d;
        std::vector<int> days;
    } cases[] = {
        {true, &source, 1, {}},           {true, &source, 4, {3}},         {true, &source, 6, {3, 5, 2}},
        {true, &source, 31, {3, 5, 2, 20}}, {true, &none, 31, {}},         {true, nullptr, 31, {}},
        {false, &source, 5, {5, 20}},     {false, &source, 21, {}},        {false, &source, 1, {3, 5, 2, 20}},
        {false, nullptr, 1, {}},
    };
    for (const auto& c : cases) {
        MonthTraffic m(localDate(2026, 3, 1), 1);
        const bool added = c.before ? m.addTrafficDaysFromTrafficsArrayBeforeDay(c.list, c.d)
                                    : m.addTrafficDaysFromTrafficsArraySinceDay(c.list, c.d);
        EXPECT_EQ(dayNumbers(m), c.days) << (c.before ? "before " : "since ") << c.d;
        EXPECT_EQ(added, !c.days.empty()) << (c.before ? "before " : "since ") << c.d;
    }
    MonthTraffic m(localDate(2026, 3, 1), 1);
    m.addTrafficDaysFromTrafficsArraySinceDay(&source, 1);
    source[0].addTraffic(1000);
    EXPECT_EQ(m.arrDaysTraffics()[0].getTotalTraffic(), 30u);  // the appended days are copies
}

TEST(MonthRecord, PeriodTexts)
{
    const struct {
        Date first;
        std::optional<Date> last;
        const char* text;
    } cases[] = {
        {localDate(2013, 3, 5), std::nullopt, "March 2013"},
        {localDate(2012, 12, 1), localDate(2012, 12, 31), "1 December - 31 December 2012"},
        {localDate(2013, 3, 15), localDate(2013, 4, 14), "15 March - 14 April 2013"},
        {localDate(2012, 12, 31, 23, 59, 59), localDate(2013, 1, 30, 0, 0), "31 December 2012 - 30 January 2013"},
    };
    for (const auto& c : cases) {
        MonthTraffic m(c.first, 1);
        m.setLastDate(c.last);
        EXPECT_EQ(m.getMonthPeriod(), c.text);
    }
}

TEST(MonthRecord, ArchiveRoundTripKeyedAndSequential)
{
    MonthTraffic m(localDate(2026, 3, 2, 8, 30), 2'500'000'000);
    CTrafficPoint withWifi = day(3, 300);
    withWifi.addTrafficWf(42);
    for (const CTrafficPoint& p : {day(2, 100), withWifi, day(31, 3100)}) {
        m.bookDay(p);
    }
    m.setDaysCount(31);
    m.setLastDate(localDate(2026, 4, 1));
    for (bool keyed : {true, false}) {
        const auto back = roundTrip(m, keyed);
        EXPECT_EQ(std::tuple(back->date(), back->pMonthPlan(), back->getDataUsed()), std::tuple(m.date(), m.pMonthPlan(), 3500u));
        EXPECT_EQ(dayNumbers(*back), (std::vector<int>{2, 3, 31}));
        EXPECT_EQ(back->arrDaysTraffics()[0].pDate(), m.arrDaysTraffics()[0].pDate());
        EXPECT_EQ(back->arrDaysTraffics()[0].pTraffWf(), std::nullopt);  // stored without "TrafficWiFi"
        EXPECT_EQ(back->arrDaysTraffics()[1].pTraffWf(), 42u);
        EXPECT_EQ(back->nDaysCount(), 0);  // billing-month fields are not stored
        EXPECT_EQ(back->last_date(), std::nullopt);
    }
}

TEST(MonthRecord, DecodingRepairsAMissingPlanAndNormalisesTheStartDate)
{
    const CTrafficPoint d3 = day(3, 1), d5 = day(5, 1), d9 = day(9, 1);
    const Date fifthEarly = localDate(2026, 3, 5, 0, 5);  // same day as d5, five minutes earlier
    const struct {
        std::optional<Date> stored;
        std::vector<CTrafficPoint> days;
        std::optional<std::uint64_t> plan;
        std::optional<Date> date;
        std::uint64_t decodedPlan;
    } cases[] = {
        {localDate(2026, 3, 20), {d5, d9, d3}, 1'000'000'000, d3.pDate(), 1'000'000'000},  // back to the earliest
        {localDate(2026, 3, 1), {d5, d9}, std::nullopt, localDate(2026, 3, 1), 3'000'000'000},  // earlier: stays
        {fifthEarly, {d5}, 1, fifthEarly, 1},  // the same day: stays
        {std::nullopt, {d9, d5}, std::nullopt, d5.pDate(), 3'000'000'000},
        {std::nullopt, {}, std::nullopt, std::nullopt, 3'000'000'000},
    };
    for (const auto& c : cases) {
        MonthTraffic stored;
        stored.updateDate(c.stored);
        for (const CTrafficPoint& p : c.days) {
            stored.bookDay(p);
        }
        stored.setPMonthPlan(c.plan);
        // In a sequence the absent values keep their places: nothing slides into the date.
        for (bool keyed : {true, false}) {
            const auto m = roundTrip(stored, keyed);
            EXPECT_EQ(std::tuple(m->date(), m->pMonthPlan()), std::tuple(c.date, c.decodedPlan)) << keyed;
        }
    }
}

}  // namespace
}  // namespace quorvel
