// SPDX-License-Identifier: GPL-3.0-or-later
// The first-start set-up through the real window: the answers the prompts accept and refuse,
// one prompt however often the window becomes active, and no sampling before the set-up ends.
#include "ShellTestSupport.hpp"

#include "engine/CTrafficManager.hpp"
#include "ui/dialog/gtk/sharUtils.hpp"

namespace quorvel::guitest {
namespace {

struct FirstStart : ShellTest {
    FAppDelegate& started()
    {
        FAppDelegate& d = launch();
        d.controller().applicationDidBecomeActive();
        settle(5);
        return d;
    }
};

TEST_F(FirstStart, BecomingActiveTwiceOpensThePlanPromptOnce)
{
    FAppDelegate& d = started();
    EXPECT_EQ(promptTitle(), sharUtils::kPlanTitle);
    const auto first = d.ownAlertView();
    d.controller().applicationWillResignActive();
    d.controller().applicationDidBecomeActive();
    settle(5);
    EXPECT_EQ(d.ownAlertView(), first) << "no second sequence";
    EXPECT_TRUE(d.alertViewShowing());
}

TEST_F(FirstStart, ThePlanPromptComesBackUntilAPositivePlan)
{
    FAppDelegate& d = started();
    for (const char* refused : {"0", "", "letters", "-3", "99999999999999999"}) {
        d.commonDataPlanEntered(refused);
        EXPECT_EQ(promptTitle(), sharUtils::kPlanTitle) << refused;
    }
    d.DataPlanCancelled();
    EXPECT_EQ(promptTitle(), sharUtils::kPlanTitle);
    d.commonDataPlanEntered("500");
    EXPECT_EQ(d.controller().pmodule()->getMonthPlan(), 500'000'000u);
    EXPECT_EQ(promptTitle(), sharUtils::kStartDayTitle);
    EXPECT_EQ(d.ownAlertView()->textFields().size(), 1u);
}

TEST_F(FirstStart, TheStartDayMustLieInTheMonth)
{
    FAppDelegate& d = started();
    d.commonDataPlanEntered("2000");
    for (const char* refused : {"32", "0", ""}) {
        d.commonStartDayEntered(refused);
        EXPECT_EQ(promptTitle(), sharUtils::kStartDayTitle) << refused;
    }
    d.StartDayCancelled();
    EXPECT_EQ(promptTitle(), sharUtils::kStartDayTitle);
    d.commonStartDayEntered("letters");
    EXPECT_EQ(d.controller().pmodule()->getPlanStartDay(), 1) << "letters alone count as day 1";
    EXPECT_EQ(promptTitle(), sharUtils::kUsedTitle);
}

TEST_F(FirstStart, NothingIsSampledUntilTheUsedDataIsAnswered)
{
    FAppDelegate& d = started();
    setCounters(7'000'000);
    d.controller().timerFireMethod();
    d.controller().didUpdateToLocation(Location{52.5, 13.4, 10, Date{}});
    d.commonDataPlanEntered("2000");
    d.commonStartDayEntered("31");
    settle(10);
    EXPECT_TRUE(d.controller().isFirstStart());
    EXPECT_EQ(d.controller().pmodule()->history().getTotalTraffic(), 0u);
    EXPECT_EQ(d.controller().pmodule()->getPlanStartDay(), 31);

    d.commonDataUsedEntered("250");
    settle(10);
    EXPECT_FALSE(d.controller().isFirstStart());
    EXPECT_FALSE(d.alertViewShowing());
    EXPECT_EQ(promptTitle(), "");
    EXPECT_EQ(d.controller().pmodule()->history().getTotalTraffic(), 250'000'000u)
        << "the counters so far are part of the entered amount";
    setCounters(7'000'500);
    d.controller().timerFireMethod();
    settle(10);
    EXPECT_EQ(d.controller().pmodule()->history().getTotalTraffic(), 250'000'500u) << "now it samples";
}

TEST_F(FirstStart, NegativeOrCancelledUsedDataIsZero)
{
    for (const bool cancel : {false, true}) {
        SetUp();
        FAppDelegate& d = started();
        d.commonDataPlanEntered("1000");
        d.commonStartDayEntered("1");
        if (cancel) {
            d.UsedDataCancelled();
        } else {
            d.commonDataUsedEntered("-5");
        }
        settle(5);
        EXPECT_FALSE(d.controller().isFirstStart()) << cancel;
        EXPECT_EQ(d.controller().pmodule()->history().getTotalTraffic(), 0u) << cancel;
        TearDown();
    }
}

TEST_F(FirstStart, TheMessageDialogFormAnswersByPromptKind)
{
    UIDeviceVersion::setSystemVersionText("5.1");
    FAppDelegate& d = started();
    EXPECT_EQ(promptTitle(), "") << "no self-drawn dialog in this form";
    d.alertViewClickedButtonAtIndex(PromptKind::Plan, 0, "800");
    EXPECT_EQ(d.controller().pmodule()->getMonthPlan(), CTrafficManager::kDefaultPlan) << "Cancel passes 0";
    d.alertViewClickedButtonAtIndex(PromptKind::Plan, 1, "800");
    d.alertViewClickedButtonAtIndex(PromptKind::resetLocations, 1, "7");  // not a set-up prompt
    d.alertViewClickedButtonAtIndex(PromptKind::StartDay, 1, "7");
    d.alertViewClickedButtonAtIndex(PromptKind::Used, 1, "12");
    settle(5);
    EXPECT_EQ(d.controller().pmodule()->getMonthPlan(), 800'000'000u);
    EXPECT_EQ(d.controller().pmodule()->getPlanStartDay(), 7);
    EXPECT_FALSE(d.controller().isFirstStart());
}

}  // namespace
}  // namespace quorvel::guitest
