// SPDX-License-Identifier: GPL-3.0-or-later
// The figures of the billing period when it does not begin on the 1st, and the history when the
// clock jumps: entered usage, the estimate, months of other years, the clock at 1970 and back.
#include <gtest/gtest.h>

#include "engine/CTrafficManager.hpp"
#include "model/DateDay.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;
constexpr std::uint64_t kMB = 1'000'000;

struct PeriodTest : ::testing::Test {
    test::TestEnv t;
    std::unique_ptr<CTrafficManager> m = std::make_unique<CTrafficManager>(t.env, true);
    std::uint32_t counter = 1000;

    PeriodTest()
    {
        m->history().sampler().setPrevTrafficSize(counter);
        t.counters.set("wwan0", counter, 0);
    }
    // A day record of `bytes` on that local day, booked as a sample on that day would be.
    void book(int year, int month, int day, std::uint64_t bytes, int hour = 12)
    {
        t.clock.set(localDate(year, month, day, hour));
        counter += static_cast<std::uint32_t>(bytes);
        t.counters.set("wwan0", counter, 0);
        m->history().getNewTraffic(nullptr);
    }
    std::uint64_t bytesOn(int year, int month, int day) const
    {
        std::uint64_t sum = 0;
        int records = 0;
        for (const auto& mo : m->history().months()) {
            for (const CTrafficPoint& p : mo->arrDaysTraffics()) {
                if (DateDay::isTheSameDay(p.pDate(), localDate(year, month, day))) {
                    sum += p.getTotalTraffic();
                    ++records;
                }
            }
        }
        EXPECT_LE(records, 1) << "one record per day";
        return sum;
    }
    std::vector<std::string> months() const
    {
        std::vector<std::string> out;
        for (const auto& mo : m->history().months()) {
            out.push_back(mo->psMonth() + " " + mo->psYear());
        }
        return out;
    }
};

TEST_F(PeriodTest, EnteredUsageBeforeTheStartDayReplacesThePeriodsDaysInBothMonths)
{
    m->setPPlanStartDay(15);
    book(2024, 3, 10, 30 * kMB);  // the period before
    book(2024, 3, 20, 50 * kMB);  // this period, in March
    t.clock.set(localDate(2024, 4, 3));
    m->resetTrafficsWithInit(-1, 100 * kMB, 15);
    EXPECT_EQ(m->getDataUsed(), 100 * kMB);
    EXPECT_EQ(bytesOn(2024, 3, 10), 30 * kMB) << "an earlier period is untouched";
    EXPECT_EQ(bytesOn(2024, 3, 20), 0u);

    // The next sample books only what came after.
    counter += 4321;
    t.counters.set("wwan0", counter, 0);
    m->history().getNewTraffic(nullptr);
    EXPECT_EQ(m->getDataUsed(), 100 * kMB + 4321);
}

TEST_F(PeriodTest, EnteredUsageOnOrAfterTheStartDayKeepsTheDaysBeforeIt)
{
    m->setPPlanStartDay(15);
    book(2024, 5, 10, 70 * kMB);
    book(2024, 5, 16, 5 * kMB);
    t.clock.set(localDate(2024, 5, 20));
    m->resetTrafficsWithInit(-1, 100 * kMB, 15);
    EXPECT_EQ(m->getDataUsed(), 100 * kMB);
    EXPECT_EQ(bytesOn(2024, 5, 10), 70 * kMB);
    const auto periods = m->billingMonths();
    ASSERT_EQ(periods.size(), 2u);
    EXPECT_EQ(periods[0]->getMonthPeriod(), "15 April - 14 May 2024");
    EXPECT_EQ(periods[0]->getDataUsed(), 70 * kMB);
    EXPECT_EQ(periods[1]->getDataUsed(), 100 * kMB);
}

TEST_F(PeriodTest, EnteredUsageWithPeriodsFromTheFirstLeavesThePreviousMonth)
{
    m->setPPlanStartDay(1);
    book(2024, 3, 20, 50 * kMB);
    t.clock.set(localDate(2024, 4, 3));
    m->resetTrafficsWithInit(-1, 100 * kMB, 1);
    EXPECT_EQ(m->getDataUsed(), 100 * kMB);
    EXPECT_EQ(bytesOn(2024, 3, 20), 50 * kMB);
}

TEST_F(PeriodTest, TheEstimateRunsOverTheBillingPeriodsDays)
{
    // 15 January to 14 February 2024: 31 days, while February has 29.
    m->setPPlanStartDay(15);
    t.clock.set(localDate(2024, 2, 10));
    m->resetTrafficsWithInit(-1, 900 * kMB, 15);
    EXPECT_EQ(m->getDataUsed(), 900 * kMB);
    EXPECT_EQ(m->getAvgDayDataUsed(), 900 * kMB / 27);
    EXPECT_EQ(m->getDataUsingEstimation(), 900 * kMB / 27 * 31);
    EXPECT_EQ(m->summaryFigures()->pDataEstimation(), 900 * kMB / 27 * 31);
}

TEST_F(PeriodTest, LastYearsMonthIsNotThisYearsMonth)
{
    book(2025, 3, 20, 999);
    t.clock.set(localDate(2026, 3, 5));
    EXPECT_EQ(m->history().getMonthInfo(3), nullptr);
    EXPECT_EQ(m->history().getLatestTrafficItemForThisMonth(), nullptr);
    m->resetTrafficsWithInit(-1, 100 * kMB, 1);
    EXPECT_EQ(m->getDataUsed(), 100 * kMB);
    EXPECT_EQ(bytesOn(2025, 3, 20), 999u) << "last year's record keeps its day";
    book(2026, 3, 6, 10);
    EXPECT_EQ(m->getDataUsed(), 100 * kMB + 10);
    EXPECT_EQ(months(), (std::vector<std::string>{"March 2025", "March 2026"}));
}

TEST_F(PeriodTest, ASampleWithTheClockAt1970EvictsNoRealMonth)
{
    book(2026, 1, 10, 100);
    book(2026, 2, 10, 200);
    book(2026, 3, 10, 300);
    t.clock.set(Date{0});
    counter += 50;
    t.counters.set("wwan0", counter, 0);
    m->history().getNewTraffic(nullptr);
    EXPECT_EQ(months(), (std::vector<std::string>{"January 2026", "February 2026", "March 2026"}));

    book(2026, 3, 10, 7, 18);  // the clock is right again: the held 50 bytes come with it
    EXPECT_EQ(bytesOn(2026, 3, 10), 357u);
    EXPECT_EQ(m->getDataUsed(), 357u);
}

TEST_F(PeriodTest, ASampleWithTheClockAt1970BeforeThreeMonthsAreKeptStaysOutOfTheCurrentMonth)
{
    book(2026, 3, 10, 300);
    t.clock.set(Date{0});
    counter += 50;
    t.counters.set("wwan0", counter, 0);
    m->history().getNewTraffic(nullptr);
    ASSERT_EQ(months(), (std::vector<std::string>{"March 2026"})) << "no month of 1970";
    book(2026, 3, 11, 5);
    EXPECT_EQ(m->getDataUsed(), 355u) << "the held bytes are booked to the first day the clock can tell";
    EXPECT_EQ(m->getDataTodayUsed(), 55u);
}

TEST_F(PeriodTest, AClockMovedBackADayGrowsThatDaysRecord)
{
    book(2026, 3, 10, 100);
    book(2026, 3, 11, 200);
    book(2026, 3, 10, 30, 23);  // back to yesterday
    book(2026, 3, 10, 4, 23);
    EXPECT_EQ(bytesOn(2026, 3, 10), 134u);
    EXPECT_EQ(m->getDataTodayUsed(), 134u);
    EXPECT_EQ(m->history().arrTraffics()->size(), 2u);
    EXPECT_EQ(m->getDataUsed(), 334u);
}

TEST_F(PeriodTest, APlacesLatestTimeIsTheSamplesTime)
{
    m->setPLastLocation(Location{52.52, 13.405});
    book(2026, 3, 10, 100, 9);
    book(2026, 3, 10, 50, 17);
    ASSERT_EQ(m->history().deltas().size(), 1u);
    ASSERT_TRUE(m->history().deltas()[0]->pDateComp);
    EXPECT_EQ(m->history().deltas()[0]->pDateComp->hour, 17);
    EXPECT_EQ(m->history().deltas()[0]->delta(), 150);
}

}  // namespace
}  // namespace quorvel
