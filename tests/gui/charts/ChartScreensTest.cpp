// SPDX-License-Identifier: GPL-3.0-or-later
// The "Chart" tab: one page per billing month with dots and the year page after them, the first
// summary showing the current month, the user's page kept afterwards, a reset of previous months, a plan change, and pages
// that really paint their graphs.
#include <gtest/gtest.h>

#include "../ui/MainScreenTestEnv.hpp"
#include "GuiTest.hpp"
#include "charts/gtk/ChartViewContainerViewController.hpp"
#include "charts/gtk/FChartPageWidget.hpp"
#include "charts/gtk/FYearPageWidget.hpp"
#include "model/Messages.hpp"

namespace quorvel {
namespace {

using guitest::pixel;
using Idiom = UIDeviceVersion::Idiom;

struct ChartScreensTest : ::testing::Test {
    guitest::ScreenTestEnv env;
    guitest::ScopedIdiom idiom{Idiom::Phone};
    std::shared_ptr<FTrafficDataInformation> demo = env.demoSummary();

    static int pagesIn(const ChartViewContainerViewController& c)
    {
        return static_cast<int>(adw_carousel_get_n_pages(c.scrollView()));
    }
    static void expectTagsInOrder(const ChartViewContainerViewController& c)
    {
        for (std::size_t i = 0; i < c.viewControllers().size(); ++i) {
            EXPECT_EQ(c.viewControllers()[i]->tag(), static_cast<int>(i));
            EXPECT_EQ(GTK_WIDGET(c.viewControllers()[i]->gobj()), adw_carousel_get_nth_page(c.scrollView(), i));
        }
    }
};

TEST_F(ChartScreensTest, BeforeAnySummaryThereIsOneEmptyPage)
{
    ChartViewContainerViewController charts(*env.context);
    EXPECT_EQ(charts.title(), "Chart");
    EXPECT_EQ(pagesIn(charts), 1);
    EXPECT_EQ(charts.viewControllers().front()->tag(), 0);
    EXPECT_EQ(adw_carousel_indicator_dots_get_carousel(charts.pageControl()), charts.scrollView());

    charts.updateInterface(nullptr);
    EXPECT_EQ(pagesIn(charts), 1) << "no summary changes nothing";
}

TEST_F(ChartScreensTest, OnePagePerMonthAndTheFirstSummaryShowsTheCurrentMonth)
{
    ASSERT_EQ(demo->getMonthItemsCount(), 3u);
    ChartViewContainerViewController charts(*env.context);
    guitest::ShownIn shown(charts.widget(), 360, 664);
    charts.updateInterface(demo);
    guitest::waitFrames(charts.widget());
    EXPECT_EQ(pagesIn(charts), 4) << "three months, then the year";
    EXPECT_EQ(charts.viewControllers().size(), 3u);
    ASSERT_NE(charts.yearPage(), nullptr);
    EXPECT_EQ(GTK_WIDGET(charts.yearPage()->gobj()), adw_carousel_get_nth_page(charts.scrollView(), 3));
    expectTagsInOrder(charts);
    EXPECT_EQ(charts.currentPage(), 2) << "the last page, the current month";
    EXPECT_EQ(adw_carousel_get_position(charts.scrollView()), 2.0) << "reached at once, not animated";

    // The user goes back a month; the next summary leaves them there.
    adw_carousel_scroll_to(charts.scrollView(), GTK_WIDGET(charts.viewControllers()[0]->gobj()), FALSE);
    guitest::waitFrames(charts.widget());
    charts.updateInterface(env.demoSummary());
    guitest::waitFrames(charts.widget());
    EXPECT_EQ(charts.currentPage(), 0);
}

TEST_F(ChartScreensTest, TheCurrentMonthIsShownAlsoWhenTheFirstSummaryCameWhileTheTabWasHidden)
{
    ChartViewContainerViewController charts(*env.context);
    charts.updateInterface(demo);
    guitest::ShownIn shown(charts.widget(), 360, 664);
    guitest::waitFrames(charts.widget());
    EXPECT_EQ(charts.currentPage(), 2);
}

TEST_F(ChartScreensTest, PagesOfAHiddenTabKeepTheLatestSummaryUntilTheyAreShown)
{
    ChartViewContainerViewController charts(*env.context);
    charts.updateInterface(demo);
    charts.updateInterface(env.demoSummary());
    ASSERT_EQ(charts.viewControllers().size(), 3u) << "the pages exist, ready to be paged to";
    for (FChartPageWidget* page : charts.viewControllers()) {
        EXPECT_TRUE(page->hasPendingUpdate()) << "a hidden page builds no graph";
    }
    {
        guitest::ShownIn shown(charts.widget(), 360, 664);
        guitest::waitFrames(charts.widget());
        for (FChartPageWidget* page : charts.viewControllers()) {
            EXPECT_FALSE(page->hasPendingUpdate()) << "applied once shown";
        }
        charts.updateInterface(env.demoSummary());
        EXPECT_FALSE(charts.viewControllers().back()->hasPendingUpdate()) << "a shown page updates at once";
    }
    charts.updateInterface(env.demoSummary());
    EXPECT_TRUE(charts.viewControllers().back()->hasPendingUpdate());
}

TEST_F(ChartScreensTest, ASummaryWithoutMonthsDoesNotUseUpTheJumpToTheCurrentMonth)
{
    ChartViewContainerViewController charts(*env.context);
    guitest::ShownIn shown(charts.widget(), 360, 664);
    auto none = std::make_shared<FTrafficDataInformation>(*demo);
    none->setMonths(std::nullopt);
    charts.updateInterface(none);
    EXPECT_EQ(pagesIn(charts), 0);
    EXPECT_TRUE(charts.showsNoMonthsNote());

    charts.updateInterface(demo);
    guitest::waitFrames(charts.widget());
    EXPECT_EQ(pagesIn(charts), 4);
    EXPECT_FALSE(charts.showsNoMonthsNote());
    EXPECT_EQ(charts.currentPage(), 2);
}

TEST_F(ChartScreensTest, AResetOfPreviousMonthsLeavesTheCurrentOne)
{
    ChartViewContainerViewController charts(*env.context);
    charts.updateInterface(demo);
    const MonthTraffic* current = demo->getMonthItemInfoforMonth(2);
    charts.onResetPrevMonthsInfoHandler(nullptr);
    EXPECT_EQ(pagesIn(charts), 1);
    ASSERT_EQ(charts.shownSummary()->getMonthItemsCount(), 1u);
    EXPECT_EQ(charts.shownSummary()->getMonthItemInfoforMonth(0), current);
    EXPECT_EQ(demo->getMonthItemsCount(), 3u) << "the summary the other screens share keeps its months";
    expectTagsInOrder(charts);

    auto none = std::make_shared<FTrafficDataInformation>(*demo);
    none->setMonths(FTrafficDataInformation::Months{});
    charts.updateInterface(none);
    charts.onResetPrevMonthsInfoHandler(nullptr);
    EXPECT_EQ(pagesIn(charts), 0) << "an empty list stays empty";
}

TEST_F(ChartScreensTest, APlanChangeReachesTheSummaryOnlyWithANumber)
{
    ChartViewContainerViewController charts(*env.context);
    charts.updateInterface(demo);
    const auto leftBefore = demo->pDataLeft();
    env.t.center.post(messages::kMonthPlanSettingWasChanged, nullptr);
    EXPECT_EQ(charts.shownSummary()->pDataLeft(), leftBefore);
    env.t.center.post(Notification{messages::kMonthPlanSettingWasChanged, nullptr, 10'000'000'000});
    EXPECT_EQ(charts.shownSummary()->pDataPlan(), 10'000'000'000u);
    EXPECT_EQ(*charts.shownSummary()->pDataLeft(), 10'000'000'000u - *demo->pDataUsed());
    EXPECT_EQ(demo->pDataLeft(), leftBefore) << "the shared summary is only read";
    EXPECT_EQ(pagesIn(charts), 4);
}

// Both graphs paint: the plot area's own colour fills them where nothing is drawn on top.
TEST_F(ChartScreensTest, PagesPaintBothGraphsAtPhoneAndTabletSize)
{
    const struct {
        Idiom idiom;
        int width, height;
        const char* name;
    } sizes[] = {{Idiom::Phone, 360, 664, "chart-phone"}, {Idiom::Tablet, 1024, 712, "chart-tablet"}};
    for (const auto& size : sizes) {
        guitest::ScopedIdiom device(size.idiom);
        ChartViewContainerViewController charts(*env.context);
        charts.updateInterface(demo);
        guitest::ShownIn shown(charts.widget(), size.width, size.height);
        FChartPageWidget& page = *charts.viewControllers().back();
        for (Gtk::DrawingArea* area : {&page.chartArea(), &page.barArea()}) {
            ASSERT_GT(area->get_width(), 100) << size.name;
            const auto image = guitest::picture(*area);
            const auto c = pixel(image, area->get_width() - 8, area->get_height() / 2.0);
            EXPECT_EQ(c.r, 36) << size.name;
            EXPECT_EQ(c.g, 38) << size.name;
            EXPECT_EQ(c.b, 51) << size.name;
        }
        guitest::keepScreenshot(guitest::picture(charts.widget()), size.name);
    }
}

// The year page, after the current month: twelve months' bars, drawn once it is shown.
TEST_F(ChartScreensTest, TheYearPageFollowsTheCurrentMonthAndPaintsItsBars)
{
    ChartViewContainerViewController charts(*env.context);
    charts.updateInterface(demo);
    ASSERT_NE(charts.yearPage(), nullptr);
    EXPECT_TRUE(charts.yearPage()->hasPendingUpdate()) << "a hidden page builds nothing";
    guitest::ShownIn shown(charts.widget(), 360, 664);
    guitest::waitFrames(charts.widget());
    charts.changePageAnimated(3);
    EXPECT_TRUE(guitest::runUntil([&] { return adw_carousel_get_position(charts.scrollView()) == 3.0; }));
    guitest::waitFrames(charts.widget());
    FYearPageWidget& year = *charts.yearPage();
    EXPECT_FALSE(year.hasPendingUpdate());
    ASSERT_EQ(year.controller().shownMonths().size(), 12u);
    EXPECT_GT(year.controller().shownMonths().back().used(), 0u) << "the current month's use";
    ASSERT_GT(year.area().get_width(), 100);
    const auto image = guitest::picture(year.area());
    const auto c = pixel(image, year.area().get_width() - 8, year.area().get_height() / 2.0);
    EXPECT_EQ(c.r, 36);
    EXPECT_EQ(c.g, 38);
    EXPECT_EQ(c.b, 51);
    guitest::keepScreenshot(guitest::picture(charts.widget()), "chart-year");

    charts.onResetPrevMonthsInfoHandler(nullptr);
    EXPECT_EQ(charts.yearPage(), nullptr) << "the old months' totals went with the previous months";
}

// The keys and the dots page one month at a time and stop at either end; a low window scrolls
// the graphs instead of asking for more height.
TEST_F(ChartScreensTest, KeysAndDotsPageAndALowWindowScrollsTheGraphs)
{
    for (unsigned key : {GDK_KEY_Left, GDK_KEY_Page_Up, GDK_KEY_KP_Left}) {
        EXPECT_EQ(ChartViewContainerViewController::pageStepForKey(key), -1) << key;
    }
    for (unsigned key : {GDK_KEY_Right, GDK_KEY_Page_Down, GDK_KEY_KP_Page_Down}) {
        EXPECT_EQ(ChartViewContainerViewController::pageStepForKey(key), 1) << key;
    }
    EXPECT_EQ(ChartViewContainerViewController::pageStepForKey(GDK_KEY_Up), 0);

    ChartViewContainerViewController charts(*env.context);
    charts.updateInterface(demo);
    guitest::ShownIn shown(charts.widget(), 360, 220);
    guitest::waitFrames(charts.widget());
    int minimum = 0, natural = 0;
    charts.widget().measure(Gtk::Orientation::VERTICAL, 360, minimum, natural, natural, natural);
    EXPECT_LE(minimum, 120) << "the two graphs scroll in a low window";
    ASSERT_EQ(charts.currentPage(), 2);

    Gtk::Widget& dots = *Glib::wrap(GTK_WIDGET(charts.pageControl()));
    const double width = dots.get_width();
    EXPECT_EQ(charts.pageStepForTap(width - 2), 1) << "the year page after the current month";
    EXPECT_EQ(charts.pageStepForTap(2), -1);
    charts.changePageAnimated(charts.currentPage() + charts.pageStepForTap(2));
    EXPECT_TRUE(guitest::runUntil([&] { return adw_carousel_get_position(charts.scrollView()) == 1.0; }));
    EXPECT_EQ(charts.pageStepForTap(width / 2), 0) << "the middle page's own dot";
    EXPECT_EQ(charts.pageStepForTap(width - 2), 1);
    charts.changePageAnimated(0);
    EXPECT_TRUE(guitest::runUntil([&] { return adw_carousel_get_position(charts.scrollView()) == 0.0; }));
    EXPECT_EQ(charts.pageStepForTap(2), 0) << "nothing before the first month";
    charts.changePageAnimated(-1);
    charts.changePageAnimated(4);
    guitest::settle(20);
    EXPECT_EQ(charts.currentPage(), 0);
}

}  // namespace
}  // namespace quorvel
