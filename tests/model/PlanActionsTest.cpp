// SPDX-License-Identifier: GPL-3.0-or-later
// The plan decisions as tables: when mobile data is cut off at the plan, when a cut-off may
// happen again, and when the day's roaming is told.
#include <gtest/gtest.h>

#include "model/PlanActions.hpp"

namespace quorvel {
namespace {

constexpr int kMarch = 20260301;
constexpr int kApril = 20260401;
constexpr std::uint64_t kPlan = 2'000'000'000;

struct CutoffCase {
    const char* what;
    PlanActions::CutoffInput in;
    bool cutNow;
    std::optional<int> mark;
};

TEST(PlanActions, CutoffOncePerPeriodAtThePlanWithTheSwitchOn)
{
    const CutoffCase cases[] = {
        {"below the plan", {true, kPlan - 1, kPlan, kMarch, std::nullopt}, false, std::nullopt},
        {"exactly the plan", {true, kPlan, kPlan, kMarch, std::nullopt}, true, kMarch},
        {"over the plan", {true, kPlan * 3, kPlan, kMarch, std::nullopt}, true, kMarch},
        {"switch off: nothing, and nothing kept", {false, kPlan, kPlan, kMarch, std::nullopt}, false, std::nullopt},
        {"already cut this period", {true, kPlan + 5, kPlan, kMarch, kMarch}, false, kMarch},
        {"switch off keeps an earlier mark", {false, kPlan + 5, kPlan, kMarch, kMarch}, false, kMarch},
        {"cut last period, over again in the new one", {true, kPlan, kPlan, kApril, kMarch}, true, kApril},
        {"cut last period, below in the new one", {true, 10, kPlan, kApril, kMarch}, false, std::nullopt},
        {"no plan is nothing to reach", {true, 10, 0, kMarch, std::nullopt}, false, std::nullopt},
        // A larger plan or a lower used figure put the use below the plan: armed again.
        {"use below the plan drops the mark", {true, kPlan - 1, kPlan, kMarch, kMarch}, false, std::nullopt},
    };
    for (const CutoffCase& c : cases) {
        const PlanActions::CutoffOutcome out = PlanActions::cutoff(c.in);
        EXPECT_EQ(out.cutNow, c.cutNow) << c.what;
        EXPECT_EQ(out.cutInPeriod, c.mark) << c.what;
    }
}

TEST(PlanActions, ARearmedCutoffHappensAgainInTheSamePeriod)
{
    PlanActions::CutoffOutcome out = PlanActions::cutoff({true, kPlan, kPlan, kMarch, std::nullopt});
    ASSERT_TRUE(out.cutNow);
    // The user raises the plan to twice as much, then uses that up too.
    const std::optional<int> mark = PlanActions::stillCut(out.cutInPeriod, kMarch, kPlan, kPlan * 2);
    EXPECT_EQ(mark, std::nullopt);
    out = PlanActions::cutoff({true, kPlan * 2, kPlan * 2, kMarch, mark});
    EXPECT_TRUE(out.cutNow);
    // The same plan again after a `set used` that stays above it: still cut.
    EXPECT_EQ(PlanActions::stillCut(kMarch, kMarch, kPlan * 2, kPlan * 2), kMarch);
}

TEST(PlanActions, RoamingIsToldOnceADayWhenThereIsSome)
{
    struct Case {
        std::uint64_t roaming;
        int today;
        std::optional<int> last;
        bool due;
    } const cases[] = {
        {0, 20260310, std::nullopt, false},  {1, 20260310, std::nullopt, true},
        {5000, 20260310, 20260310, false},   {5000, 20260311, 20260310, true},
        {0, 20260311, 20260310, false},      {5000, 20260310, 20260311, true},  // the clock went back
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlanActions::roamingNoticeDue(c.roaming, c.today, c.last), c.due)
            << c.roaming << " on " << c.today << " last " << c.last.value_or(0);
    }
}

}  // namespace
}  // namespace quorvel
