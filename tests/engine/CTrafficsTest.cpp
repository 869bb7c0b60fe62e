// SPDX-License-Identifier: GPL-3.0-or-later
// The daily history: booking samples into days and months, the since-day sums, replacing this
// month's usage, and attributing growth to places.
#include <gtest/gtest.h>

#include "engine/CTraffics.hpp"
#include "model/Messages.hpp"
#include "model/DateDay.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;

struct HistoryTest : ::testing::Test {
    test::TestEnv t;
    CTraffics history{t.env};
    test::NotificationCounter usage{t.center, std::string(messages::kDataUsageWasChanged)};
    test::NotificationCounter places{t.center, std::string(messages::kDeltasCntWasChanged)};
    std::uint32_t counter = 0;

    void SetUp() override
    {
        history.setPMonthPlan(1'000'000'000);
        history.sampler().setPrevTrafficSize(0);
        t.counters.set("wwan0", 0, 0);
    }
    // Lets `bytes` more flow over the modem and takes one sample.
    bool use(std::uint32_t bytes, TCResult* r = nullptr)
    {
        counter += bytes;
        t.counters.set("wwan0", counter, 0);
        return history.getNewTraffic(r);
    }
    static std::vector<int> days(const std::vector<CTrafficPoint>& list)
    {
        std::vector<int> out;
        for (const auto& p : list) {
            out.push_back(p.getDayNumberInMonth());
        }
        return out;
    }
};

TEST_F(HistoryTest, AnEmptyHistoryAnswersZeroAndTheFirstSampleOpensMonthAndDay)
{
    EXPECT_EQ(history.getTotalTraffic(), 0u);
    EXPECT_EQ(history.getTrafficToday(), nullptr);
    EXPECT_EQ(history.getTrafficInPrevMonthSinceDayNumber(1), 0u);
    TCResult r;
    EXPECT_TRUE(use(500, &r));
    ASSERT_EQ(history.months().size(), 1u);
    ASSERT_EQ(history.months()[0]->arrDaysTraffics().size(), 1u);
    EXPECT_EQ(history.getTrafficTodayCount(), 500u);
    EXPECT_TRUE(r.bMonthChanged);
    EXPECT_EQ(usage.count, 2) << "once from the sampler, once from the history";
    EXPECT_EQ(history.months()[0]->pMonthPlan(), 1'000'000'000u);
}

TEST_F(HistoryTest, SamplesOfOneDayGrowTheRecordAndANewDayAddsOne)
{
    use(100);
    EXPECT_TRUE(use(50));
    EXPECT_EQ(history.arrTraffics()->size(), 1u);
    EXPECT_EQ(history.getTrafficTodayCount(), 150u);
    EXPECT_FALSE(use(0)) << "nothing new";

    t.clock.advance(86400);
    TCResult r;
    r.bMonthChanged = true;
    EXPECT_TRUE(use(70, &r));
    EXPECT_FALSE(r.bMonthChanged);
    EXPECT_EQ(history.arrTraffics()->size(), 2u);
    EXPECT_EQ(history.getTotalTraffic(), 220u);
    EXPECT_EQ(history.getTrafficTodayCount(), 70u);
}

TEST_F(HistoryTest, KeepsThreeCalendarMonthsAtMost)
{
    for (int month = 1; month <= 5; ++month) {
        t.clock.set(localDate(2026, month, 3));
        TCResult r;
        use(10, &r);
        EXPECT_TRUE(r.bMonthChanged) << month;
    }
    ASSERT_EQ(history.months().size(), 3u);
    EXPECT_EQ(history.months().front()->pnMonthNum(), 3);
    EXPECT_EQ(history.months().back()->pnMonthNum(), 5);
    history.resetPrevMonthsInfo();
    ASSERT_EQ(history.months().size(), 1u);
    EXPECT_EQ(history.months()[0]->pnMonthNum(), 5);
}

TEST_F(HistoryTest, SameMonthOfLastYearIsNeitherFoundNorCountedAsCurrent)
{
    t.clock.set(localDate(2025, 3, 20));
    use(999);
    t.clock.set(localDate(2026, 3, 5));
    EXPECT_EQ(history.arrTraffics(), nullptr);
    EXPECT_EQ(history.getMonthInfo(3), nullptr) << "the year counts too";
    EXPECT_EQ(history.getTotalTraffic(), 0u);
    use(10);
    ASSERT_EQ(history.months().size(), 2u);
    EXPECT_EQ(history.getTotalTraffic(), 10u);
}

TEST_F(HistoryTest, PreviousMonthSumsComeFromTheMonthBeforeNow)
{
    t.clock.set(localDate(2026, 2, 10));
    use(100);
    t.clock.set(localDate(2026, 2, 20));
    use(200);
    t.clock.set(localDate(2026, 3, 2));
    use(5);
    EXPECT_EQ(history.getTrafficInPrevMonthSinceDayNumber(15), 200u);
    EXPECT_EQ(history.getTrafficInPrevMonthSinceDayNumber(1), 300u);
    EXPECT_EQ(history.getTrafficInCurMonthSinceDayNumber(1), 5u);
    t.clock.set(localDate(2026, 4, 2));
    EXPECT_EQ(history.getTrafficInPrevMonthSinceDayNumber(1), 5u) << "March is now the month before";
}

TEST(HistorySums, SinceADayWalksBackUntilAnEarlierDay)
{
    const auto list = [](std::initializer_list<int> days) {
        std::vector<CTrafficPoint> out;
        for (int d : days) {
            out.push_back(CTrafficPoint::trafficPointWithDate(localDate(2026, 5, d), static_cast<std::uint64_t>(d)));
        }
        return out;
    };
    const auto a = list({1, 2, 14, 15, 16});
    EXPECT_EQ(CTraffics::getTrafficInMonth(&a, 15), 31u);
    const auto b = list({16, 3, 20});
    EXPECT_EQ(CTraffics::getTrafficInMonth(&b, 15), 20u) << "stops at day 3, never reaches 16";
    EXPECT_EQ(CTraffics::getTrafficInMonth(nullptr, 1), 0u);
}

struct ReinitCase {
    int today;
    int startDay;
    std::uint64_t bytes;
    int firstDay;
    int count;
    std::uint64_t each;
    std::uint64_t last;
};

class HistoryReinit : public HistoryTest, public ::testing::WithParamInterface<ReinitCase> {};

TEST_P(HistoryReinit, SpreadsTheUsageEvenlyUpToToday)
{
    const ReinitCase& c = GetParam();
    t.clock.set(localDate(2026, 5, c.today, 9, 30, 17));
    use(12345);  // an earlier booking of this month is replaced
    t.counters.set("wwan0", 99999, 0);
    history.reinitTrafficPointsSinceToday(-1, c.bytes, c.startDay);
    const auto& list = *history.arrTraffics();
    ASSERT_EQ(static_cast<int>(list.size()), c.count);
    EXPECT_EQ(list.front().getDayNumberInMonth(), c.firstDay);
    EXPECT_EQ(list.back().getDayNumberInMonth(), c.today);
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        EXPECT_EQ(list[i].getTotalTraffic(), c.each);
    }
    EXPECT_EQ(list.back().getTotalTraffic(), c.last);
    EXPECT_EQ(history.getTotalTraffic(), c.bytes);
    EXPECT_EQ(Calendar::components(list.back().pDate()).minute, 30);
    EXPECT_EQ(Calendar::components(list.back().pDate()).second, 0);
    EXPECT_EQ(history.months().back()->date(), list.front().pDate());
    EXPECT_EQ(history.sampler().prevTrafficSize(), 99999) << "the counters so far are included";
}

INSTANTIATE_TEST_SUITE_P(Cases, HistoryReinit,
                         ::testing::Values(ReinitCase{10, 1, 1000, 1, 10, 100, 100},
                                           ReinitCase{10, 1, 1005, 1, 10, 100, 105},
                                           ReinitCase{20, 15, 600, 15, 6, 100, 100},
                                           ReinitCase{20, 25, 2000, 1, 20, 100, 100},
                                           ReinitCase{1, 1, 7, 1, 1, 7, 7},
                                           ReinitCase{31, 31, 3, 31, 1, 3, 3}));

TEST_F(HistoryTest, PlanFollowsIntoTheCurrentMonthOnly)
{
    t.clock.set(localDate(2026, 4, 10));
    use(1);
    t.clock.set(localDate(2026, 5, 1));
    history.setPMonthPlan(5);
    EXPECT_EQ(history.pMonthPlan(), 5u);
    EXPECT_EQ(history.months().back()->pMonthPlan(), 1'000'000'000u) << "April keeps its plan";
    t.clock.set(localDate(2026, 4, 20));
    history.setPMonthPlan(std::nullopt);
    EXPECT_EQ(history.months().back()->pMonthPlan(), 0u);
}

// Places: 0.0009 degrees of latitude are about 100 metres.
Location at(double lat, double lon)
{
    return Location{lat, lon, 10.0, Date{}};
}

TEST_F(HistoryTest, TrafficGoesToTheNearestPlaceWithinAHundredMetres)
{
    use(5);  // no location yet: counted, but not attributed
    EXPECT_TRUE(history.deltas().empty());

    history.setLastLocation(at(52.0, 13.0));
    TCResult first;
    use(100, &first);
    ASSERT_EQ(history.deltas().size(), 1u);
    EXPECT_EQ(first.pDAdded, history.deltas()[0]);
    EXPECT_EQ(places.count, 1);

    history.setLastLocation(at(52.0 + 99.0 / 111195.0, 13.0));  // 99 m north
    TCResult near;
    use(50, &near);
    EXPECT_EQ(near.pDChanged, history.deltas()[0]);
    EXPECT_EQ(history.deltas()[0]->delta(), 150);
    EXPECT_EQ(history.deltas()[0]->pLocation->latitude, 52.0) << "a place never moves";

    history.setLastLocation(at(52.0 + 101.0 / 111195.0, 13.0));
    TCResult far;
    use(7, &far);
    EXPECT_EQ(history.deltas().size(), 2u);
    EXPECT_NE(far.pDAdded, nullptr);
    EXPECT_EQ(places.count, 2);
}

TEST_F(HistoryTest, TheStrictlyNearerPlaceWinsAndTiesGoToTheEarlierOne)
{
    history.restorePlace(std::make_shared<DeltaTrafficItem>(t.clock.now(), at(10.0, -0.0004), 1));
    history.restorePlace(std::make_shared<DeltaTrafficItem>(t.clock.now(), at(10.0, 0.0004), 1));
    history.setLastLocation(at(10.0, 0.0));  // exactly halfway
    use(10);
    EXPECT_EQ(history.deltas()[0]->delta(), 11);
    history.setLastLocation(at(10.0, 0.0001));
    use(10);
    EXPECT_EQ(history.deltas()[1]->delta(), 11);
}

TEST_F(HistoryTest, ATwelfthPlaceIsReplacedByTheNewOneWhenTheOldestGoes)
{
    std::vector<std::shared_ptr<DeltaTrafficItem>> made;
    for (int i = 0; i < 12; ++i) {
        // Hours 11 down to 0 on one day: the list order is youngest first.
        made.push_back(std::make_shared<DeltaTrafficItem>(localDate(2026, 3, 9, 11 - i), at(1.0 * i, 0.0), 1));
    }
    made[5]->setNewDate(localDate(2026, 3, 9, 0));  // ties the oldest hour
    // The eleventh sits at index 5, before the fifth: the first of the two equally old ones.
    for (const int i : {0, 1, 2, 3, 4, 11, 6, 7, 8, 9, 10, 5}) {
        history.restorePlace(made[static_cast<std::size_t>(i)]);
    }
    const auto oldest = made[5];
    const auto alsoOldest = made[11];
    history.setLastLocation(at(80.0, 80.0));
    TCResult r;
    use(3, &r);
    EXPECT_EQ(history.deltas().size(), 12u);
    EXPECT_EQ(r.pDRemoved, alsoOldest) << "of two equally old places the earlier in the list goes";
    EXPECT_EQ(r.pDAdded, history.deltas().back());
    EXPECT_NE(std::find(history.deltas().begin(), history.deltas().end(), oldest), history.deltas().end());
}

TEST_F(HistoryTest, ResettingPlacesEmptiesTheListAndSaysSo)
{
    history.setLastLocation(at(1.0, 1.0));
    use(3);
    history.resetLocations();
    EXPECT_TRUE(history.deltas().empty());
    EXPECT_EQ(history.getLocationsCount(), 0);
    EXPECT_EQ(places.count, 2);
    use(0);  // n = 0 never creates a place
    EXPECT_TRUE(history.deltas().empty());
}

TEST_F(HistoryTest, ResetOfTrafficPointsEmptiesOnlyThisMonth)
{
    t.clock.set(localDate(2026, 2, 10));
    use(10);
    t.clock.set(localDate(2026, 3, 10));
    use(20);
    history.resetTrafficPoints();
    EXPECT_EQ(history.getTotalTraffic(), 0u);
    EXPECT_EQ(history.months().front()->getDataUsed(), 10u);
}

}  // namespace
}  // namespace quorvel
