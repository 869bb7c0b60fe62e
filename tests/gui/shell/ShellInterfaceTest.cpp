// SPDX-License-Identifier: GPL-3.0-or-later
// The window after the set-up: one interface per process, summaries reaching the four tabs,
// alerts from notifications, a vanished state file, and the main tab as a person sees it.
#include "ShellTestSupport.hpp"

#include <gmock/gmock.h>

#include <algorithm>

#include <gtkmm/applicationwindow.h>

#include "engine/CTrafficManager.hpp"
#include "engine/PlanActionsRunner.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/FileSize.hpp"
#include "platform/Log.hpp"
#include "platform/Paths.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"
#include "ui/main/gtk/FViewController.hpp"

namespace quorvel::guitest {
namespace {

TEST_F(ShellTest, ASecondCreateInterfaceChangesNothing)
{
    demoState();
    FAppDelegate& d = launch();
    ASSERT_NE(d.tabs(), nullptr);
    FTabInterface* tabs = d.tabs();
    Gtk::Window* window = d.window();
    TabScreen* main = tabs->builtScreen(0);
    d.createInterface();
    d.controller().applicationWillEnterForeground();
    EXPECT_EQ(d.tabs(), tabs);
    EXPECT_EQ(d.window(), window);
    EXPECT_EQ(tabs->builtScreen(0), main);
    EXPECT_EQ(tabs->builtScreens().size(), 1u) << "no other tab was shown";
}

TEST_F(ShellTest, TheReferencePageHidesTheTabBarOfTheWindow)
{
    demoState();
    FAppDelegate& d = launch();
    auto* settings = dynamic_cast<FPrefTableViewController*>(&d.tabs()->screen(3));
    ASSERT_NE(settings, nullptr);
    d.tabs()->selectTab(3);
    settings->tableViewDidSelectRow(FPrefTableViewController::kInformation, 0);
    EXPECT_FALSE(d.tabs()->tabBarRevealed());
    settings->navigation().pop();
    EXPECT_TRUE(d.tabs()->tabBarRevealed());
}

TEST_F(ShellTest, ALaunchFromAnAlertOpensTheFirstTabWithTheAlert)
{
    demoState();
    makeApplication();
    app_->register_application();
    app_->activate_action("show-alert", Glib::Variant<std::tuple<Glib::ustring, Glib::ustring, Glib::ustring>>::create(
                                            {"Monthly Data Usage", "You've exceeded your month data plan for 125%. Used 2.5 GB of 2 GB.",
                                             "NotificationDataChanged"}));
    settle(10);
    ASSERT_NE(delegate_->tabs(), nullptr);
    EXPECT_EQ(delegate_->tabs()->selectedTab(), 0);
    ASSERT_TRUE(delegate_->shownAlert().has_value());
    EXPECT_EQ(delegate_->shownAlert()->first, "Monthly Data Usage");
}

TEST_F(ShellTest, AlertsWithoutTitleOrOfThePositionKind)
{
    demoState();
    FAppDelegate& d = launch();
    d.didReceiveLocalNotification(LocalNotification{"body", "", "NotificationPosChanged"}, false);
    EXPECT_FALSE(d.shownAlert().has_value());
    d.didReceiveLocalNotification(LocalNotification{"body", "", "NotificationDataChanged"}, false);
    ASSERT_TRUE(d.shownAlert().has_value());
    EXPECT_EQ(d.shownAlert()->first, "Data Usage Alert");
    d.didReceiveLocalNotification(LocalNotification{"other", "Ignored title", "SomethingElse"}, false);
    EXPECT_EQ(d.shownAlert()->first, "Data Usage Alert");
}

TEST_F(ShellTest, TheCutoffNoticesButtonStartsTheApplicationAndSaysWhyDataStaysOff)
{
    demoState();
    // No system bus: the answer does not depend on the machine's NetworkManager.
    const std::string unreachable = "unix:path=" + (Paths::fromEnvironment().stateFile.parent_path() / "no-bus").string();
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", unreachable.c_str(), 1);
    makeApplication();
    app_->register_application();
    app_->activate_action(PlanActionsRunner::kTurnBackOnAction);
    settle(10);
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    ASSERT_NE(delegate_->tabs(), nullptr) << "the button starts the application";
    ASSERT_TRUE(delegate_->shownAlert().has_value());
    EXPECT_EQ(delegate_->shownAlert()->first, "Mobile Data Not Turned On");
    EXPECT_THAT(delegate_->shownAlert()->second, ::testing::HasSubstr("The system bus cannot be reached"));

    // The notices of the plan's actions keep their own titles in the window.
    delegate_->didReceiveLocalNotification(
        LocalNotification{"2 MB used while roaming today.", "Data Used While Roaming", PlanActionsRunner::kTypeRoaming},
        false);
    EXPECT_EQ(delegate_->shownAlert()->first, "Data Used While Roaming");
}

TEST_F(ShellTest, AnAlertClickAfterTheStateFileVanishedStartsCleanly)
{
    demoState();
    std::filesystem::remove(Paths::fromEnvironment().stateFile);
    setCounters(3'000'000'000);  // a large total since boot must not be booked as today's use
    makeApplication();
    app_->register_application();
    app_->activate_action("show-alert", Glib::Variant<std::tuple<Glib::ustring, Glib::ustring, Glib::ustring>>::create(
                                            {"Daily Data Usage", "You exceeded your day plan limit. 80 MB today used.",
                                             "NotificationDataChanged"}));
    settle(10);
    ASSERT_NE(delegate_->tabs(), nullptr);
    EXPECT_TRUE(delegate_->shownAlert().has_value());
    CTrafficManager& m = *delegate_->controller().pmodule();
    EXPECT_EQ(m.getMonthPlan(), 2'000'000'000u) << "the plan preference survives";
    EXPECT_EQ(m.history().getTotalTraffic(), 0u);
    EXPECT_TRUE(std::filesystem::exists(Paths::fromEnvironment().stateFile)) << "written afresh";
}

TEST_F(ShellTest, WithoutALocationServiceItSaysSoOnceAndStillCounts)
{
    demoState();
    std::vector<std::string> lines;
    struct SinkGuard {
        Log::Sink previous;
        ~SinkGuard() { Log::setSink(std::move(previous)); }
    } guard{Log::setSink([&](const std::string& line) { lines.push_back(line); })};
    const auto said = [&] {
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.find("location is unavailable") != std::string::npos; });
    };
    FAppDelegate& d = launch();
    if (!runUntil([&] { return said() > 0; }, 10000)) {
        GTEST_SKIP() << "this session has a location service";
    }
    // Every way back to the foreground asks for locations again; none may repeat the message.
    d.controller().applicationDidEnterBackground();
    d.controller().applicationWillEnterForeground();
    d.controller().applicationDidBecomeActive();
    d.controller().applicationDidEnterBackground();
    d.controller().applicationWillEnterForeground();
    settle(20);
    EXPECT_EQ(said(), 1);
    EXPECT_NE(d.controller().doGetTrafficInfoTask(true), nullptr) << "usage is still counted";
}

TEST_F(ShellTest, SummariesReachEveryTabAndTheMainTabShowsThem)
{
    demoState();
    FAppDelegate& d = launch();
    Gtk::Window& window = *d.window();
    settle(20);
    const std::vector<std::string> texts = labelTexts(window);
    const auto has = [&](const std::string& t) { return std::find(texts.begin(), texts.end(), t) != texts.end(); };
    EXPECT_TRUE(has("2 GB")) << "the plan";
    const auto summary = d.controller().pmodule()->summaryFigures();
    EXPECT_TRUE(has(FileSize::formatMemoryStringDot1NSnum(summary->pDataUsed()))) << "the data used";
    const auto image = picture(window);
    keepScreenshot(image, "shell-main-phone");
    // The tab bar at the bottom is drawn, the window is not blank: the bar is not the page.
    const Rgb bottom = pixel(image, 180, window.get_height() - 10);
    const Rgb page = pixel(image, 4, window.get_height() / 2.0);
    EXPECT_FALSE(bottom.r == page.r && bottom.g == page.g && bottom.b == page.b);
}

}  // namespace
}  // namespace quorvel::guitest
