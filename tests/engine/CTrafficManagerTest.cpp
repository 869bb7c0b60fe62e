// SPDX-License-Identifier: GPL-3.0-or-later
// The traffic manager: billing-month statistics, the limit list, billing-month records, the
// central update and the state file.
#include <gtest/gtest.h>

#include "engine/CTrafficManager.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/Log.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;

struct ManagerTest : ::testing::Test {
    test::TestEnv t;
    std::unique_ptr<CTrafficManager> m = std::make_unique<CTrafficManager>(t.env, true);

    // Books a day record of `bytes` on that local day into the stored calendar months.
    void book(int year, int month, int day, std::uint64_t bytes)
    {
        m->history().addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(localDate(year, month, day), bytes));
    }
    std::vector<std::string> limitList() const
    {
        std::vector<std::string> out;
        for (const auto& l : m->limits()) {
            out.push_back(std::string(l->className()) + "@" + std::to_string(l->level()).substr(0, 5));
        }
        return out;
    }
};

struct StatCase {
    int startDay;
    int year, month, day;
    int prevDays, nextDays, daysUsed, daysLeft, billingLength;
};

class ManagerStats : public ManagerTest, public ::testing::WithParamInterface<StatCase> {};

TEST_P(ManagerStats, CountsTheDaysOfTheBillingMonth)
{
    const StatCase& c = GetParam();
    t.clock.set(localDate(c.year, c.month, c.day));
    m->setPPlanStartDay(c.startDay);
    EXPECT_EQ(m->getDaysInPrevMonth(), c.prevDays);
    EXPECT_EQ(m->getDaysInNextMonth(), c.nextDays);
    EXPECT_EQ(m->getDaysUsed(), c.daysUsed);
    EXPECT_EQ(m->getDaysLeft(), c.daysLeft);
    EXPECT_EQ(m->getDayCountInBillingMonth(t.clock.now()), c.billingLength);
    EXPECT_EQ(m->getDayPlan(), m->getMonthPlan() / static_cast<std::uint64_t>(c.billingLength));
}

// March 2026 has 31 days, April 30, February 28; December 2026 and January 2027 have 31.
INSTANTIATE_TEST_SUITE_P(Cases, ManagerStats,
                         ::testing::Values(StatCase{1, 2026, 3, 10, 28, 0, 9, 22, 31},
                                           StatCase{15, 2026, 4, 3, 17, 14, 19, 12, 31},
                                           StatCase{15, 2026, 3, 20, 14, 14, 5, 26, 31},
                                           StatCase{30, 2026, 3, 30, 0, 29, 0, 31, 31},
                                           StatCase{31, 2026, 5, 5, 0, 30, 4, 26, 30},
                                           StatCase{31, 2026, 3, 1, 0, 30, 0, 30, 30},
                                           StatCase{15, 2026, 12, 31, 16, 14, 16, 15, 31},
                                           StatCase{15, 2027, 1, 2, 17, 14, 18, 13, 31},
                                           StatCase{29, 2026, 3, 28, 0, 28, 27, 1, 28}));

TEST_F(ManagerTest, UsageFiguresOfTheBillingMonth)
{
    t.clock.set(localDate(2026, 3, 10));
    m->setPPlanStartDay(1);
    for (int d = 1; d <= 9; ++d) {
        book(2026, 3, d, 100);
    }
    EXPECT_EQ(m->getDataUsed(), 900u);
    EXPECT_EQ(m->getAvgDayDataUsed(), 90u);
    EXPECT_EQ(m->getDataUsingEstimation(), 2790u);
    EXPECT_EQ(m->getDataLeft(), 1'000'000'000 - 900);
    EXPECT_EQ(m->getAvgDayDataLeft(), (1'000'000'000 - 900) / 22);
    EXPECT_EQ(m->getDataTodayUsed(), 0u);

    m->setNewPlanValue(500);
    EXPECT_EQ(m->getDataLeft(), 0) << "used above plan";
    EXPECT_EQ(m->getAvgDayDataLeft(), 0);
}

TEST_F(ManagerTest, UsedAcrossTheMonthChangeAddsThePreviousMonthsTail)
{
    m->setPPlanStartDay(15);
    book(2026, 2, 10, 1);
    book(2026, 2, 15, 20);
    book(2026, 2, 28, 300);
    book(2026, 3, 2, 4000);
    t.clock.set(localDate(2026, 3, 3));
    EXPECT_EQ(m->getDataUsed(), 4320u);
    t.clock.set(localDate(2026, 3, 15));
    EXPECT_EQ(m->getDataUsed(), 0u) << "a new billing month began today";
}

TEST_F(ManagerTest, DefaultLimitsAndTheirSwitches)
{
    const std::vector<std::string> defaults = {
        "CTrafficLimitOverbound@200.0", "CTrafficLimitOverbound@100.0", "CTrafficLimitOverbound@50.00",
        "CTrafficLimitOverbound@10.00", "CTrafficLimitOverbound@5.000", "CTrafficLimitOverbound@3.000",
        "CTrafficLimitOverbound@2.000", "CTrafficLimitOverbound@1.500", "CTrafficLimitOverbound@1.200",
        "CTrafficLimitOverbound@1.000", "CTrafficLimitMonth@0.900",     "CTrafficLimitDay@1.000"};
    EXPECT_EQ(limitList(), defaults);

    m->setMonthLimit(0.8);
    EXPECT_EQ(limitList()[10], "CTrafficLimitMonth@0.800");
    EXPECT_EQ(m->limits().size(), 12u);
    m->setMonthLimit(0);
    EXPECT_EQ(m->limits().size(), 11u);
    EXPECT_EQ(m->removeLimitElementsOfClass<CTrafficLimitMonth>(), 0);

    m->setOverBoundLimit(false);
    EXPECT_EQ(limitList(), std::vector<std::string>{"CTrafficLimitDay@1.000"});
    m->setDayLimit(false);
    m->setMonthLimit(0.9);
    EXPECT_EQ(limitList(), std::vector<std::string>{"CTrafficLimitMonth@0.900"});
    for (const auto& l : m->limits()) {
        EXPECT_EQ(l->pPlan(), m.get());
    }
}

TEST_F(ManagerTest, BillingMonthsFromCalendarMonthsWithStartDayOne)
{
    for (int d = 1; d <= 31; ++d) {
        book(2026, 3, d, 10);
    }
    for (int d = 1; d <= 10; ++d) {
        book(2026, 4, d, 1);
    }
    t.clock.set(localDate(2026, 4, 10));
    const auto out = m->billingMonths();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0]->getMonthPeriod(), "1 March - 31 March 2026");
    EXPECT_EQ(out[0]->pnDaysCount(), 31);
    EXPECT_EQ(out[0]->getDataUsed(), 310u);
    EXPECT_EQ(out[1]->getMonthPeriod(), "1 April - 30 April 2026");
    EXPECT_EQ(out[1]->pnDaysCount(), 30);
    EXPECT_EQ(out[1]->arrDaysTraffics().size(), 10u);
}

TEST_F(ManagerTest, BillingMonthsWithALeadingPeriod)
{
    m->setPPlanStartDay(15);
    for (int d = 3; d <= 20; ++d) {
        book(2026, 5, d, static_cast<std::uint64_t>(d));
    }
    t.clock.set(localDate(2026, 5, 20));
    const auto out = m->billingMonths();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0]->getMonthPeriod(), "15 April - 14 May 2026");
    EXPECT_EQ(out[0]->arrDaysTraffics().size(), 12u);
    EXPECT_EQ(out[1]->getMonthPeriod(), "15 May - 14 June 2026");
    EXPECT_EQ(out[1]->arrDaysTraffics().size(), 6u);
    EXPECT_EQ(out[1]->getDataUsed(), 15u + 16 + 17 + 18 + 19 + 20);
    // Billing months hold read-only copies: the stored days are not shared.
    static_assert(std::is_const_v<std::remove_reference_t<decltype(*out[1])>>);
    EXPECT_NE(&out[0]->arrDaysTraffics(), &m->history().months()[0]->arrDaysTraffics());
    EXPECT_EQ(m->history().months()[0]->getDataUsed(), 207u);
}

TEST_F(ManagerTest, BillingMonthsSpanningThreeCalendarMonthsAndAYearEnd)
{
    m->setPPlanStartDay(20);
    book(2026, 11, 25, 1);
    book(2026, 12, 5, 2);
    book(2026, 12, 24, 4);
    book(2027, 1, 6, 8);
    t.clock.set(localDate(2027, 1, 6));
    const auto out = m->billingMonths();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0]->getMonthPeriod(), "20 November - 19 December 2026");
    EXPECT_EQ(out[0]->getDataUsed(), 3u);
    EXPECT_EQ(out[1]->getMonthPeriod(), "20 December 2026 - 19 January 2027");
    EXPECT_EQ(out[1]->getDataUsed(), 12u);
}

TEST_F(ManagerTest, BillingMonthsWithAStartDayBeyondShortMonthsEnd)
{
    m->setPPlanStartDay(31);
    book(2026, 2, 10, 1);
    book(2026, 3, 1, 2);
    book(2026, 3, 31, 4);
    t.clock.set(localDate(2026, 4, 2));
    const auto out = m->billingMonths();
    ASSERT_FALSE(out.empty());
    std::uint64_t total = 0;
    for (const auto& month : out) {
        total += month->getDataUsed();
        EXPECT_GT(month->pnDaysCount(), 0);
    }
    EXPECT_EQ(total, 7u) << "every stored day lands in exactly one billing month";
}

// For every start day, over three stored months with traffic on every day up to today: the
// billing months follow each other without gap or overlap and every stored day lands in exactly
// one of them.
TEST_F(ManagerTest, BillingMonthsPartitionTheStoredDaysForEveryStartDay)
{
    for (const Date today : {localDate(2026, 2, 28), localDate(2026, 2, 1), localDate(2026, 2, 15)}) {
        m = std::make_unique<CTrafficManager>(t.env, true);
        std::uint64_t stored = 0;
        for (const auto& [year, month] : {std::pair{2025, 12}, std::pair{2026, 1}, std::pair{2026, 2}}) {
            for (int day = 1; day <= Calendar::daysInMonth(year, month); ++day) {
                if (!DateDay::isLaterDate(today, localDate(year, month, day))) {
                    book(year, month, day, 1);
                    ++stored;
                }
            }
        }
        t.clock.set(today);
        for (int s = 1; s <= 31; ++s) {
            m->setPPlanStartDay(s);
            const auto out = m->billingMonths();
            ASSERT_FALSE(out.empty()) << s;
            std::uint64_t total = 0;
            for (std::size_t i = 0; i < out.size(); ++i) {
                total += out[i]->getDataUsed();
                for (const auto& p : out[i]->arrDaysTraffics()) {
                    EXPECT_FALSE(DateDay::isLaterDate(p.pDate(), *out[i]->date())) << s;
                    EXPECT_FALSE(DateDay::isLaterDate(*out[i]->last_date(), p.pDate())) << s;
                }
                if (i > 0) {
                    EXPECT_TRUE(DateDay::isTheSameDay(out[i - 1]->last_date()->plusSeconds(86400), *out[i]->date()))
                        << "start day " << s << ": " << out[i - 1]->getMonthPeriod() << " then "
                        << out[i]->getMonthPeriod();
                }
            }
            EXPECT_EQ(total, stored) << "start day " << s << " today " << DateDay::getDay_MonthString(today);
        }
    }
}

TEST_F(ManagerTest, AnUpdateWithoutNewTrafficStillWritesTheStateFile)
{
    m->history().sampler().setPrevTrafficSize(0);
    EXPECT_EQ(m->updateTrafficInformation(false), nullptr);
    EXPECT_TRUE(t.stateFile->exists());
    EXPECT_FALSE(m->fullUpdateDone());

    const auto full = m->updateTrafficInformation(true);
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(full->pDictionaryResult().has_value());
    EXPECT_TRUE(full->pResultStruct()->bUpdateAllAnnotations) << "the first full summary rebuilds the map";
    EXPECT_TRUE(full->parrTrafficMonthsItems().has_value());
    EXPECT_TRUE(m->fullUpdateDone());
    EXPECT_FALSE(m->updateTrafficInformation(true)->pResultStruct()->bUpdateAllAnnotations);
}

TEST_F(ManagerTest, NewTrafficChecksTheLimitsAndPostsTheMostSeriousAlertOnce)
{
    t.clock.set(localDate(2026, 3, 10));
    m->history().sampler().setPrevTrafficSize(0);
    t.counters.set("wwan0", 950'000'000, 0);
    const auto s = m->updateTrafficInformation(false);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->pDictionaryResult().has_value());
    EXPECT_EQ(s->pDictionaryResult()->monthVal, 0.9);
    EXPECT_TRUE(s->pDictionaryResult()->dayNum.has_value());
    ASSERT_EQ(t.notifier.posted.size(), 1u);
    EXPECT_EQ(t.notifier.posted[0].title, "Data Usage Warning");
    EXPECT_EQ(t.notifier.posted[0].body, "You used 95% of your month plan. 50 MB left for this month.");
    t.counters.set("wwan0", 950'000'100, 0);
    m->updateTrafficInformation(false);
    EXPECT_EQ(t.notifier.posted.size(), 1u) << "nothing new to say";
}

TEST_F(ManagerTest, StateFileRoundTripKeepsTheWholeModel)
{
    m->setPPlanStartDay(17);
    m->setNewPlanValue(2'000'000'000);
    book(2026, 2, 20, 5);
    book(2026, 3, 1, 6);
    m->history().setLastLocation(Location{48.1, 11.5, 10.0, Date{1700000000}});
    m->history().restorePlace(
        std::make_shared<DeltaTrafficItem>(localDate(2026, 3, 1, 8), Location{48.1, 11.5, 5.0, Date{}}, 77));
    m->history().sampler().setPrevTrafficSize(-1);
    m->setMonthLimit(-1);
    const std::string bytes = m->encode();
    const auto back = CTrafficManager::decode(t.env, bytes);
    EXPECT_EQ(back->encode(), bytes);
    EXPECT_EQ(back->getPlanStartDay(), 17);
    EXPECT_EQ(back->limits().size(), 11u);
    for (const auto& l : back->limits()) {
        EXPECT_EQ(l->pPlan(), back.get());
    }
    EXPECT_EQ(back->history().deltas().at(0)->delta(), 77);
    EXPECT_EQ(back->history().deltas().at(0)->pDateComp->hour, 8);
}

TEST_F(ManagerTest, DecodingRepairsWhatMayBeMissingAndRejectsWrongTypes)
{
    // What may be missing is what a repair makes certain: a start day, unknown limits skipped.
    const auto minimal = CTrafficManager::decode(
        t.env, R"({"$archive":"quorvel","$version":1,"$root":{"$class":"CTrafficManager","pLimits":[{"$class":"Unknown"}],
                   "pTraffics":{"$class":"CTraffics","arrMonths":[],"arrDeltas":[]}}})");
    EXPECT_EQ(minimal->getPlanStartDay(), 1);
    EXPECT_TRUE(minimal->limits().empty());
    EXPECT_EQ(minimal->history().months().size(), 0u);
    // The history itself is data, never made up: a state without it is refused.
    EXPECT_THROW(CTrafficManager::decode(
                     t.env, R"({"$archive":"quorvel","$root":{"$class":"CTrafficManager","pLimits":[]}})"),
                 ArchiveError);

    for (const char* bad : {"", "{", "[]", R"({"$archive":"other","$root":{}})",
                            R"({"$archive":"quorvel","$root":{"$class":"CTraffics"}})",
                            R"({"$archive":"quorvel","$root":{"$class":"CTrafficManager","pMonthPlan":"lots"}})",
                            R"({"$archive":"quorvel","$root":{"$class":"CTrafficManager","pMonthPlan":-5}})",
                            R"({"$archive":"quorvel","$root":{"$class":"CTrafficManager","pTraffics":{"$class":"CTraffics","arrMonths":[{"$class":"MonthTraffic","arrDaysTraffics":[{"$class":"CTrafficPoint","Date":"today"}]}]}}})",
                            R"({"$archive":"quorvel","$root":{"$class":"CTrafficManager","pTraffics":{"$class":"CTraffics","arrMonths":{}}}})"}) {
        EXPECT_THROW(CTrafficManager::decode(t.env, bad), ArchiveError) << bad;
    }
}

TEST_F(ManagerTest, AnUnreadableStateFileIsMovedAsideAndDefaultsStart)
{
    std::string logged;
    auto previous = Log::setSink([&](const std::string& line) { logged += line + "\n"; });
    t.stateFile->write("{\"$archive\":\"quorvel\",\"$root\":");
    const auto fresh = CTrafficManager::createTrafficManager(t.env);
    Log::setSink(std::move(previous));
    EXPECT_EQ(fresh->getMonthPlan(), CTrafficManager::kDefaultPlan);
    EXPECT_EQ(fresh->limits().size(), 12u);
    EXPECT_FALSE(t.stateFile->exists());
    int aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(t.dir.path())) {
        aside += entry.path().filename().string().starts_with("statestg.unreadable-") ? 1 : 0;
    }
    EXPECT_EQ(aside, 1);
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1);
}

}  // namespace
}  // namespace quorvel
