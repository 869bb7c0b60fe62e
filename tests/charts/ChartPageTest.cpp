// SPDX-License-Identifier: GPL-3.0-or-later
// Chart pages: the scale per month, the two series, the axis labels of days and traffic, and a
// rendered page whose pixels show the colours the page asks for.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "charts/ChartScale.hpp"
#include "charts/FChartViewController.hpp"
#include "model/DateDay.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "plot/CPTAxisLabel.hpp"
#include "plot/CPTRecordingContext.hpp"
#include "plot/CPTScatterPlot.hpp"
#include "plot/CPTTextLayer.hpp"
#include "plot/CPTTextMetrics.hpp"
#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/CPTXYPlotSpace.hpp"
#include "plot/cairo/CPTCairoHandles.hpp"
#include "plot/cairo/CPTCairoRenderer.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;

struct ScaleCase {
    std::uint64_t bytes;
    const char* unit;
    std::uint64_t divisor;
    std::int64_t maximum;
    unsigned interval, minor;
};

TEST(ChartScale, PicksUnitMaximumAndTicks)
{
    const ScaleCase cases[] = {
        {0, "B", 1, 3, 1, 4},
        {1, "B", 1, 3, 1, 4},
        {1000, "B", 1, 1100, 200, 1},
        {1001, "KB", 1000, 3, 1, 4},
        {37'000'000, "MB", 1'000'000, 55, 10, 1},
        {999'999'999, "MB", 1'000'000, 1100, 200, 1},
        {4'999'999, "MB", 1'000'000, 6, 1, 1},
        {9'000'000, "MB", 1'000'000, 11, 2, 1},
        {19'000'000'000, "GB", 1'000'000'000, 22, 5, 4},
        {150'000, "KB", 1000, 220, 50, 4},
        {450'000'000'000'000, "TB", 1'000'000'000'000, 550, 100, 1},
        {18'446'744'073'709'551'615ULL, "EB", 1'000'000'000'000'000'000ULL, 22, 5, 4},
    };
    for (const ScaleCase& c : cases) {
        const ChartScale s = ChartScale::getChartScale(c.bytes);
        EXPECT_EQ(s.unit, std::optional<std::string>(c.unit)) << c.bytes;
        EXPECT_EQ(s.divisor, c.divisor) << c.bytes;
        EXPECT_EQ(s.maximum, c.maximum) << c.bytes;
        EXPECT_EQ(s.majorInterval, c.interval) << c.bytes;
        EXPECT_EQ(s.minorTicks, c.minor) << c.bytes;
    }
}

std::vector<CTrafficPoint> days(int year, int month, std::initializer_list<std::pair<int, std::uint64_t>> list)
{
    std::vector<CTrafficPoint> out;
    for (const auto& [day, bytes] : list) {
        out.push_back(CTrafficPoint::trafficPointWithDate(localDate(year, month, day), bytes));
    }
    return out;
}

TEST(FChartData, DailyAndCumulativeSeriesInTheGivenOrder)
{
    FChartData bars;
    FChartData line;
    bars.pnDiv = line.pnDiv = 1'000'000;
    const auto list = days(2026, 5, {{1, 500'000}, {2, 0}, {3, 1'500'000}});
    bars.setBarChartData(&list, localDate(2026, 5, 1));
    line.setIntegralChartData(&list, localDate(2026, 5, 1));
    EXPECT_EQ(bars.dataForPlot, (std::vector<FChartData::Point>{{1, 0.5}, {2, 0.0}, {3, 1.5}}));
    EXPECT_EQ(line.dataForPlot, (std::vector<FChartData::Point>{{1, 0.5}, {2, 0.5}, {3, 2.0}}));

    // A month starting on the 25th: positions count across the month change.
    const std::vector<CTrafficPoint> across = {CTrafficPoint::trafficPointWithDate(localDate(2026, 5, 25), 1),
                                               CTrafficPoint::trafficPointWithDate(localDate(2026, 6, 3), 2)};
    bars.setBarChartData(&across, localDate(2026, 5, 25));
    EXPECT_EQ(bars.dataForPlot[0].x, 1);
    EXPECT_EQ(bars.dataForPlot[1].x, 10);
    CPTScatterPlot anyPlot;
    EXPECT_EQ(bars.numberForPlot(anyPlot, 2, 1)->doubleValue(), 2e-6);
    EXPECT_EQ(bars.numberForPlot(anyPlot, 0, 1)->doubleValue(), 10.0);

    bars.setBarChartData(FChartData::NullPlaceholder{}, std::nullopt);
    EXPECT_EQ(bars.dataForPlot.size(), 2u) << "a month without data leaves the series";
    bars.setBarChartData(nullptr, std::nullopt);
    EXPECT_TRUE(bars.dataForPlot.empty());
}

TEST(FChartData, ALongPeriodPlacesEveryDayAndTheFreeHoursGetBarsOfTheirOwn)
{
    // A 90-day prepaid period from 10 January: its 40th and 90th days, across two month ends.
    FChartData bars;
    bars.pnDiv = 1;
    const std::vector<CTrafficPoint> list = {CTrafficPoint::trafficPointWithDate(localDate(2027, 1, 10), 5),
                                             CTrafficPoint::trafficPointWithDate(localDate(2027, 2, 18), 7),
                                             CTrafficPoint::trafficPointWithDate(localDate(2027, 4, 9), 9)};
    bars.setBarChartData(&list, localDate(2027, 1, 10));
    EXPECT_EQ(bars.dataForPlot, (std::vector<FChartData::Point>{{1, 5.0}, {40, 7.0}, {90, 9.0}}));

    CTrafficPoint night = CTrafficPoint::trafficPointWithDate(localDate(2027, 1, 11));
    night.addTraffic(10, 0, 4);
    FChartData free;
    free.pnDiv = 1;
    free.setFreeBarData({list[0], night}, localDate(2027, 1, 10));
    EXPECT_EQ(free.dataForPlot, (std::vector<FChartData::Point>{{2, 4.0}})) << "only days with free bytes";
}

TEST(FChartData, ACorrectionIsAStepOfTheRunningTotalAndABarOfItsOwnOnItsDay)
{
    FChartData line;
    FChartData bars;
    line.pnDiv = bars.pnDiv = 1'000'000;
    const auto list = days(2026, 5, {{1, 500'000}, {3, 1'500'000}, {6, 1'000'000}});
    const std::vector<TrafficCorrection> corrections = {{localDate(2026, 5, 3, 18), 4'000'000},
                                                        {localDate(2026, 5, 4, 9), -1'000'000}};
    line.setIntegralChartData(&list, localDate(2026, 5, 1), &corrections);
    EXPECT_EQ(line.dataForPlot,
              (std::vector<FChartData::Point>{{1, 0.5}, {3, 6.0}, {4, 5.0}, {6, 6.0}}))
        << "up on the 3rd with that day's bytes, down on the 4th, which had no bytes of its own";
    bars.setCorrectionBarData(corrections, localDate(2026, 5, 1));
    EXPECT_EQ(bars.dataForPlot, (std::vector<FChartData::Point>{{3, 4.0}, {4, -1.0}}));
    line.setIntegralChartData(&list, localDate(2026, 5, 1));
    EXPECT_EQ(line.dataForPlot.back().y, 3.0) << "without corrections the measured total";
    EXPECT_EQ(FChartData::peakOfRunningTotal(list, corrections), 6'000'000u) << "the scale reaches the highest point";
    const std::vector<TrafficCorrection> down = {{localDate(2026, 5, 6, 20), -2'500'000}};
    EXPECT_EQ(FChartData::peakOfRunningTotal(list, down), 3'000'000u) << "reached before the day's correction";
}

TEST(FChartData, AFigureSpreadAtTheSetUpIsNoRampOfInventedDays)
{
    // Set up on the 10th with 900 MB used since the 1st: the spread gave each day 90 MB.
    std::vector<CTrafficPoint> list;
    for (int d = 1; d <= 10; ++d) {
        list.push_back(CTrafficPoint::enteredPointWithDate(localDate(2026, 5, d), 90'000'000));
    }
    FChartData line;
    FChartData bars;
    line.pnDiv = bars.pnDiv = 1'000'000;
    line.setIntegralChartData(&list, localDate(2026, 5, 1));
    bars.setBarChartData(&list, localDate(2026, 5, 1));
    EXPECT_EQ(line.dataForPlot, (std::vector<FChartData::Point>{{10, 900.0}})) << "the figure on the day it was entered";
    EXPECT_TRUE(bars.dataForPlot.empty()) << "no day was measured";

    // Measured bytes later that day and the next: the bars show them, the line goes on from the figure.
    list.back().addTraffic(2'000'000, 0, 0);
    list.push_back(CTrafficPoint::trafficPointWithDate(localDate(2026, 5, 11), 5'000'000));
    line.setIntegralChartData(&list, localDate(2026, 5, 1));
    bars.setBarChartData(&list, localDate(2026, 5, 1));
    EXPECT_EQ(line.dataForPlot, (std::vector<FChartData::Point>{{10, 902.0}, {11, 907.0}}));
    EXPECT_EQ(bars.dataForPlot, (std::vector<FChartData::Point>{{10, 2.0}, {11, 5.0}}));

    // An earlier measured day stays a point of its own before the spread.
    list.insert(list.begin(), CTrafficPoint::trafficPointWithDate(localDate(2026, 4, 30), 1'000'000));
    line.setIntegralChartData(&list, localDate(2026, 4, 30));
    EXPECT_EQ(line.dataForPlot.front(), (FChartData::Point{1, 1.0}));
    EXPECT_EQ(line.dataForPlot.size(), 3u);
}

// A summary of billing months built by hand: the month list and the allowance per day.
std::shared_ptr<FTrafficDataInformation> summaryOf(std::vector<std::shared_ptr<MonthTraffic>> months,
                                                   std::uint64_t perDayLeft)
{
    auto s = std::make_shared<FTrafficDataInformation>();
    s->setMonths(FTrafficDataInformation::Months(months.begin(), months.end()));
    UsageFigures figures;
    figures.perDayLeft = perDayLeft;
    s->setFigures(figures);
    return s;
}

std::shared_ptr<MonthTraffic> billingMonth(Date first, Date last, int length, std::vector<CTrafficPoint> list)
{
    auto m = std::make_shared<MonthTraffic>(first, 1'000'000'000);
    m->setLastDate(last);
    m->setDaysCount(length);
    for (const CTrafficPoint& p : list) {
        m->bookDay(p);
    }
    return m;
}

struct PageTest : ::testing::Test {
    static const CPTXYPlotSpace& space(const CPTXYGraph& g) { return *static_cast<CPTXYPlotSpace*>(g.defaultPlotSpace()); }
    static CPTXYAxis& axis(const CPTXYGraph& g, bool x)
    {
        auto* set = static_cast<CPTXYAxisSet*>(g.axisSet());
        return x ? *set->xAxis() : *set->yAxis();
    }
    static std::vector<std::string> labelTexts(const CPTAxis& a)
    {
        std::vector<std::string> out;
        for (const auto& l : a.axisLabels()) {
            out.push_back(static_cast<const CPTTextLayer*>(l->contentLayer())->text());
        }
        return out;
    }
    void draw(FChartViewController& page)
    {
        page.layoutInPage(360, 560);
        CPTRecordingContext ctx;
        page.pchartView.drawInContext(ctx);
        page.pbarView.drawInContext(ctx);
    }
    // The page at 360 x 560 points, two pixels a point, through Cairo.
    static void render(FChartViewController& page, cairo_surface_t* surface)
    {
        CairoHandle cr(cairo_create(surface));
        cairo_scale(cr.get(), 2, 2);
        CPTCairoRenderer::renderHost(page.pchartView, cr.get());
        cairo_translate(cr.get(), 0, page.pbarView.frame().origin.y);
        CPTCairoRenderer::renderHost(page.pbarView, cr.get());
        cairo_surface_flush(surface);
    }
    // The page as first drawn with `summary`.
    static CairoSurfaceHandle freshPage(const std::shared_ptr<FTrafficDataInformation>& summary)
    {
        FChartViewController fresh(FChartViewController::Idiom::Phone, CPTPangoTextMetrics::instance());
        fresh.setScreenScale(2);
        fresh.layoutInPage(360, 560);
        fresh.updateInterface(summary);
        CairoSurfaceHandle drawn(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 720, 1120));
        render(fresh, drawn.get());
        return drawn;
    }
    // "none", or how many bytes of two pages differ by more than `tolerance` and where the first is.
    static std::string differingPixels(cairo_surface_t* one, cairo_surface_t* other, int tolerance = 1)
    {
        const int stride = cairo_image_surface_get_stride(one);
        const unsigned char* a = cairo_image_surface_get_data(one);
        const unsigned char* b = cairo_image_surface_get_data(other);
        int differing = 0;
        std::string first;
        for (int y = 0; y < 1120; ++y) {
            for (int x = 0; x < 720 * 4; ++x) {
                if (std::abs(a[y * stride + x] - b[y * stride + x]) > tolerance && differing++ == 0) {
                    first = " from pixel (" + std::to_string(x / 4) + ", " + std::to_string(y) + ")";
                }
            }
        }
        return differing == 0 ? "none" : std::to_string(differing) + first;
    }
    // A March whose days vary with `salt`, with `extra` bytes on some days.
    static std::shared_ptr<FTrafficDataInformation> march(int salt, const std::map<int, std::uint64_t>& extra = {})
    {
        std::vector<CTrafficPoint> list;
        for (int d = 1; d <= 31; ++d) {
            const auto more = extra.find(d);
            const auto bytes = static_cast<std::uint64_t>((20 + (d * 37 + salt) % 90) * 1'000'000) +
                               (more != extra.end() ? more->second : 0);
            list.push_back(CTrafficPoint::trafficPointWithDate(localDate(2026, 3, d), bytes));
        }
        return summaryOf({billingMonth(localDate(2026, 3, 1), localDate(2026, 3, 31), 31, list)}, 0);
    }
};

TEST_F(PageTest, ScalesAndTitlesFollowTheMonth)
{
    FChartViewController page(FChartViewController::Idiom::Phone);
    auto feb = billingMonth(localDate(2026, 2, 1), localDate(2026, 2, 28), 28,
                            days(2026, 2, {{1, 37'000'000}, {2, 1'000'000}, {10, 12'000'000}}));
    page.updateInterface(summaryOf({feb}, 0));
    draw(page);
    EXPECT_EQ(space(*page.graphBar).yRange().location().toDouble(), -1.0);
    EXPECT_EQ(space(*page.graphBar).yRange().length().toDouble(), 55.0);
    EXPECT_EQ(space(*page.graphBar).xRange().location().toDouble(), -1.0);
    EXPECT_EQ(space(*page.graphBar).xRange().length().toDouble(), 30.0);
    EXPECT_EQ(axis(*page.graphBar, false).title(), "Traffic, MB");
    EXPECT_EQ(axis(*page.graphBar, false).majorIntervalLength().toDouble(), 10.0);
    EXPECT_EQ(axis(*page.graphChart, false).title(), "Traffic, MB") << "50 MB used";
    EXPECT_EQ(page.graphChart->title(), "1 February - 28 February 2026\n50 MB used");
    EXPECT_EQ(page.graphBar->title(), "Data Usage Daily\n1 February - 28 February 2026");
    EXPECT_EQ(page.graphChart->titleDisplacement().x, 15.0);
    EXPECT_EQ(labelTexts(axis(*page.graphBar, true)), (std::vector<std::string>{"1", "6", "11", "16", "21", "26"}))
        << "a 28-day month is labelled at positions 1 to 26";
    EXPECT_EQ(page.pBarChartUsed.dataForPlot.at(0).y, 37.0);
    EXPECT_EQ(page.pLineChartUsed.dataForPlot.at(2).y, 50.0);

    FChartViewController tablet(FChartViewController::Idiom::Tablet);
    tablet.updateInterface(summaryOf({feb}, 0));
    EXPECT_EQ(tablet.graphChart->title(), "Data Usage Summary\n1 February - 28 February 2026, 50 MB used");
    EXPECT_EQ(tablet.graphChart->titleDisplacement().x, 0.0);
}

TEST_F(PageTest, EmptyMonthsScaleToBytesAndTheCurrentMonthToTheAllowance)
{
    auto empty = billingMonth(localDate(2026, 3, 15), localDate(2026, 4, 14), 31, {});
    auto current = billingMonth(localDate(2026, 4, 15), localDate(2026, 5, 14), 30,
                                days(2026, 4, {{15, 1'000'000}}));
    FChartViewController first(FChartViewController::Idiom::Phone);
    first.tag = 0;
    first.updateInterface(summaryOf({empty, current}, 80'000'000));
    EXPECT_EQ(space(*first.graphBar).yRange().location().toDouble(), 0.0);
    EXPECT_EQ(space(*first.graphBar).yRange().length().toDouble(), 3.0);
    EXPECT_EQ(axis(*first.graphBar, false).title(), "Traffic, B");
    EXPECT_EQ(axis(*first.graphBar, false).minorTicksPerInterval(), 4u);

    FChartViewController last(FChartViewController::Idiom::Phone);
    last.tag = 1;
    last.updateInterface(summaryOf({empty, current}, 80'000'000));
    EXPECT_EQ(space(*last.graphBar).yRange().length().toDouble(), 110.0) << "scaled to the 80 MB a day still allowed";
    EXPECT_EQ(space(*last.graphBar).yRange().location().toDouble(), -2.0);

    FChartViewController beyond(FChartViewController::Idiom::Phone);
    beyond.tag = 5;
    beyond.updateInterface(summaryOf({empty, current}, 0));
    EXPECT_EQ(space(*beyond.graphBar).yRange().length().toDouble(), 110.0) << "no such month: first scales stay";
    EXPECT_TRUE(beyond.pBarChartUsed.dataForPlot.empty());
}

TEST_F(PageTest, DayLabelsShowCalendarDaysAndNegativeTrafficLabelsAreRed)
{
    FChartViewController page(FChartViewController::Idiom::Phone);
    auto month = billingMonth(localDate(2026, 1, 20), localDate(2026, 2, 19), 31, days(2026, 1, {{20, 999'999'999}}));
    page.updateInterface(summaryOf({month}, 0));
    draw(page);
    EXPECT_EQ(labelTexts(axis(*page.graphBar, true)),
              (std::vector<std::string>{"20", "25", "30", "4", "9", "14", "19"}));
    // y from -22 to 1078 in steps of 200: -22 .. -0.3 is excluded, so no negative label shows.
    EXPECT_EQ(labelTexts(axis(*page.graphBar, false)),
              (std::vector<std::string>{"0", "200", "400", "600", "800", "1000"}));

    CPTXYAxis& y = axis(*page.graphBar, false);
    EXPECT_FALSE(page.axisShouldUpdateAxisLabelsAtLocations(y, {Decimal::fromInteger(-40), Decimal::fromInteger(40)}));
    ASSERT_EQ(y.axisLabels().size(), 2u);
    const auto colourOf = [](const CPTAxisLabel& l) {
        return *static_cast<const CPTTextLayer*>(l.contentLayer())->textStyle().color();
    };
    EXPECT_EQ(colourOf(*y.axisLabels()[0]), CPTColor::redColor());
    EXPECT_NEAR(colourOf(*y.axisLabels()[1]).red(), 0.866667, 1e-6);
    EXPECT_EQ(y.axisLabels()[0]->offset(), y.labelOffset());
}

// New data redraws the plots and the titles they change, over the kept static layers and their
// kept composite; back and forth several times, the page still shows what it shows drawn fresh.
TEST_F(PageTest, PageRedrawnAfterNewDataEqualsThePageDrawnFresh)
{
    FChartViewController kept(FChartViewController::Idiom::Phone, CPTPangoTextMetrics::instance());
    kept.setScreenScale(2);
    kept.layoutInPage(360, 560);
    CairoSurfaceHandle reloaded(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 720, 1120));
    for (const int salt : {0, 11, 0, 11, 0, 11, 5}) {
        kept.updateInterface(march(salt));
        render(kept, reloaded.get());
    }
    EXPECT_EQ(differingPixels(reloaded.get(), freshPage(march(5)).get()), "none");
}

// A sample that leaves the scales as they are keeps every axis label's drawn layer, so that the
// composite of the static layers is kept too: the labels shown were measured with Pango, the
// new ones not yet.
TEST_F(PageTest, ASampleWithinTheScalesKeepsTheLabelsAndTheirLayers)
{
    FChartViewController page(FChartViewController::Idiom::Phone, CPTPangoTextMetrics::instance());
    page.setScreenScale(2);
    page.layoutInPage(360, 560);
    CairoSurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 720, 1120));
    const auto layers = [&] {
        std::vector<const CPTLayer*> out;
        for (const auto& g : {page.graphChart, page.graphBar}) {
            for (const bool x : {true, false}) {
                for (const auto& l : axis(*g, x).axisLabels()) {
                    out.push_back(l->contentLayer());
                }
            }
        }
        return out;
    };
    page.updateInterface(march(0));
    render(page, surface.get());
    const std::vector<const CPTLayer*> shown = layers();
    ASSERT_FALSE(shown.empty());
    page.updateInterface(march(0, {{31, 1'500'000}}));
    render(page, surface.get());
    EXPECT_EQ(layers(), shown);
}

// A minute's sample grows one day: only that day's bar and the line around it are drawn again,
// and the page still comes out as drawn afresh. Cairo cuts paths to the small image a part is
// drawn in, which shifts the antialiasing of a few pixels by a few levels (4 in 150 random steps).
TEST_F(PageTest, PageRedrawnAfterOneDayGrewEqualsThePageDrawnFresh)
{
    // As the chart tab builds its pages: titles fit the text as drawn.
    FChartViewController kept(FChartViewController::Idiom::Phone, CPTPangoTextMetrics::instance());
    kept.setScreenScale(2);
    kept.layoutInPage(360, 560);
    CairoSurfaceHandle reloaded(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 720, 1120));
    std::map<int, std::uint64_t> extra;
    kept.updateInterface(march(0));
    render(kept, reloaded.get());
    const CPTLayer& bars = *kept.graphBar->plotAtIndex(0);
    const CPTLayer& line = *kept.graphChart->plotAtIndex(0);
    // The first day, the last, one between, one shrinking, the same day twice, then a walk
    // over the days near the end.
    std::vector<std::pair<int, std::int64_t>> steps{
        {31, 1'500'000}, {1, 4'000'000}, {16, 20'000'000}, {16, -30'000'000}, {31, 700'000}};
    for (unsigned i = 0, seed = 7; i < 20; ++i) {
        seed = seed * 1103515245u + 12345u;
        steps.emplace_back(20 + static_cast<int>((seed >> 16) % 12), static_cast<std::int64_t>((seed >> 8) % 3000) * 1000);
    }
    for (const auto& [day, bytes] : steps) {
        SCOPED_TRACE("day " + std::to_string(day));
        extra[day] += static_cast<std::uint64_t>(bytes);
        kept.updateInterface(march(0, extra));
        render(kept, reloaded.get());
        // The bar alone (days are 9 points apart); the running total changes from that day on.
        EXPECT_LT(bars.lastDisplayedRect().width(), 20.0);
        EXPECT_GT(bars.lastDisplayedRect().width(), 4.0);
        if (day == 31) {
            EXPECT_LT(line.lastDisplayedRect().width(), line.backingStore()->bounds().width() / 10);
        }
        EXPECT_EQ(differingPixels(reloaded.get(), freshPage(march(0, extra)).get(), 4), "none");
    }
    // The same data again changes nothing drawn.
    kept.updateInterface(march(0, extra));
    render(kept, reloaded.get());
    EXPECT_TRUE(bars.lastDisplayedRect().isEmpty());
    EXPECT_TRUE(line.lastDisplayedRect().isEmpty());
}

// The page rendered through Cairo: the colours it asks for reach the pixels.
TEST_F(PageTest, RenderedPageShowsBarsPlotAreaAndLine)
{
    FChartViewController page(FChartViewController::Idiom::Phone);
    std::vector<CTrafficPoint> list;
    for (int d = 1; d <= 31; ++d) {
        list.push_back(CTrafficPoint::trafficPointWithDate(localDate(2026, 3, d), 40'000'000));
    }
    page.updateInterface(summaryOf({billingMonth(localDate(2026, 3, 1), localDate(2026, 3, 31), 31, list)}, 0));
    page.layoutInPage(360, 560);
    page.setScreenScale(2);
    CairoSurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 720, 1120));
    {
        CairoHandle cr(cairo_create(surface.get()));
        cairo_scale(cr.get(), 2, 2);
        CPTCairoRenderer::renderHost(page.pchartView, cr.get());
        cairo_translate(cr.get(), 0, 280);
        CPTCairoRenderer::renderHost(page.pbarView, cr.get());
    }
    cairo_surface_flush(surface.get());
    const auto pixel = [&](double x, double y) {
        const unsigned char* row = cairo_image_surface_get_data(surface.get()) +
                                   static_cast<int>(y * 2) * cairo_image_surface_get_stride(surface.get());
        std::uint32_t v = 0;
        std::memcpy(&v, row + 4 * static_cast<int>(x * 2), sizeof v);
        return std::array<int, 3>{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                                  static_cast<int>(v & 0xFF)};
    };
    // Plot area of the bar graph: x from 40 to 340, y from 280+20 to 560-30; x range -1..32, y -1..54.
    const auto barX = [](int day) { return 40.0 + 300.0 * (day + 1) / 33.0; };
    const auto barY = [](double mb) { return 530.0 - 230.0 * (mb + 1) / 55.0; };
    const auto inBar = pixel(barX(10), barY(20));
    EXPECT_GT(inBar[0], 200) << "bar gradient from orange to yellow-green";
    EXPECT_GT(inBar[1], 150);
    EXPECT_LT(inBar[2], 110);
    const auto background = pixel(barX(10) + 4.5, barY(45));
    EXPECT_NEAR(background[0], 36, 3);
    EXPECT_NEAR(background[1], 38, 3);
    EXPECT_NEAR(background[2], 51, 3);
    // The cumulative line runs from 40 MB to 1.24 GB; the y axis is in GB (-0.. 3.3 stretched to 3).
    const auto area = pixel(40.0 + 300.0 * 16.5 / 33.0, 252.0 - 2);
    EXPECT_NEAR(area[0], 47, 6) << "area fill under the line";
    EXPECT_NEAR(area[1], 53, 6);
}

}  // namespace
}  // namespace quorvel
