// SPDX-License-Identifier: GPL-3.0-or-later
// Usage limits: thresholds, alert texts and what they record in the result.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestEnv.hpp"
#include "model/CPlanProtocol.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/CTrafficPoint.hpp"

namespace quorvel {
namespace {

using test::localDate;

// The figures a limit reads from the traffic manager; everything else does nothing.
class FakePlan final : public CPlanProtocol {
public:
    std::uint64_t monthPlan = 1'000'000'000;
    std::uint64_t dayPlan = 33'333'333;
    std::uint64_t used = 0;
    std::optional<CTrafficPoint> today;

    std::uint64_t getMonthPlan() const override { return monthPlan; }
    std::uint64_t getDayPlan() const override { return dayPlan; }
    std::uint64_t getDataUsed() const override { return used; }
    const CTrafficPoint* getTrafficToday() const override { return today ? &*today : nullptr; }
    std::int32_t getLocationsCount() const override { return 0; }
    std::int32_t getPlanStartDay() const override { return 1; }
    void setPlanStartDay(std::int32_t) override {}
    void setMonthLimit(double) override {}
    void setDayLimit(bool) override {}
    void setOverBoundLimit(bool) override {}
    void savePlanToPreferences() override {}
    void saveState() override {}
    void setNewPlanValue(std::uint64_t) override {}
    void resetLocations() override {}
    void resetPrevMonthsInfo() override {}
    std::optional<std::uint64_t> pMonthPlan() const override { return monthPlan; }
    void setPMonthPlan(std::optional<std::uint64_t>) override {}
    std::optional<std::int32_t> pPlanStartDay() const override { return 1; }
    void setPPlanStartDay(std::optional<std::int32_t>) override {}
    std::optional<Location> pLastLocation() const override { return std::nullopt; }
    void setPLastLocation(std::optional<Location>) override {}
};

// The manager's list: ten over-plan limits from the highest level down, then month, then day.
std::vector<std::unique_ptr<CTrafficLimitBase>> defaultLimits(FakePlan& plan)
{
    std::vector<std::unique_ptr<CTrafficLimitBase>> limits;
    for (double level : {200.0, 100.0, 50.0, 10.0, 5.0, 3.0, 2.0, 1.5, 1.2, 1.0}) {
        limits.push_back(CTrafficLimitOverbound::createOverBoundLimit(level, &plan));
    }
    limits.push_back(CTrafficLimitMonth::createMonthLimit(0.9, &plan));
    limits.push_back(CTrafficLimitDay::createDayLimit(1.0, &plan));
    return limits;
}

TEST(Limits, MonthAndOverPlanTextsAtAndAroundTheirLevels)
{
    const struct {
        std::uint64_t used;
        double level;
        std::optional<std::string> month, over;  // the month limit's and an over-plan limit's text
    } cases[] = {
        {899'999'999, 0.9, std::nullopt, std::nullopt},
        {900'000'000, 0.9, "You used 90% of your month plan. 100 MB left for this month.",
         "You've exceeded your month data plan for 90%. Used 900 MB of 1 GB."},
        {920'000'000, 0.9, "You used 92% of your month plan. 80 MB left for this month.",
         "You've exceeded your month data plan for 92%. Used 920 MB of 1 GB."},
        {999'999'999, 0.9, "You used 99% of your month plan. 1 Bytes left for this month.",  // truncated
         "You've exceeded your month data plan for 99%. Used 1000 MB of 1 GB."},
        {999'999'999, 1.0, std::nullopt, std::nullopt},
        {1'000'000'000, 1.0, "You used 100% of your month plan. 0 MB left for this month.",
         "You've exceeded your month data plan for 100%. Used 1 GB of 1 GB."},
        {1'250'000'000, 1.2, "You used 125% of your month plan. 0 MB left for this month.",
         "You've exceeded your month data plan for 125%. Used 1.25 GB of 1 GB."},
    };
    FakePlan plan;
    for (const auto& c : cases) {
        plan.used = c.used;
        EXPECT_EQ(CTrafficLimitMonth(c.level, &plan).checkTrafficForLimit(&plan), c.month) << c.used;
        EXPECT_EQ(CTrafficLimitOverbound(c.level, &plan).checkTrafficForLimit(&plan), c.over) << c.used;
    }
}

TEST(Limits, ZeroPlanReachesEveryLimitWithoutOverflow)
{
    FakePlan plan;
    plan.monthPlan = 0;
    plan.used = 5;
    const auto over = CTrafficLimitOverbound(1.0, &plan).checkTrafficForLimit(&plan);
    ASSERT_TRUE(over);  // and its percentage of nothing saturates rather than overflowing
    EXPECT_EQ(over->substr(over->find(". Used")), ". Used 5 Bytes of 0 MB.");
}

TEST(Limits, DayLimitReadsTodaysRecord)
{
    FakePlan plan;
    const CTrafficLimitDay day(1.0, &plan);
    EXPECT_EQ(day.checkTrafficForLimit(&plan), std::nullopt);  // no record for today yet
    plan.today = CTrafficPoint::trafficPointWithDate(localDate(2026, 3, 10), 33'333'332);
    EXPECT_EQ(day.checkTrafficForLimit(&plan), std::nullopt);
    plan.today->addTraffic(1);  // exactly the day plan
    EXPECT_EQ(day.checkTrafficForLimit(&plan), "You exceeded your day plan limit. 33.33 MB today used.");

    LimitResult r = LimitResult::createDefResultDictionary(localDate(2026, 3, 10));
    day.checkTrafficUsageLimit(&plan, &r);
    EXPECT_EQ(r.dayNum, 10);
    EXPECT_EQ(r.msgDay, "You exceeded your day plan limit. 33.33 MB today used.");
}

TEST(Limits, ResultHoldsTheHighestLevelReachedWhateverTheOrderAndNothingElse)
{
    FakePlan plan;
    plan.used = 1'500'000'000;
    plan.today = CTrafficPoint::trafficPointWithDate(localDate(2026, 3, 10), 1'000'000);  // below the day plan
    auto limits = defaultLimits(plan);
    for (int pass = 0; pass < 2; ++pass) {
        LimitResult r = LimitResult::createDefResultDictionary(localDate(2026, 3, 10));
        for (const auto& limit : limits) {
            limit->checkTrafficUsageLimit(&plan, &r);
        }
        LimitResult expected = LimitResult::createDefResultDictionary(localDate(2026, 3, 10));
        expected.monthOVal = 1.5;
        expected.msgOMonth = "You've exceeded your month data plan for 150%. Used 1.5 GB of 1 GB.";
        expected.monthVal = 0.9;
        expected.msgMonth = "You used 150% of your month plan. 0 MB left for this month.";
        EXPECT_EQ(r, expected);
        std::reverse(limits.begin(), limits.end());
    }
    // Nothing reached, and checks without a provider or a result: only the month is there.
    plan.used = 0;
    LimitResult r = LimitResult::createDefResultDictionary(localDate(2026, 12, 31, 23, 59));
    for (const auto& limit : limits) {
        limit->checkTrafficUsageLimit(&plan, &r);
        limit->checkTrafficUsageLimit(nullptr, &r);
        limit->checkTrafficUsageLimit(&plan, nullptr);
    }
    EXPECT_EQ(r.toDictionary(), (nlohmann::json{{"NM_MONTHNAME", "December"}, {"NM_MONTHNUM", 12}}));
}

}  // namespace
}  // namespace quorvel
