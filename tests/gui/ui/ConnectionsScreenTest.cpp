// SPDX-License-Identifier: GPL-3.0-or-later
// "Counted connections" and "Count in the Background" over a real application controller: the
// interfaces with their reasons, taps that change what is counted (and book only what follows),
// the metered switch, and the login entry the background switch writes and removes.
#include <gtest/gtest.h>

#include <adwaita.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SettingsFixture.hpp"
#include "platform/AutostartEntry.hpp"
#include "platform/InstanceLock.hpp"
#include "ui/settings/gtk/FPrefConnectionsViewController.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel::settingstest {
namespace {

using Page = FPrefConnectionsViewController;
using Settings = FPrefTableViewController;

constexpr std::uint32_t kModem = 8, kWifi = 2, kEthernet = 1;
constexpr std::uint32_t kMeteredYes = 1, kMeteredNo = 2;

class ConnectionsScreenTest : public SettingsFixture {
protected:
    void SetUp() override
    {
        t.counters.set("lo", 7'000, 7'000);
        t.counters.set("wwan0", 1'000'000, 100'000);
        t.counters.set("mdm0", 2'000'000, 200'000);
        t.counters.set("wlan0", 3'000'000, 300'000);
        t.counters.set("eth0", 5'000'000'000, 400'000);
        t.networkDevices.table = NetworkDeviceTable{{"mdm0", kModem, std::nullopt},
                                                    {"wlan0", kWifi, kMeteredYes},
                                                    {"eth0", kEthernet, kMeteredNo}};
        SettingsFixture::SetUp();
        app->doGetTrafficInfoTask(true);  // the baselines every later sample books from
    }
    Page& page()
    {
        Page& p = make<Page>(*context);
        show(p.widget(), 360, 640);
        return p;
    }
    CTrafficManager& model() { return *app->pmodule(); }
    // What the manager itself reports for one interface, as "counted reason".
    std::string decision(const std::string& name)
    {
        for (const auto& i : model().interfaceReport()) {
            if (i.decision.name == name) {
                return std::string(i.decision.counted ? "counted " : "not counted ") +
                       std::string(countReasonName(i.decision.reason));
            }
        }
        return "absent";
    }
    static int indexOf(const Page& p, const std::string& name)
    {
        for (std::size_t i = 0; i < p.rows().size(); ++i) {
            if (p.rows()[i].name == name) {
                return static_cast<int>(i);
            }
        }
        ADD_FAILURE() << name << " is not listed";
        return 0;
    }
    static bool listed(const Page& p, const std::string& name)
    {
        return std::any_of(p.rows().begin(), p.rows().end(), [&](const ConnectionRow& r) { return r.name == name; });
    }
    // A tap on the row, which toggles its switch once the switch's slide has run.
    static void tap(const Page& p, const std::string& name)
    {
        const bool was = p.interfaceSwitch(indexOf(p, name)).get_active();
        adw_action_row_activate(p.interfaceRow(indexOf(p, name)));
        ASSERT_TRUE(guitest::runUntil([&] { return p.interfaceSwitch(indexOf(p, name)).get_active() != was; }));
    }
    static std::string subtitle(const Page& p, const std::string& name)
    {
        return adw_action_row_get_subtitle(p.interfaceRow(indexOf(p, name)));
    }
};

TEST_F(ConnectionsScreenTest, EveryInterfaceWithItsReasonAndSwitch)
{
    app->withStateLock([](CTrafficManager& m) {
        m.setInterfaceChoice("lo", false);
        m.setInterfaceChoice("wlan0", true);
    });
    Page& p = page();
    EXPECT_EQ(p.title(), "Counted connections");
    const std::vector<ConnectionRow> expected = {{"lo", false, "Ignored by you"},
                                                 {"wwan0", true, "Mobile data by its name"},
                                                 {"mdm0", true, "Modem (NetworkManager)"},
                                                 {"wlan0", true, "Chosen by you"},
                                                 {"eth0", false, "Not mobile data"}};
    EXPECT_EQ(p.rows(), expected);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_STREQ(adw_preferences_row_get_title(ADW_PREFERENCES_ROW(p.interfaceRow(int(i)))), expected[i].name.c_str());
        EXPECT_EQ(subtitle(p, expected[i].name), expected[i].reason);
        EXPECT_EQ(p.interfaceSwitch(int(i)).get_active(), expected[i].counted) << expected[i].name;
    }
    EXPECT_FALSE(p.meteredSwitch().get_active());
    const auto texts = guitest::labelTexts(p.widget());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Count Metered Connections"), texts.end());
}

TEST_F(ConnectionsScreenTest, ATapCountsFromNowAndTappingBackReturnsToDetection)
{
    Page& p = page();
    ASSERT_EQ(decision("eth0"), "not counted none");
    const std::uint64_t before = model().getDataUsed();

    tap(p, "eth0");
    EXPECT_EQ(decision("eth0"), "counted user");
    EXPECT_EQ(subtitle(p, "eth0"), "Chosen by you");
    EXPECT_TRUE(p.interfaceSwitch(indexOf(p, "eth0")).get_active());
    // Its 5 GB from before the tap are not the plan's; what follows is.
    t.counters.set("eth0", 5'000'000'000 + 700'000, 400'000);
    app->doGetTrafficInfoTask(true);
    EXPECT_EQ(model().getDataUsed() - before, 700'000u);

    tap(p, "eth0");
    EXPECT_EQ(decision("eth0"), "not counted none") << "back to detection, not a lasting choice";
    EXPECT_EQ(subtitle(p, "eth0"), "Not mobile data");

    tap(p, "wwan0");
    EXPECT_EQ(decision("wwan0"), "not counted ignored");
    EXPECT_EQ(subtitle(p, "wwan0"), "Ignored by you");
    EXPECT_FALSE(p.interfaceSwitch(indexOf(p, "wwan0")).get_active());
    tap(p, "wwan0");
    EXPECT_EQ(decision("wwan0"), "counted name");

    // The choices are in the saved state: a controller that reads the files sees them.
    tap(p, "mdm0");
    settingstest::EventLog otherLog;
    LoggingShell otherShell{otherLog};
    CAppController other(t.env, CAppController::Platform{queue, tasks, nullptr, nullptr, t.paths.stateLock, t.paths.debugLog},
                         &otherShell);
    other.initPrefs();
    other.CreateTraffManager();
    bool ignored = false;
    for (const auto& i : other.pmodule()->interfaceReport()) {
        ignored |= i.decision.name == "mdm0" && i.decision.reason == CountReason::Ignored;
    }
    EXPECT_TRUE(ignored);
}

TEST_F(ConnectionsScreenTest, MeteredSwitchCountsMeteredConnections)
{
    Page& p = page();
    EXPECT_EQ(subtitle(p, "wlan0"), "Not mobile data");
    p.meteredSwitch().set_active(true);
    EXPECT_TRUE(model().countMetered());
    EXPECT_EQ(decision("wlan0"), "counted metered");
    EXPECT_EQ(subtitle(p, "wlan0"), "Metered connection");
    EXPECT_TRUE(p.interfaceSwitch(indexOf(p, "wlan0")).get_active());
    EXPECT_EQ(decision("eth0"), "not counted none") << "not metered";
    p.meteredSwitch().set_active(false);
    EXPECT_FALSE(model().countMetered());
    EXPECT_EQ(subtitle(p, "wlan0"), "Not mobile data");
}

TEST_F(ConnectionsScreenTest, InterfacesThatComeAndGoAfterASample)
{
    Page& p = page();
    t.counters.remove("eth0");
    t.counters.set("ppp0", 10, 10);
    app->doGetTrafficInfoTask(true);
    ASSERT_TRUE(guitest::runUntil([&] { return listed(p, "ppp0") && !listed(p, "eth0"); }));
    EXPECT_EQ(subtitle(p, "ppp0"), "Mobile data by its name");
    EXPECT_EQ(p.rows().size(), 5u);
}

TEST_F(ConnectionsScreenTest, SettingsPushTheConnectionsPage)
{
    Settings& s = make<Settings>(*context, prompts.prompts());
    show(s.widget(), 360, 640);
    s.table().row(Settings::kCounting, Settings::kConnections).activate();
    ASSERT_EQ(s.navigation().depth(), 2);
    EXPECT_EQ(s.navigation().title(), "Counted connections");
    ASSERT_TRUE(guitest::runUntil([&] { return !adw_leaflet_get_child_transition_running(ADW_LEAFLET(
                                                gtk_widget_get_parent(s.navigation().top()->widget().gobj()))); }));
    guitest::settle(3);
    const auto image = guitest::picture(s.widget());
    guitest::keepScreenshot(image, "counted_connections_phone");
    // The page's dark background, not a light default, right of the rows and below them.
    for (const auto& [x, y] : {std::pair{4.0, 300.0}, std::pair{180.0, 620.0}}) {
        const guitest::Rgb c = guitest::pixel(image, x, y);
        EXPECT_LT(c.r + c.g + c.b, 3 * 90) << x << "," << y;
    }
}

TEST_F(ConnectionsScreenTest, BackgroundSwitchWritesAndRemovesTheLoginEntry)
{
    // A watcher is already counting, so none is started from the test.
    const InstanceLock watcher(t.paths.watchLock);
    ASSERT_EQ(watcher.state(), InstanceLock::State::Held);
    Settings& s = make<Settings>(*context, prompts.prompts());
    show(s.widget(), 360, 640);
    Gtk::Switch* background = s.backgroundSwitch();
    ASSERT_NE(background, nullptr);
    EXPECT_FALSE(background->get_active()) << "no entry yet";

    s.table().row(Settings::kCounting, Settings::kBackground).activate();
    EXPECT_TRUE(background->get_active());
    ASSERT_TRUE(std::filesystem::exists(t.paths.autostartEntry));
    std::ifstream in(t.paths.autostartEntry);
    std::stringstream contents;
    contents << in.rdbuf();
    EXPECT_NE(contents.str().find("/quorvelctl watch"), std::string::npos) << contents.str();

    background->set_active(false);
    EXPECT_FALSE(std::filesystem::exists(t.paths.autostartEntry));

    // An entry written elsewhere (by `quorvelctl setup`) shows as on.
    AutostartEntry(t.paths.autostartEntry).install("/usr/bin/quorvelctl");
    s.reloadData();
    EXPECT_TRUE(background->get_active());
}

}  // namespace
}  // namespace quorvel::settingstest
