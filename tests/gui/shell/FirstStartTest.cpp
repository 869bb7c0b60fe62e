// SPDX-License-Identifier: GPL-3.0-or-later
// The first-start set-up through the real window: the answers the prompts accept and refuse,
// one prompt however often the window becomes active, no sampling before the set-up ends, and
// the welcome that can be left for later and asked for again from the main screen.
#include "ShellTestSupport.hpp"

#include <X11/keysym.h>

#include <algorithm>

#include <gtkmm/button.h>

#include "engine/CTrafficManager.hpp"
#include "RealInput.hpp"
#include "charts/gtk/ChartViewContainerViewController.hpp"
#include "charts/gtk/FChartPageWidget.hpp"
#include "ui/dialog/gtk/CODialogButton.hpp"
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
    EXPECT_EQ(d.controller().pmodule()->getMonthPlan(), CTrafficManager::kDefaultPlan) << "Not Now sets nothing";
    EXPECT_FALSE(d.alertViewShowing()) << "and leaves the set-up";
    d.alertViewClickedButtonAtIndex(PromptKind::Plan, 1, "800");
    d.alertViewClickedButtonAtIndex(PromptKind::resetLocations, 1, "7");  // not a set-up prompt
    d.alertViewClickedButtonAtIndex(PromptKind::StartDay, 1, "7");
    d.alertViewClickedButtonAtIndex(PromptKind::Used, 1, "12");
    settle(5);
    EXPECT_EQ(d.controller().pmodule()->getMonthPlan(), 800'000'000u);
    EXPECT_EQ(d.controller().pmodule()->getPlanStartDay(), 7);
    EXPECT_FALSE(d.controller().isFirstStart());
}

TEST_F(FirstStart, RightAfterTheSetUpTheChartDrawsOnlyTheEnteredFigure)
{
    FAppDelegate& d = started();
    d.commonDataPlanEntered("2000");
    d.commonStartDayEntered("1");
    d.commonDataUsedEntered("250");
    settle(10);
    ASSERT_NE(d.controller().doGetTrafficInfoTask(true), nullptr);
    d.tabs()->selectTab(1);
    settle(10);
    auto* charts = dynamic_cast<ChartViewContainerViewController*>(&d.tabs()->screen(1));
    ASSERT_NE(charts, nullptr);
    ASSERT_FALSE(charts->viewControllers().empty());
    FChartViewController& month = charts->viewControllers().back()->controller();
    // The figure spread over the days since the 1st is one point on the day it was entered.
    ASSERT_EQ(month.pLineChartUsed.dataForPlot.size(), 1u);
    EXPECT_EQ(month.pLineChartUsed.dataForPlot[0].y * static_cast<double>(*month.pLineChartUsed.pnDiv), 250'000'000.0);
    EXPECT_EQ(month.pLineChartUsed.dataForPlot[0].x, FChartData::position(d.controller().pmodule()->currentDay().noon(),
                                                                           month.pMonthStartDate));
    EXPECT_TRUE(month.pBarChartUsed.dataForPlot.empty()) << "no day was measured yet";
}

Gtk::Button* buttonLabelled(Gtk::Widget& root, const std::string& label)
{
    if (auto* button = dynamic_cast<Gtk::Button*>(&root); button != nullptr && button->get_label().raw() == label) {
        return button;
    }
    for (Gtk::Widget* c = root.get_first_child(); c != nullptr; c = c->get_next_sibling()) {
        if (Gtk::Button* found = buttonLabelled(*c, label)) {
            return found;
        }
    }
    return nullptr;
}

bool shows(Gtk::Widget& root, const std::string& text)
{
    const auto texts = labelTexts(root);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(FirstStart, TheWelcomeCanBeLeftAndTheMainScreenOffersTheSetUpAgain)
{
    FAppDelegate& d = started();
    Gtk::Window& window = *d.window();
    ASSERT_TRUE(d.ownAlertView());
    EXPECT_EQ(promptTitle(), sharUtils::kPlanTitle);
    EXPECT_TRUE(d.ownAlertView()->subtitle().starts_with("Welcome to Quorvel.")) << d.ownAlertView()->subtitle();
    EXPECT_TRUE(d.ownAlertView()->subtitle().ends_with("Enter your monthly data plan in Megabytes"));
    ASSERT_EQ(d.ownAlertView()->buttons().size(), 2u);
    EXPECT_EQ(d.ownAlertView()->buttons()[0]->title(), "Not Now");
    Gtk::Button* setUp = buttonLabelled(window, "Set Up");
    ASSERT_NE(setUp, nullptr);
    waitFrames(window, 3);
    keepScreenshot(picture(window), "first-start-welcome-phone");

    // Escape leaves it: nothing is asked again when the window becomes active, nothing counted.
    pressKey(window, XK_Escape);
    settle(10);
    EXPECT_FALSE(d.alertViewShowing());
    EXPECT_EQ(promptTitle(), "");
    EXPECT_TRUE(d.controller().isFirstStart());
    d.controller().applicationWillResignActive();
    d.controller().applicationDidBecomeActive();
    settle(5);
    EXPECT_FALSE(d.alertViewShowing()) << "left means left until asked for";
    setCounters(9'000'000);
    d.controller().timerFireMethod();
    settle(5);
    EXPECT_EQ(d.controller().pmodule()->history().getTotalTraffic(), 0u);
    EXPECT_TRUE(shows(window, "Quorvel counts nothing until it is set up."));
    EXPECT_TRUE(setUp->get_mapped());
    waitFrames(window, 3);
    keepScreenshot(picture(window), "first-start-left-phone");

    // "Set Up" asks again, with the welcome; the start day's Cancel leaves as well.
    setUp->activate();  // as Enter or Space on the focused button: clicked after its press shows
    ASSERT_TRUE(runUntil([&] { return d.alertViewShowing(); }));
    EXPECT_EQ(promptTitle(), sharUtils::kPlanTitle);
    d.commonDataPlanEntered("1000");
    d.StartDayCancelled();
    EXPECT_FALSE(d.alertViewShowing());
    EXPECT_TRUE(d.controller().isFirstStart());

    setUp->activate();
    ASSERT_TRUE(runUntil([&] { return d.alertViewShowing(); }));
    d.commonDataPlanEntered("1000");
    d.commonStartDayEntered("1");
    d.commonDataUsedEntered("100");
    settle(10);
    EXPECT_FALSE(d.controller().isFirstStart());
    EXPECT_FALSE(shows(window, "Quorvel counts nothing until it is set up.") && setUp->get_mapped())
        << "the note goes with the set-up";
    EXPECT_FALSE(setUp->get_mapped());
}

}  // namespace
}  // namespace quorvel::guitest
