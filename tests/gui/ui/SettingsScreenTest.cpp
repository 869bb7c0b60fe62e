// SPDX-License-Identifier: GPL-3.0-or-later
// The settings tab over a real application controller: what the rows show, what typed values
// do to the plan, the start day and this month's usage, the alert switches, the tablet resets
// with their questions, the pages it pushes, and the mail and store rows.
#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include "DemoDays.hpp"
#include "model/DateDay.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "SettingsFixture.hpp"
#include "model/Messages.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "ui/dialog/gtk/CODialog.hpp"
#include "ui/dialog/gtk/CODialogButton.hpp"
#include "ui/dialog/gtk/CODialogTextField.hpp"
#include "ui/settings/gtk/ContactUtils.hpp"
#include "ui/settings/gtk/FPrefInfoViewController.hpp"
#include "ui/settings/gtk/FPrefResetViewController.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel::settingstest {
namespace {

using guitest::runUntil;
using Settings = FPrefTableViewController;

class SettingsScreenTest : public SettingsFixture {
protected:
    Settings& settings(UIDeviceVersion::Idiom idiom = UIDeviceVersion::Idiom::Phone)
    {
        UIDeviceVersion::setIdiom(idiom);
        return make<Settings>(*context, prompts.prompts());
    }
    CTrafficManager& model() { return *app->pmodule(); }
    std::vector<double> monthLimitLevels()
    {
        std::vector<double> levels;
        for (const auto& limit : model().limits()) {
            if (dynamic_cast<const CTrafficLimitMonth*>(limit.get()) != nullptr) {
                levels.push_back(limit->level());
            }
        }
        return levels;
    }
};

TEST_F(SettingsScreenTest, PhoneAndTabletListsWithTheirCaptions)
{
    const std::vector<std::string> common = {"Plan", "Data Plan - 1 GB", "Plan Start Day - 1", "Operator - Unknown",
                                             "Turn Off Mobile Data at Plan", "Plan Period - Monthly from day 1",
                                             "Data Packs - None", "SIMs - None", "Set up data plan",
                                             "Alerts on Data Usage", "Daily Limit", "Monthly Limit",
                                             "Data Limit Exceeding",
                                             "Enable notifications on exceeding the certain usage", "Reset"};
    const std::vector<std::string> information = {"Information", "Quorvel Reference", "Report a Concern",
                                                  "Give a Feedback", "Learn more about application usage",
                                                  "Counting", "Counted connections", "Record Places",
                                                  "Load Map Tiles over Mobile Data", "Count in the Background",
                                                  "History", "Import History…", "Export History…",
                                                  "A backup holds every day, place and setting. Import reads one "
                                                  "back, or the days vnStat counted, and never counts a day twice."};
    auto expected = common;
    expected.push_back("Reset Statistic");
    expected.insert(expected.end(), information.begin(), information.end());
    Settings& phone = settings();
    EXPECT_EQ(phone.table().texts(), expected);
    EXPECT_EQ(phone.table().rowCount(Settings::kReset), 1);
    EXPECT_EQ(phone.title(), "Settings");
    EXPECT_EQ(phone.navigation().title(), "Settings");

    expected = common;
    for (const char* row : {"This Month Data Usage (0 MB)", "Previous Months Data Usage", "Locations", "Reset All"}) {
        expected.push_back(row);
    }
    expected.insert(expected.end(), information.begin(), information.end());
    Settings& tablet = settings(UIDeviceVersion::Idiom::Tablet);
    EXPECT_EQ(tablet.table().texts(), expected);
    EXPECT_EQ(tablet.table().rowCount(Settings::kReset), 4);
    EXPECT_EQ(tablet.table().row(Settings::kReset, 2).backgroundName(), "ipad_tabrow_center");
    EXPECT_EQ(phone.table().row(Settings::kReset, 0).backgroundName(), "tabrow");
    EXPECT_EQ(phone.table().row(Settings::kAlerts, 2).backgroundName(), "tabrow_down");
}

TEST_F(SettingsScreenTest, WithoutAPlanPreferenceTheRowShowsTenGigabytes)
{
    t.defaults->removeObject("pkeyDataPlanULL");
    Settings& screen = settings();
    EXPECT_EQ(screen.pMonthPlanVal(), 10'000'000'000u);
    EXPECT_EQ(screen.table().row(Settings::kPlan, 0).text(), "Data Plan - 10 GB");
}

TEST_F(SettingsScreenTest, PlanEnteredInMegabytesBecomesThePlanEverywhere)
{
    Settings& screen = settings();
    screen.tableViewDidSelectRow(Settings::kPlan, 0);
    EXPECT_EQ(prompts.opened, std::vector<std::string>{"plan 1000000000"});
    screen.alertViewClickedButtonAtIndex(PromptKind::Plan, 1, "2048");
    EXPECT_EQ(model().getMonthPlan(), 2'048'000'000u);
    EXPECT_EQ(UserDefaults(t.paths.defaultsFile).unsigned64ForKey("pkeyDataPlanULL"), 2'048'000'000u);
    EXPECT_EQ(screen.table().row(Settings::kPlan, 0).text(), "Data Plan - 2.05 GB");
    EXPECT_EQ(prompts.opened.size(), 1u) << "accepted: no second prompt";
}

TEST_F(SettingsScreenTest, RefusedPlansOpenThePlanPromptAgain)
{
    Settings& screen = settings();
    for (const char* text : {"0", "-5", "abc"}) {
        prompts.opened.clear();
        screen.commonDataPlanEntered(text);
        EXPECT_EQ(prompts.opened, std::vector<std::string>{"plan 1000000000"}) << "'" << text << "'";
    }
    screen.DataPlanEntered();  // no dialog open: counts as "0"
    EXPECT_EQ(prompts.opened.back(), "plan 1000000000");
    EXPECT_EQ(model().getMonthPlan(), 1'000'000'000u);
}

TEST_F(SettingsScreenTest, StartDayOneToThirtyOne)
{
    Settings& screen = settings();
    screen.commonStartDayEntered("31");
    EXPECT_EQ(model().getPlanStartDay(), 31);
    EXPECT_EQ(screen.table().row(Settings::kPlan, 1).text(), "Plan Start Day - 31");
    for (const char* refused : {"32", "0", "day"}) {
        prompts.opened.clear();
        screen.alertViewClickedButtonAtIndex(PromptKind::StartDay, 1, refused);
        EXPECT_EQ(prompts.opened, std::vector<std::string>{"day 31"}) << refused;
    }
    EXPECT_EQ(model().getPlanStartDay(), 31);
    screen.commonStartDayEntered("1");
    EXPECT_EQ(model().getPlanStartDay(), 1);
    EXPECT_EQ(log.events.back(), "update") << "a new start day asks for a full update";
}

// The placeholder shows the current value; Apply with nothing typed must keep it, never read
// as 0 or the 1st (which would move the billing month and clear the alert history).
TEST_F(SettingsScreenTest, AnEmptyApplyKeepsEveryValue)
{
    addPlaces(2);
    app->onResetPlanValue(3'000'000'000u);
    app->onResetPlanStartDay(15);
    app->onResetThisMonthDataInfo(400'000'000);
    for (const auto idiom : {UIDeviceVersion::Idiom::Phone, UIDeviceVersion::Idiom::Tablet}) {
        Settings& screen = settings(idiom);
        log.events.clear();
        prompts.opened.clear();
        for (const char* empty : {"", "   "}) {
            screen.alertViewClickedButtonAtIndex(PromptKind::Plan, 1, empty);
            screen.alertViewClickedButtonAtIndex(PromptKind::StartDay, 1, empty);
        }
        if (idiom == UIDeviceVersion::Idiom::Tablet) {
            screen.tableViewDidSelectRow(Settings::kReset, 0);
            screen.alertViewClickedButtonAtIndex(PromptKind::Used, 1, "");
            EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::None);
        }
        EXPECT_EQ(model().getMonthPlan(), 3'000'000'000u);
        EXPECT_EQ(model().getPlanStartDay(), 15);
        EXPECT_EQ(model().getDataUsed(), 400'000'000u);
        EXPECT_EQ(model().getLocationsCount(), 2);
        EXPECT_TRUE(log.events.empty()) << "nothing changed, so no update is asked for";
        EXPECT_EQ(prompts.opened.size(), idiom == UIDeviceVersion::Idiom::Tablet ? 1u : 0u)
            << "no prompt comes back";
    }
}

// The window's entry of the used data corrects the period; it never rewrites a measured day.
TEST_F(SettingsScreenTest, TheWindowsEntryOfTheUsedDataKeepsEveryMeasuredDay)
{
    test::bookDemoDays(model().history(), app->env().clock.now(),
                       [](int i) { return 10'000'000 + static_cast<std::uint64_t>(i); });
    const auto days = [&] {
        std::vector<std::pair<int, std::uint64_t>> out;
        for (const auto& month : model().history().months()) {
            for (const CTrafficPoint& p : month->arrDaysTraffics()) {
                out.emplace_back(DateDay::dayKey(p.pDate()), p.getTotalTraffic());
            }
        }
        return out;
    };
    const auto before = days();
    ASSERT_GT(before.size(), 60u);
    Settings& screen = settings(UIDeviceVersion::Idiom::Tablet);
    screen.tableViewDidSelectRow(Settings::kReset, 0);
    screen.commonDataUsedEntered("1000");
    EXPECT_EQ(days(), before);
    EXPECT_EQ(model().getDataUsed(), 1'000'000'000u);
    EXPECT_EQ(screen.table().row(Settings::kReset, 0).text(), "This Month Data Usage (1 GB)");
}

TEST_F(SettingsScreenTest, NegativeUsageBecomesZero)
{
    app->onResetThisMonthDataInfo(400'000'000);
    Settings& screen = settings(UIDeviceVersion::Idiom::Tablet);
    EXPECT_EQ(screen.table().row(Settings::kReset, 0).text(), "This Month Data Usage (400 MB)");
    screen.tableViewDidSelectRow(Settings::kReset, 0);
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::ThisMonth);
    EXPECT_EQ(prompts.opened, std::vector<std::string>{"used 400000000"});
    screen.commonDataUsedEntered("-5");
    EXPECT_EQ(model().getDataUsed(), 0u);
    EXPECT_EQ(screen.table().row(Settings::kReset, 0).text(), "This Month Data Usage (0 MB)");
    EXPECT_EQ(prompts.opened.size(), 1u) << "no second prompt for usage";
}

TEST_F(SettingsScreenTest, TabletResetAllClearsPlacesThenMonthsThenSetsThisMonth)
{
    addPlaces(3);
    addPreviousMonths();
    Settings& screen = settings(UIDeviceVersion::Idiom::Tablet);
    log.events.clear();
    screen.tableViewDidSelectRow(Settings::kReset, 3);
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::All);
    EXPECT_EQ(prompts.opened, std::vector<std::string>{"used 0"});
    screen.alertViewClickedButtonAtIndex(PromptKind::Used, 1, "250");
    EXPECT_EQ(log.events, (std::vector<std::string>{"locations", "previous months", "update"}));
    EXPECT_EQ(model().getLocationsCount(), 0);
    EXPECT_EQ(model().history().months().size(), 1u);
    EXPECT_EQ(model().getDataUsed(), 250'000'000u);
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::None);
    EXPECT_EQ(screen.table().row(Settings::kReset, 2).text(), "Locations");
}

TEST_F(SettingsScreenTest, CancellingTheUsagePromptResetsNothing)
{
    addPlaces(2);
    Settings& screen = settings(UIDeviceVersion::Idiom::Tablet);
    screen.tableViewDidSelectRow(Settings::kReset, 3);
    screen.alertViewClickedButtonAtIndex(PromptKind::Used, 0, "250");
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::None);
    screen.tableViewDidSelectRow(Settings::kReset, 3);
    screen.UsedDataCancelled();
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::None);
    EXPECT_EQ(model().getLocationsCount(), 2);
    EXPECT_FALSE(screen.table().selectedRow());
}

TEST_F(SettingsScreenTest, TabletQuestionsBeforeClearingMonthsOrPlaces)
{
    addPlaces(3);
    addPreviousMonths();
    Settings& screen = settings(UIDeviceVersion::Idiom::Tablet);
    show(screen.widget(), 1024, 768);

    screen.tableViewDidSelectRow(Settings::kReset, 1);
    AdwMessageDialog* question = nullptr;
    ASSERT_TRUE(runUntil([&] { return (question = openMessageDialog()) != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(question), "Previous Months Traffics");
    EXPECT_STREQ(adw_message_dialog_get_body(question), "Are you sure you want reset previous month traffic statistic?");
    EXPECT_STREQ(adw_message_dialog_get_response_label(question, "cancel"), "Cancel");
    EXPECT_STREQ(adw_message_dialog_get_response_label(question, "reset"), "Reset");
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(question)), window->gobj());
    answer(question, "cancel");
    EXPECT_EQ(model().history().months().size(), 3u);

    screen.tableViewDidSelectRow(Settings::kReset, 2);
    ASSERT_TRUE(runUntil([&] { return (question = openMessageDialog()) != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(question), "Traffic Locations");
    EXPECT_STREQ(adw_message_dialog_get_body(question), "Are you sure you want reset traffic locations statistic?");
    EXPECT_EQ(screen.table().row(Settings::kReset, 2).text(), "Locations (3)");
    answer(question, "reset");
    EXPECT_EQ(model().getLocationsCount(), 0);
    EXPECT_EQ(screen.table().row(Settings::kReset, 2).text(), "Locations");
    EXPECT_EQ(model().history().months().size(), 3u) << "only the places went";
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::None);
}

TEST_F(SettingsScreenTest, LocationsRowFollowsThePlaceCount)
{
    Settings& screen = settings(UIDeviceVersion::Idiom::Tablet);
    EXPECT_EQ(screen.table().row(Settings::kReset, 2).text(), "Locations");
    addPlaces(3);
    t.center.post(messages::kDeltasCntWasChanged, nullptr);
    EXPECT_EQ(screen.table().row(Settings::kReset, 2).text(), "Locations (3)");
}

TEST_F(SettingsScreenTest, MonthlyLimitSwitchRemovesAndRestoresTheMonthLimit)
{
    Settings& screen = settings();
    Gtk::Switch& monthly = *screen.table().row(Settings::kAlerts, 1).toggle();
    ASSERT_TRUE(monthly.get_active()) << "on by default";
    ASSERT_EQ(monthLimitLevels(), std::vector<double>{0.9});
    monthly.set_active(false);
    EXPECT_TRUE(monthLimitLevels().empty());
    EXPECT_EQ(UserDefaults(t.paths.defaultsFile).boolForKey("pkeyAlertMonthLimitBool"), false);
    monthly.set_active(true);
    EXPECT_EQ(monthLimitLevels(), std::vector<double>{0.9});
    EXPECT_EQ(UserDefaults(t.paths.defaultsFile).boolForKey("pkeyAlertMonthLimitBool"), true);

    screen.switchChanged(Settings::kTagDayLimit, false);
    screen.reloadData();
    EXPECT_FALSE(screen.table().row(Settings::kAlerts, 0).toggle()->get_active());
    EXPECT_EQ(monthLimitLevels(), std::vector<double>{0.9}) << "reloading the switches changes nothing";
}

TEST_F(SettingsScreenTest, ATapOnASwitchRowsTitleTogglesItsSwitch)
{
    Settings& screen = settings();
    show(screen.widget(), 360, 720);
    FPrefTableRow& row = screen.table().row(Settings::kAlerts, 1);
    ASSERT_TRUE(row.toggle()->get_active());
    EXPECT_TRUE(row.get_activatable());
    row.activate();  // as a tap or Enter on the row does
    EXPECT_FALSE(row.toggle()->get_active());
    EXPECT_TRUE(monthLimitLevels().empty()) << "applied like a tap on the switch";
    row.activate();
    EXPECT_TRUE(row.toggle()->get_active());
    EXPECT_EQ(monthLimitLevels(), std::vector<double>{0.9});
    EXPECT_FALSE(screen.table().selectedRow()) << "a switch row is not left chosen";
}

TEST_F(SettingsScreenTest, RecordPlacesSwitchKeepsThePlacesAndBooksNothingNewToThemWhileOff)
{
    Settings& screen = settings();
    show(screen.widget(), 360, 720);
    addPlaces(2);
    FPrefTableRow& row = screen.table().row(Settings::kCounting, Settings::kRecordPlaces);
    ASSERT_TRUE(row.toggle()->get_active()) << "on by default";
    model().setPLastLocation(Location{50.0, 8.0, 10, t.clock.now()});
    row.activate();
    EXPECT_FALSE(row.toggle()->get_active());
    EXPECT_FALSE(app->recordPlaces());
    EXPECT_EQ(UserDefaults(t.paths.defaultsFile).boolForKey("pkeyRecordPlacesBool"), false);
    EXPECT_FALSE(model().pLastLocation()) << "new traffic goes to no place";
    EXPECT_EQ(model().getLocationsCount(), 2) << "the places recorded stay";

    app->setRecordPlaces(true);  // as `quorvelctl limits --places on` would, then a refresh
    screen.reloadData();
    EXPECT_TRUE(row.toggle()->get_active());
    EXPECT_FALSE(screen.table().selectedRow());
}

TEST_F(SettingsScreenTest, PlanChangedElsewhereRefreshesTheRow)
{
    Settings& screen = settings();
    app->onResetPlanValue(5'000'000'000);
    EXPECT_EQ(screen.pMonthPlanVal(), 5'000'000'000u);
    EXPECT_EQ(screen.table().row(Settings::kPlan, 0).text(), "Data Plan - 5 GB");
}

TEST_F(SettingsScreenTest, PhoneResetRowPushesTheResetPageAndBackReturns)
{
    Settings& screen = settings();
    show(screen.widget(), 360, 720);
    screen.tableViewDidSelectRow(Settings::kReset, 0);
    ASSERT_EQ(screen.navigation().depth(), 2);
    EXPECT_EQ(screen.navigation().title(), "Reset");
    EXPECT_NE(dynamic_cast<FPrefResetViewController*>(screen.navigation().top()), nullptr);
    EXPECT_TRUE(screen.navigation().backButton().get_visible());
    EXPECT_TRUE(prompts.opened.empty());

    screen.navigation().backButton().activate();
    EXPECT_TRUE(runUntil([&] { return screen.navigation().depth() == 1; }));
    EXPECT_EQ(screen.navigation().title(), "Settings");
    EXPECT_FALSE(screen.navigation().backButton().get_visible());
    EXPECT_TRUE(runUntil([&] { return screen.navigation().leavingCount() == 0; })) << "released once it slid out";
}

TEST_F(SettingsScreenTest, ReferencePageHidesTheTabBarWhileShown)
{
    Settings& screen = settings();
    std::vector<bool> hidden;
    screen.setTabBarHiddenHandler([&](bool h) { hidden.push_back(h); });
    show(screen.widget(), 360, 720);
    screen.tableViewDidSelectRow(Settings::kInformation, 0);
    auto* page = dynamic_cast<FPrefInfoViewController*>(screen.navigation().top());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(screen.navigation().title(), "Reference");
    EXPECT_STREQ(webkit_web_view_get_uri(page->pwebView()), "quorvel-resource:///org/quorvel/Quorvel/t.html");
    GdkRGBA background;
    webkit_web_view_get_background_color(page->pwebView(), &background);
    EXPECT_EQ(background.alpha, 0.0f) << "never a white flash on the dark page";
    EXPECT_TRUE(runUntil([&] {
        const char* title = webkit_web_view_get_title(page->pwebView());
        return title != nullptr && *title != '\0';
    }, 20000)) << "the bundled page loaded";
    // The web view is the engine module's, loaded for this page.
    std::ifstream maps("/proc/self/maps");
    const std::string mapped((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    EXPECT_NE(mapped.find("/quorvel-reference.so"), std::string::npos);
    screen.navigation().pop();
    EXPECT_EQ(hidden, (std::vector<bool>{true, false}));
}

TEST_F(SettingsScreenTest, ConcernReportAndStorePage)
{
    ContactUtils& contact = ContactUtils::sharedUtils();
    const auto savedCan = contact.canSendMail;
    const auto savedOpen = contact.openUri;
    const auto savedStore = contact.canOpenStore;
    const auto savedExplain = contact.explain;
    std::vector<std::string> opened;
    std::vector<std::string> explained;
    contact.canOpenStore = [] { return true; };
    contact.explain = [&](const std::string& title, const std::string&, Gtk::Window* parent) {
        explained.push_back(title);
        EXPECT_EQ(parent, window.get());
    };
    contact.openUri = [&](const std::string& uri, Gtk::Window* parent) {
        opened.push_back(uri);
        EXPECT_EQ(parent, window.get());
    };
    Settings& screen = settings();
    contact.canSendMail = [] { return false; };
    screen.tableViewDidSelectRow(Settings::kInformation, 1);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(explained, std::vector<std::string>{"No Mail Program"}) << "without a mail program the row says so";
    contact.canSendMail = [] { return true; };
    screen.tableViewDidSelectRow(Settings::kInformation, 1);
    screen.tableViewDidSelectRow(Settings::kInformation, 2);
    EXPECT_EQ(opened, (std::vector<std::string>{"mailto:support@quorvel.org?subject=Quorvel.%20Concern%20Report",
                                                "appstream://org.quorvel.Quorvel"}));
    EXPECT_EQ(contact.mpvc(), window.get());
    contact.canSendMail = savedCan;
    contact.openUri = savedOpen;
    contact.canOpenStore = savedStore;
    contact.explain = savedExplain;
    contact.setMpvc(nullptr);
}

TEST_F(SettingsScreenTest, ThroughTheRealPromptRefusedPlanAsksAgainThenApplies)
{
    UIDeviceVersion::setIdiom(UIDeviceVersion::Idiom::Phone);
    Settings& screen = make<Settings>(*context);
    show(screen.widget(), 360, 720);
    screen.tableViewDidSelectRow(Settings::kPlan, 0);
    CODialog* first = nullptr;
    ASSERT_TRUE(runUntil([&] { return (first = screen.openPrompt().dialog()) != nullptr && first->isShown(); }));
    EXPECT_EQ(first->title(), "Monthly Data Plan");
    const std::shared_ptr<CODialog> held = first->shared_from_this();  // so that a new one cannot take its place
    first->textFields()[0]->set_text("0");
    first->buttons()[1]->click();
    CODialog* second = nullptr;
    ASSERT_TRUE(runUntil([&] { return (second = screen.openPrompt().dialog()) != nullptr && second != first; }));
    EXPECT_EQ(second->title(), "Monthly Data Plan");
    EXPECT_EQ(model().getMonthPlan(), 1'000'000'000u);
    second->textFields()[0]->set_text("3000");
    second->buttons()[1]->click();
    EXPECT_EQ(model().getMonthPlan(), 3'000'000'000u);
    EXPECT_FALSE(screen.openPrompt().isOpen());
    EXPECT_EQ(screen.table().row(Settings::kPlan, 0).text(), "Data Plan - 3 GB");
}

}  // namespace
}  // namespace quorvel::settingstest

namespace quorvel::settingstest {
namespace {

// The lists as people see them, at phone and tablet width: the dark page, rows on their pictures.
class SettingsPicturesTest : public SettingsScreenTest {
protected:
    void SetUp() override
    {
        SettingsScreenTest::SetUp();
        app->onResetPlanValue(2'000'000'000);
        app->onResetPlanStartDay(15);
        app->onResetThisMonthDataInfo(1'234'000'000);
        addPlaces(5);
        addPreviousMonths();
    }
    void expectDarkPageWithRows(Gtk::Widget& root, FPrefGroupedList& list, const std::string& name)
    {
        auto image = guitest::picture(root);
        guitest::keepScreenshot(image, name);
        const guitest::Rgb page = guitest::pixel(image, 3, root.get_height() - 3);
        EXPECT_EQ(page.r, 0x24) << name;
        EXPECT_EQ(page.g, 0x26) << name;
        EXPECT_EQ(page.b, 0x3a) << name;
        FPrefTableRow& row = list.row(0, 0);
        graphene_point_t at;
        const graphene_point_t inRow = GRAPHENE_POINT_INIT(static_cast<float>(row.get_width()) / 2, 4.f);
        ASSERT_TRUE(gtk_widget_compute_point(GTK_WIDGET(row.gobj()), root.gobj(), &inRow, &at));
        const guitest::Rgb drawn = guitest::pixel(image, at.x, at.y);
        EXPECT_NE(drawn.r * 65536 + drawn.g * 256 + drawn.b, page.r * 65536 + page.g * 256 + page.b)
            << name << ": the row picture is drawn";
    }
};

TEST_F(SettingsPicturesTest, SettingsAndResetAtPhoneAndTabletWidth)
{
    for (const auto idiom : {UIDeviceVersion::Idiom::Phone, UIDeviceVersion::Idiom::Tablet}) {
        const bool tablet = idiom == UIDeviceVersion::Idiom::Tablet;
        const std::string suffix = tablet ? "tablet" : "phone";
        Settings& screen = settings(idiom);
        show(screen.widget(), tablet ? 1024 : 360, tablet ? 768 : 720);
        EXPECT_EQ(screen.table().row(Settings::kPlan, 0).text(), "Data Plan - 2 GB");
        expectDarkPageWithRows(screen.widget(), screen.table(), "settings-" + suffix);

        screen.navigation().push(std::make_unique<FPrefResetViewController>(*context, prompts.prompts(), tablet));
        ASSERT_TRUE(runUntil([&] { return !adw_leaflet_get_child_transition_running(ADW_LEAFLET(
                                              gtk_widget_get_parent(screen.navigation().top()->widget().gobj()))); }));
        guitest::settle(3);
        auto& reset = dynamic_cast<FPrefResetViewController&>(*screen.navigation().top());
        expectDarkPageWithRows(screen.widget(), reset.table(), "reset-" + suffix);
        screen.navigation().pop();
        ASSERT_TRUE(runUntil([&] { return screen.navigation().leavingCount() == 0; }));
    }
}

TEST_F(SettingsPicturesTest, ReferencePageOnThePhone)
{
    Settings& screen = settings();
    show(screen.widget(), 360, 720);
    screen.tableViewDidSelectRow(Settings::kInformation, 0);
    auto* page = dynamic_cast<FPrefInfoViewController*>(screen.navigation().top());
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(runUntil([&] { return webkit_web_view_get_title(page->pwebView()) != nullptr; }, 20000));
    EXPECT_STREQ(webkit_web_view_get_title(page->pwebView()), "Quorvel Reference");
    guitest::settle(20);
    guitest::keepScreenshot(guitest::picture(screen.widget()), "reference-phone");
    // The web content draws in its own process; its picture comes from the view.
    if (const char* dir = std::getenv("QUORVEL_SCREENSHOTS"); dir != nullptr && *dir != '\0') {
        GObjectHandle<GdkTexture> texture;
        webkit_web_view_get_snapshot(
            page->pwebView(), WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
            [](GObject* view, GAsyncResult* result, gpointer out) {
                static_cast<GObjectHandle<GdkTexture>*>(out)->reset(
                    webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(view), result, nullptr));
            },
            &texture);
        ASSERT_TRUE(runUntil([&] { return texture != nullptr; }));
        gdk_texture_save_to_png(texture.get(), (std::string(dir) + "/reference-phone-content.png").c_str());
    }
}

}  // namespace
}  // namespace quorvel::settingstest
