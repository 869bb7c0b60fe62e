// SPDX-License-Identifier: GPL-3.0-or-later
// The tabs' screens made when first shown: the first frame has the main screen complete and the
// tab bar whole, and nothing of the other screens; a screen made later shows the latest summary
// and what was reset since, at once.
#include "ShellTestSupport.hpp"

#include <string_view>

#include "charts/gtk/ChartViewContainerViewController.hpp"
#include "locations/gtk/LocationViewController.hpp"
#include "ui/main/gtk/FViewController.hpp"

namespace quorvel::guitest {
namespace {

// How many widgets of that type the tree holds, by type name.
int widgetsOfType(GtkWidget* root, std::string_view type)
{
    int count = type == G_OBJECT_TYPE_NAME(root) ? 1 : 0;
    for (GtkWidget* child = gtk_widget_get_first_child(root); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        count += widgetsOfType(child, type);
    }
    return count;
}

std::vector<std::string> pageTitles(FTabInterface& tabs)
{
    std::vector<std::string> titles;
    GListModel* pages = G_LIST_MODEL(adw_view_stack_get_pages(adw_view_switcher_bar_get_stack(tabs.tabBar())));
    for (guint i = 0; i < g_list_model_get_n_items(pages); ++i) {
        auto* page = ADW_VIEW_STACK_PAGE(g_list_model_get_item(pages, i));
        titles.emplace_back(adw_view_stack_page_get_title(page));
        g_object_unref(page);
    }
    g_object_unref(pages);
    return titles;
}

class LazyTabsTest : public ShellTest {
protected:
    FAppDelegate& started()
    {
        demoState();
        FAppDelegate& d = launch();
        waitFrames(*d.window(), 1);
        return d;
    }
    static FViewController& mainScreen(FAppDelegate& d) { return dynamic_cast<FViewController&>(d.tabs()->screen(0)); }
};

TEST_F(LazyTabsTest, TheFirstFrameHasTheMainScreenWholeAndNothingOfTheOthers)
{
    FAppDelegate& d = started();
    FTabInterface& tabs = *d.tabs();
    GtkWidget* window = GTK_WIDGET(d.window()->gobj());
    ASSERT_NE(tabs.builtScreen(0), nullptr);
    EXPECT_TRUE(mainScreen(d).shownSummary()) << "the main screen has its figures";
    EXPECT_TRUE(gtk_widget_get_mapped(mainScreen(d).widget().gobj()));
    for (int tab = 1; tab < 4; ++tab) {
        EXPECT_EQ(tabs.builtScreen(tab), nullptr) << tab;
    }
    EXPECT_EQ(widgetsOfType(window, "ShumateSimpleMap"), 0) << "no map before the map tab is shown";
    EXPECT_EQ(widgetsOfType(window, "AdwCarousel"), 0) << "no chart pages before the chart tab is shown";
    EXPECT_EQ(pageTitles(tabs), (std::vector<std::string>{"Data", "Chart", "Locations", "Settings"}))
        << "the tab bar is whole from the start";

    // A tab chosen by its shortcut is made then, and stays the one made.
    ASSERT_TRUE(gtk_widget_activate_action(window, "win.tab", "i", 2));
    ASSERT_NE(tabs.builtScreen(2), nullptr);
    TabScreen* map = tabs.builtScreen(2);
    EXPECT_EQ(widgetsOfType(window, "ShumateSimpleMap"), 1);
    ASSERT_TRUE(gtk_widget_activate_action(window, "win.next-tab", nullptr));
    GtkWidget* focus = gtk_root_get_focus(GTK_ROOT(window));
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(gtk_widget_is_ancestor(focus, tabs.builtScreen(3)->widget().gobj()))
        << "the focus went along into the page made then, as into one made before: "
        << G_OBJECT_TYPE_NAME(focus);
    ASSERT_TRUE(gtk_widget_activate_action(window, "win.previous-tab", nullptr));
    EXPECT_EQ(tabs.builtScreen(2), map);
    EXPECT_EQ(tabs.builtScreens().size(), 3u) << "main, map and settings";
    EXPECT_EQ(tabs.builtScreen(1), nullptr);
}

TEST_F(LazyTabsTest, AScreenMadeLaterShowsTheLatestSummary)
{
    FAppDelegate& d = started();
    const SharedSummary first = mainScreen(d).shownSummary();
    setCounters(300'000'000);
    ASSERT_NE(d.controller().doGetTrafficInfoTask(true), nullptr);
    settle(10);
    const SharedSummary latest = mainScreen(d).shownSummary();
    ASSERT_TRUE(latest);
    ASSERT_NE(latest, first);

    d.tabs()->selectTab(2);
    auto& map = dynamic_cast<LocationViewController&>(*d.tabs()->builtScreen(2));
    EXPECT_EQ(map.shownSummary(), latest);
    ASSERT_TRUE(latest->parrTrafficDeltas());
    EXPECT_EQ(map.annotations().size(), latest->parrTrafficDeltas()->size());
    EXPECT_GT(map.annotations().size(), 0u);

    d.tabs()->selectTab(1);
    auto& charts = dynamic_cast<ChartViewContainerViewController&>(*d.tabs()->builtScreen(1));
    EXPECT_EQ(charts.shownSummary(), latest);
    ASSERT_TRUE(latest->parrTrafficMonthsItems());
    EXPECT_EQ(charts.viewControllers().size(), latest->parrTrafficMonthsItems()->size());
    EXPECT_NE(charts.yearPage(), nullptr);
}

TEST_F(LazyTabsTest, AResetBeforeATabIsShownIsShownThere)
{
    FAppDelegate& d = started();
    d.controller().onResetLocations(nullptr);
    d.controller().onResetPrevMonthsInfo(nullptr);
    settle(10);
    d.tabs()->selectTab(2);
    auto& map = dynamic_cast<LocationViewController&>(*d.tabs()->builtScreen(2));
    EXPECT_TRUE(map.annotations().empty()) << "the places were reset";
    d.tabs()->selectTab(1);
    auto& charts = dynamic_cast<ChartViewContainerViewController&>(*d.tabs()->builtScreen(1));
    EXPECT_EQ(charts.viewControllers().size(), 1u) << "only the current month is left";

    // The next summary, made after the resets, rules again.
    setCounters(300'000'000);
    ASSERT_NE(d.controller().doGetTrafficInfoTask(true), nullptr);
    settle(10);
    EXPECT_EQ(charts.viewControllers().size(), 1u);
    const SharedSummary latest = mainScreen(d).shownSummary();
    ASSERT_TRUE(latest && latest->parrTrafficDeltas());
    EXPECT_EQ(map.shownSummary(), latest);
    EXPECT_EQ(map.annotations().size(), latest->parrTrafficDeltas()->size());
}

}  // namespace
}  // namespace quorvel::guitest
