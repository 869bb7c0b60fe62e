// SPDX-License-Identifier: GPL-3.0-or-later
// The choice of the plan shown on a dual-SIM phone: offered in the header bar only when there is
// more than one plan, and every screen then shows the chosen SIM's figures.
#include "ShellTestSupport.hpp"

#include <algorithm>

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
    auto& settings = dynamic_cast<FPrefTableViewController&>(*d.tabs()->screens()[3]);
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

TEST_F(ShellTest, WithOnePlanThereIsNothingToChoose)
{
    demoState();
    FAppDelegate& d = launch();
    EXPECT_FALSE(d.tabs()->planSwitcher().widget().get_visible());
    EXPECT_EQ(d.tabs()->planSwitcher().choices().size(), 1u);
}

}  // namespace
}  // namespace quorvel::guitest
