// SPDX-License-Identifier: GPL-3.0-or-later
// A plan for each SIM in the window, at phone size: the choice of the plan shown in the header
// bar when there is more than one, every screen then showing the chosen SIM's figures; the SIM
// list with renaming and forgetting; a new SIM's set-up offered with its name in the titles.
#include "ShellTestSupport.hpp"

#include <algorithm>

#include "ui/PromptTarget.hpp"
#include "ui/settings/gtk/FPrefSimsViewController.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel::guitest {
namespace {

bool anyLabelHas(Gtk::Widget& root, const std::string& text)
{
    const std::vector<std::string> labels = labelTexts(root);
    return std::any_of(labels.begin(), labels.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

std::string joined(Gtk::Widget& root)
{
    std::string all;
    for (const std::string& l : labelTexts(root)) {
        all += l + " | ";
    }
    return all;
}

TEST_F(ShellTest, ThePlanSwitcherShowsEachSimsPlanAtPhoneSize)
{
    demoState({"--sims"});
    FAppDelegate& d = launch();
    Gtk::Window& window = *d.window();
    ASSERT_TRUE(runUntil([&] { return window.get_width() == 360; })) << window.get_width();
    FPlanSwitcher& switcher = d.tabs()->planSwitcher();
    ASSERT_TRUE(switcher.widget().get_visible());
    ASSERT_EQ(switcher.choices().size(), 3u);
    EXPECT_EQ(switcher.choices()[0].name, "This device");
    EXPECT_EQ(switcher.choices()[1].name, "Tele Nord");
    EXPECT_EQ(switcher.choices()[2].name, "Travel Mobile");
    // No modem manager answers here: the active SIM is unknown, so This device's plan is shown.
    ASSERT_TRUE(runUntil([&] { return anyLabelHas(window, "Period 15 Nov"); })) << joined(window);
    keepScreenshot(picture(window), "plan-switcher-device-phone");

    d.tabs()->screen(3);  // made but not shown: it follows the choice all the same
    switcher.choose(1);
    EXPECT_EQ(d.controller().selectedSim(), std::optional<std::string>("8949020000001234567"));
    // Every screen shows the SIM's own plan: the main figures and the settings' rows.
    ASSERT_TRUE(runUntil([&] { return anyLabelHas(window, "Period 1 Dec"); })) << joined(window);
    EXPECT_TRUE(anyLabelHas(window, "5 GB")) << joined(window);
    EXPECT_TRUE(anyLabelHas(window, "Data Plan - 5 GB")) << joined(window);
    EXPECT_FALSE(anyLabelHas(window, "Data Plan - 2 GB")) << joined(window);
    settle(20);
    keepScreenshot(picture(window), "plan-switcher-sim-phone");

    switcher.choose(0);
    EXPECT_TRUE(runUntil([&] { return anyLabelHas(window, "Data Plan - 2 GB"); })) << joined(window);
}

TEST_F(ShellTest, TheSimListRenamesAndForgetsAtPhoneSize)
{
    demoState({"--sims"});
    FAppDelegate& d = launch();
    Gtk::Window& window = *d.window();
    ASSERT_TRUE(runUntil([&] { return window.get_width() == 360; })) << window.get_width();
    d.tabs()->selectTab(3);
    auto& settings = dynamic_cast<FPrefTableViewController&>(d.tabs()->screen(3));
    EXPECT_TRUE(anyLabelHas(window, "SIMs - 2")) << joined(window);
    settings.tableViewDidSelectRow(FPrefTableViewController::kPlan, FPrefTableViewController::kPlanSims);
    auto* page = dynamic_cast<FPrefSimsViewController*>(settings.navigation().top());
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->rows().size(), 2u);
    EXPECT_STREQ(adw_preferences_row_get_title(ADW_PREFERENCES_ROW(page->rows()[0])), "Tele Nord");
    const std::string sub = adw_action_row_get_subtitle(page->rows()[0]);
    EXPECT_NE(sub.find("…4567"), std::string::npos) << sub;
    EXPECT_NE(sub.find("plan 5\u00a0GB"), std::string::npos) << sub;
    EXPECT_EQ(sub.find("8949020000001234567"), std::string::npos) << "never the whole ICCID: " << sub;
    ASSERT_TRUE(runUntilSlidIn(page->widget(), settings.widget()));
    settle(30);
    waitFrames(window, 3);
    keepScreenshot(picture(window), "sim-list-phone");

    // Renamed: the row and the switcher say the new name.
    page->renameSelected(1);
    ASSERT_NE(page->renameDialog(), nullptr);
    page->renameAnswered(std::string("Abroad"));
    EXPECT_STREQ(adw_preferences_row_get_title(ADW_PREFERENCES_ROW(page->rows()[1])), "Abroad");
    d.tabs()->planSwitcher().refresh();
    EXPECT_EQ(d.tabs()->planSwitcher().choices()[2].name, "Abroad");
    page->renameSelected(0);
    page->renameAnswered(std::string(100, 'x'));  // refused: the name stays
    EXPECT_STREQ(adw_preferences_row_get_title(ADW_PREFERENCES_ROW(page->rows()[0])), "Tele Nord");

    // Forgotten only after the confirmation, the shown plan going back to This device's.
    d.tabs()->planSwitcher().choose(2);
    page->forgetSelected(1);
    ASSERT_TRUE(page->forgetQuestion().isOpen());
    Gtk::Window* question = Glib::wrap(GTK_WINDOW(page->forgetQuestion().dialog()));
    waitFrames(*question, 3);
    keepScreenshot(picture(*question), "sim-forget-question-phone");
    adw_message_dialog_response(page->forgetQuestion().dialog(), "cancel");
    EXPECT_EQ(page->rows().size(), 2u);
    page->forgetSelected(1);
    adw_message_dialog_response(page->forgetQuestion().dialog(), "reset");
    ASSERT_EQ(page->rows().size(), 1u);
    EXPECT_EQ(d.controller().selectedSim(), std::nullopt);
    d.tabs()->planSwitcher().refresh();
    EXPECT_EQ(d.tabs()->planSwitcher().choices().size(), 2u);
}

TEST_F(ShellTest, ANewSimIsOfferedItsOwnSetUpWithItsNameInTheTitles)
{
    demoState({"--sims", "--new-sim"});
    FAppDelegate& d = launch();
    ASSERT_TRUE(runUntil([&] { return d.simOffer() != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(d.simOffer()), "New SIM: Roam Go");
    EXPECT_FALSE(adw_message_dialog_has_response(d.simOffer(), "take")) << "other SIMs have plans: nothing to take over";
    Gtk::Window* offer = Glib::wrap(GTK_WINDOW(d.simOffer()));
    waitFrames(*offer, 3);
    keepScreenshot(picture(*offer), "new-sim-offer-phone");

    d.simOfferAnswered("new");
    ASSERT_TRUE(runUntil([&] { return promptTitle() == "Monthly Data Plan \u2014 Roam Go"; })) << promptTitle();
    d.alertViewClickedButtonAtIndex(PromptKind::Plan, 1, "3000");
    ASSERT_TRUE(runUntil([&] { return promptTitle() == "Data Plan Start Date \u2014 Roam Go"; })) << promptTitle();
    d.alertViewClickedButtonAtIndex(PromptKind::StartDay, 1, "5");
    settle(20);
    EXPECT_FALSE(d.simBeingSetUp());
    EXPECT_EQ(d.controller().selectedSim(), std::optional<std::string>("8933010000005550001"));
    const CTrafficManager& sim = *d.controller().pmodule();
    EXPECT_EQ(sim.getMonthPlan(), 3'000'000'000u);
    EXPECT_EQ(sim.getPlanStartDay(), 5);
    EXPECT_EQ(sim.getDataUsed(), 12'500'000u) << "what was counted for it stays its used data";
    d.tabs()->planSwitcher().refresh();
    EXPECT_EQ(d.tabs()->planSwitcher().choices().size(), 4u);
}

TEST_F(ShellTest, TheFirstSimIsAskedWhetherItCarriesThePlanSoFar)
{
    demoState({"--new-sim"});
    FAppDelegate& d = launch();
    ASSERT_TRUE(runUntil([&] { return d.simOffer() != nullptr; }));
    const std::uint64_t deviceUsed = d.controller().pmodule()->getDataUsed();
    ASSERT_TRUE(adw_message_dialog_has_response(d.simOffer(), "take"));
    d.simOfferAnswered("take");
    settle(20);
    EXPECT_EQ(d.controller().selectedSim(), std::optional<std::string>("8933010000005550001"));
    EXPECT_EQ(d.controller().pmodule()->getMonthPlan(), 2'000'000'000u);
    EXPECT_EQ(d.controller().pmodule()->getDataUsed(), deviceUsed + 12'500'000u);
    EXPECT_EQ(d.simOffer(), nullptr) << "asked once";

    EXPECT_FALSE(d.controller().simAwaitingSetUp()) << "no SIM is left without a plan to offer";
}

TEST_F(ShellTest, WithOnePlanThereIsNothingToChoose)
{
    demoState();
    FAppDelegate& d = launch();
    EXPECT_FALSE(d.tabs()->planSwitcher().widget().get_visible());
    EXPECT_EQ(d.tabs()->planSwitcher().choices().size(), 1u);
}

}  // namespace
}  // namespace quorvel::guitest
