// SPDX-License-Identifier: GPL-3.0-or-later
// The "Data" tab over plans as carriers sell them: the period's dates, the allowance's parts
// (plan, rollover, each pack with what it has left) and "Plan expired"; and the phone-size
// pictures of the main screen and the plan page for a 28-day plan with a pack and rollover.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <adwaita.h>

#include <gtkmm/adjustment.h>
#include <gtkmm/scrolledwindow.h>

#include "GuiTest.hpp"
#include "MainScreenTestEnv.hpp"
#include "ui/main/gtk/FViewController.hpp"
#include "ui/settings/gtk/FPrefPlanViewController.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel {
namespace {

using ::testing::Contains;
using ::testing::Not;
using Idiom = UIDeviceVersion::Idiom;

constexpr std::uint64_t kMB = 1'000'000;

struct MainScreenPlanTest : ::testing::Test {
    guitest::ScreenTestEnv env;
    guitest::ScopedIdiom idiom{Idiom::Phone};

    void book(LocalDay first, LocalDay last, std::uint64_t bytesPerDay)
    {
        env.app->withStateLock([&](CTrafficManager& m) {
            for (LocalDay d = first; d <= last; d = d.plusDays(1)) {
                m.history().addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(d.noon(), bytesPerDay));
            }
        });
    }
    // A 3 GB plan every 28 days from 1 February with rollover on: February used 1 GB, so March
    // starts with 2 GB rolled over; on 5 March a 1 GB pack from 3 March has given 300 MB of the
    // 500 MB that March used.
    std::shared_ptr<FTrafficDataInformation> twentyEightDayPlan()
    {
        env.t.clock.set(test::localDate(2026, 2, 20, 14));
        env.app->resetWizardFinished();
        env.app->onResetPlanValue(3'000 * kMB);
        env.app->setPlanShape(PlanShape::every(28, LocalDay(2026, 2, 1)));
        env.app->setRollover(true);
        book(LocalDay(2026, 2, 1), LocalDay(2026, 2, 20), 50 * kMB);
        env.app->doGetTrafficInfoTask(true);
        env.t.clock.set(test::localDate(2026, 3, 5, 14));
        book(LocalDay(2026, 3, 1), LocalDay(2026, 3, 5), 100 * kMB);
        EXPECT_TRUE(env.app->addPack(AddonPack(1'000 * kMB, LocalDay(2026, 3, 3), 7)));
        return env.app->doGetTrafficInfoTask(true);
    }
    static std::vector<std::string> texts(FViewController& screen) { return guitest::labelTexts(screen.widget()); }
};

TEST_F(MainScreenPlanTest, APeriodWithRolloverAndAPackShowsItsParts)
{
    FViewController screen(*env.context);
    screen.updateInterface(twentyEightDayPlan());
    EXPECT_EQ(screen.ptPeriod->get_text(), "Period 1 Mar – 28 Mar 2026");
    EXPECT_FALSE(screen.ptExpired->get_visible());
    ASSERT_TRUE(screen.pallowanceView->get_visible());
    const std::vector<std::string> parts = guitest::labelTexts(*screen.pallowanceView);
    EXPECT_EQ(parts, (std::vector<std::string>{"ALLOWANCE", "Plan", "3 GB", "Rollover", "2 GB", "Pack 1 (1 GB)",
                                               "700 MB left · to 9 Mar"}));
    EXPECT_EQ(screen.ptPlan->get_text(), "6 GB") << "the figure is the whole allowance";
    EXPECT_EQ(screen.ptUsed->get_text(), "500 MB");
}

TEST_F(MainScreenPlanTest, ThePlanAloneShowsNoPartsAndAMonthlyPeriod)
{
    FViewController screen(*env.context);
    screen.updateInterface(env.demoSummary());
    EXPECT_EQ(screen.ptPeriod->get_text(), "Period 15 Feb – 14 Mar 2026");
    EXPECT_FALSE(screen.pallowanceView->get_visible());
    EXPECT_FALSE(screen.ptExpired->get_visible());
}

TEST_F(MainScreenPlanTest, AnEndedPrepaidPlanSaysSoUntilANewOneIsSet)
{
    env.app->resetWizardFinished();
    env.app->setPlanShape(PlanShape::prepaid(LocalDay(2026, 1, 10), LocalDay(2026, 3, 4)));
    FViewController screen(*env.context);
    screen.updateInterface(env.app->doGetTrafficInfoTask(true));
    EXPECT_TRUE(screen.ptExpired->get_visible());
    EXPECT_EQ(screen.ptExpired->get_text(), "Plan expired");
    EXPECT_EQ(screen.ptPeriod->get_text(), "Period 10 Jan – 4 Mar 2026");

    env.app->setPlanShape(PlanShape::prepaid(LocalDay(2026, 3, 5), LocalDay(2026, 3, 5)));
    screen.updateInterface(env.app->doGetTrafficInfoTask(true));
    EXPECT_FALSE(screen.ptExpired->get_visible()) << "its last day is still to be used";
    EXPECT_EQ(screen.ptPeriod->get_text(), "Period 5 Mar 2026");
}

TEST_F(MainScreenPlanTest, PhonePicturesOfTheMainScreenAndThePlanPage)
{
    // Dark, as the window forces it.
    adw_style_manager_set_color_scheme(adw_style_manager_get_default(), ADW_COLOR_SCHEME_FORCE_DARK);
    const auto summary = twentyEightDayPlan();
    {
        FViewController screen(*env.context);
        screen.updateInterface(summary);
        guitest::ShownIn shown(screen.widget(), 360, 760);
        auto& scroller = dynamic_cast<Gtk::ScrolledWindow&>(screen.widget());
        EXPECT_EQ(scroller.get_width(), 360);
        EXPECT_LE(scroller.get_vadjustment()->get_upper(), scroller.get_vadjustment()->get_page_size() + 0.5)
            << "the parts fit a phone's screen";
        guitest::keepScreenshot(guitest::picture(screen.widget()), "plan-main");
    }
    FPrefTableViewController settings(*env.context);
    guitest::ShownIn shown(settings.widget(), 360, 760);
    settings.tableViewDidSelectRow(FPrefTableViewController::kPlan, FPrefTableViewController::kPlanPeriod);
    auto* page = dynamic_cast<FPrefPlanViewController*>(settings.navigation().top());
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(guitest::runUntilSlidIn(page->widget(), settings.widget()));
    guitest::waitFrames(settings.widget());
    EXPECT_TRUE(page->rolloverSwitch().get_active());
    EXPECT_EQ(FPrefAdwPage::text(page->field(FPrefPlanViewController::kEveryDays)), "28");
    guitest::keepScreenshot(guitest::picture(settings.widget()), "plan-page");
}

}  // namespace
}  // namespace quorvel
