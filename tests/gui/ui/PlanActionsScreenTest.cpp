// SPDX-License-Identifier: GPL-3.0-or-later
// The settings' plan section with the operator the modem is registered on and the switch that
// turns mobile data off at the plan: insensitive with the reason where NetworkManager cannot act,
// kept in the state where it can.
#include <gtest/gtest.h>

#include "SettingsFixture.hpp"
#include "platform/MobileDataSwitch.hpp"
#include "platform/RoamingSource.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel::settingstest {
namespace {

using Settings = FPrefTableViewController;
constexpr int kOperatorRow = 2;
constexpr int kCutoffRow = 3;

// A network manager that would act; these screens never switch mobile data themselves.
class AvailableSwitch final : public MobileDataSwitch {
public:
    std::optional<std::string> unavailable() override { return std::nullopt; }
    SwitchOutcome turnOff(const std::vector<std::string>&) override { return {}; }
    SwitchOutcome turnOn() override { return {}; }
};

class HomeNetwork final : public RoamingSource {
public:
    bool roamingSinceLastAsked() override { return false; }
    std::optional<std::string> operatorName() const override { return name; }
    std::optional<std::string> name = "Tele Nord";
};

class PlanActionsScreenTest : public SettingsFixture {
protected:
    Settings& settings() { return make<Settings>(*context, prompts.prompts()); }
    FPrefTableRow& cutoffRow(Settings& screen) { return screen.table().row(Settings::kPlan, kCutoffRow); }
};

TEST_F(PlanActionsScreenTest, WithoutNetworkManagerTheSwitchSaysWhyAndCannotBeTurnedOn)
{
    Settings& screen = settings();
    show(screen.widget(), 360, 720);
    guitest::keepScreenshot(guitest::picture(screen.widget()), "settings-phone-without-networkmanager");
    FPrefTableRow& row = cutoffRow(screen);
    EXPECT_EQ(row.text(), "Turn Off Mobile Data at Plan");
    EXPECT_EQ(row.subtitle(), "NetworkManager is not running");
    EXPECT_FALSE(row.get_sensitive());
    screen.tableViewDidSelectRow(Settings::kPlan, kCutoffRow);
    EXPECT_FALSE(row.toggle()->get_active());
    EXPECT_FALSE(app->cutoffAtPlan());
    EXPECT_EQ(screen.table().row(Settings::kPlan, kOperatorRow).text(), "Operator - Unknown");
}

TEST_F(PlanActionsScreenTest, TheSwitchIsKeptInTheStateAndTheOperatorShown)
{
    AvailableSwitch available;
    HomeNetwork network;
    t.env.mobileData = &available;
    t.env.roaming = &network;
    Settings& screen = settings();
    show(screen.widget(), 360, 720);
    FPrefTableRow& row = cutoffRow(screen);
    EXPECT_TRUE(row.get_sensitive());
    EXPECT_EQ(row.subtitle(), "");
    EXPECT_EQ(screen.table().row(Settings::kPlan, kOperatorRow).text(), "Operator - Tele Nord");

    row.activate();  // a tap on the title, as on the other switch rows
    EXPECT_TRUE(row.toggle()->get_active());
    EXPECT_TRUE(app->cutoffAtPlan());
    const std::unique_ptr<CTrafficManager> saved = CTrafficManager::decode(t.env, *t.stateFile->read());
    EXPECT_TRUE(saved->cutoffAtPlan()) << "saved at once, beside the plan";
    guitest::waitFrames(screen.widget());
    guitest::keepScreenshot(guitest::picture(screen.widget()), "settings-phone-cutoff-on");

    network.name = "Roam Air";  // another SIM, or roaming onto another network
    screen.reloadData();
    EXPECT_EQ(screen.table().row(Settings::kPlan, kOperatorRow).text(), "Operator - Roam Air");
    EXPECT_TRUE(row.toggle()->get_active()) << "reloading shows what the state holds";
    row.toggle()->set_active(false);
    EXPECT_FALSE(app->cutoffAtPlan());
}

}  // namespace
}  // namespace quorvel::settingstest
