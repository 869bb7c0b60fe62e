// SPDX-License-Identifier: GPL-3.0-or-later
// Titles placed from measured text: with real fonts (Pango), the y title never meets a tick
// label and the graph title never meets the plot area or its labels, for every scale from bytes
// to a hundred gigabytes, on phones and tablets, wide and narrow. Also the placement rules as a
// list of cases with round numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "charts/ChartTitleLayout.hpp"
#include "charts/FChartViewController.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "plot/CPTAxisLabel.hpp"
#include "plot/CPTAxisTitle.hpp"
#include "plot/CPTLayerAnnotation.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTRecordingContext.hpp"
#include "plot/CPTTextLayer.hpp"
#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;

TEST(ChartTitleLayout, KeepsThePagesOffsetsUntilTheTextNeedsMore)
{
    struct Case {
        const char* name;
        ChartTitleLayout::Measured m;
        ChartTitleLayout expected;
    };
    // A phone graph: 360 wide, 20 right, the y axis one part in 33 from the left.
    const auto phone = [](double widest, double titleHeight, double drop) {
        return ChartTitleLayout::Measured{360, 20, 1.0 / 33, widest, 18, 2, 16, titleHeight, drop};
    };
    const Case cases[] = {
        {"two digits, one line", phone(20, 20, 20), {25, 40, 41, 20}},
        {"three digits push the y title", phone(30, 20, 20), {34, 42, 41, 20}},
        {"four digits also widen the padding", phone(40, 20, 20), {44, 53, 41, 20}},
        {"two lines under a 30-point drop", phone(20, 40, 30), {25, 40, 61, 30}},
        {"three lines would leave the top", phone(20, 70, 30), {25, 40, 81, 35}},
        {"no size yet: the padding waits", {0, 20, 1.0 / 33, 40, 18, 2, 16, 20, 20}, {44, 40, 41, 20}},
        {"no text at all", {360, 20, 0.5, 0, 0, 2, 0, 0, 20}, {25, 40, 22, 20}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChartTitleLayout::place(c.m), c.expected) << c.name;
    }
}

TEST(ChartTitleLayout, WrapsOnlyLinesThatDoNotFit)
{
    const auto width = [](const std::string& s) { return 10.0 * static_cast<double>(s.size()); };
    EXPECT_EQ(ChartTitleLayout::wrap("Short\nlines", 100, width), "Short\nlines");
    EXPECT_EQ(ChartTitleLayout::wrap("Data Usage Summary\n1 March - 31 March 2026, 1.2 GB used", 200, width),
              "Data Usage Summary\n1 March - 31 March\n2026, 1.2 GB used");
    EXPECT_EQ(ChartTitleLayout::wrap("30 January - 28 February 2026, 1.2 GB used", 340, width),
              "30 January - 28 February 2026,\n1.2 GB used")
        << "the size stays whole: lines break after a comma first";
    EXPECT_EQ(ChartTitleLayout::wrap("Unbreakable-word here", 50, width), "Unbreakable-word\nhere")
        << "a word wider than the room keeps its own line";
    EXPECT_EQ(ChartTitleLayout::wrap("", 50, width), "");
}

// Pango's measurements in one family, whatever font the engine names.
class FamilyMetrics final : public CPTTextMetrics {
public:
    explicit FamilyMetrics(std::string family) : family_(std::move(family)) {}
    CPTSize sizeOfText(const std::string& text, const std::string&, double fontSize) const override
    {
        return pango_.sizeOfText(text, family_, fontSize);
    }

private:
    std::string family_;
    CPTPangoTextMetrics pango_;
};

// A layer's bounds in the coordinates of `graph`, rotations included.
CPTRect rectIn(const CPTLayer& layer, const CPTLayer& graph)
{
    const CPTRect b = layer.bounds();
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const CPTPoint corner : {CPTPoint{b.minX(), b.minY()}, CPTPoint{b.maxX(), b.minY()},
                                  CPTPoint{b.minX(), b.maxY()}, CPTPoint{b.maxX(), b.maxY()}}) {
        const CPTPoint p = layer.convertPointToLayer(corner, &graph);
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return CPTRect::make(minX, minY, maxX - minX, maxY - minY);
}

bool overlap(const CPTRect& a, const CPTRect& b)
{
    constexpr double e = 1e-6;  // touching edges are clear
    return a.minX() < b.maxX() - e && b.minX() < a.maxX() - e && a.minY() < b.maxY() - e && b.minY() < a.maxY() - e;
}

std::string describe(const CPTRect& r)
{
    return "(" + std::to_string(r.minX()) + ", " + std::to_string(r.minY()) + ", " + std::to_string(r.width()) +
           " x " + std::to_string(r.height()) + ")";
}

struct Form {
    const char* name;
    FChartViewController::Idiom idiom;
    double width, height;
};

class MeasuredTitles : public ::testing::TestWithParam<const char*> {
protected:
    static std::shared_ptr<const CPTTextMetrics> metrics() { return std::make_shared<FamilyMetrics>(GetParam()); }

    static std::shared_ptr<FTrafficDataInformation> monthWithADayOf(std::uint64_t bytes)
    {
        auto month = std::make_shared<MonthTraffic>(localDate(2026, 1, 30), 1'000'000'000);
        month->setLastDate(localDate(2026, 2, 28));
        month->setDaysCount(30);
        month->bookDay(CTrafficPoint::trafficPointWithDate(localDate(2026, 2, 3), bytes));
        auto summary = std::make_shared<FTrafficDataInformation>();
        summary->setMonths(FTrafficDataInformation::Months{month});
        summary->setFigures(UsageFigures{});
        return summary;
    }

    static void expectClear(const CPTXYGraph& graph, const std::string& what)
    {
        const auto& y = *static_cast<CPTXYAxisSet*>(graph.axisSet())->yAxis();
        const CPTRect plot = rectIn(*graph.plotAreaFrame()->plotArea(), graph);
        ASSERT_NE(graph.titleAnnotation(), nullptr) << what;
        const CPTRect title = rectIn(*graph.titleAnnotation()->contentLayer(), graph);
        const auto* yTitleLayer = const_cast<CPTXYAxis&>(y).axisTitle()->contentLayer();
        const CPTRect yTitle = rectIn(*yTitleLayer, graph);
        const CPTRect page = graph.bounds();
        EXPECT_FALSE(overlap(title, plot)) << what << ": title " << describe(title) << " plot " << describe(plot);
        EXPECT_GE(title.minX(), page.minX()) << what << ": title leaves the graph " << describe(title);
        EXPECT_LE(title.maxX(), page.maxX()) << what << ": title leaves the graph " << describe(title);
        EXPECT_LE(title.maxY(), page.maxY()) << what << ": title leaves the graph " << describe(title);
        EXPECT_GE(yTitle.minX(), page.minX()) << what << ": y title leaves the graph " << describe(yTitle);
        ASSERT_FALSE(y.axisLabels().empty()) << what;
        for (const auto& label : y.axisLabels()) {
            const CPTRect r = rectIn(*label->contentLayer(), graph);
            const std::string text = static_cast<const CPTTextLayer*>(label->contentLayer())->text();
            EXPECT_FALSE(overlap(yTitle, r)) << what << ": y title " << describe(yTitle) << " label " << text << " "
                                             << describe(r);
            EXPECT_FALSE(overlap(title, r)) << what << ": title " << describe(title) << " label " << text << " "
                                            << describe(r);
        }
    }
};

TEST_P(MeasuredTitles, NeverRunIntoLabelsOrThePlotArea)
{
    const Form forms[] = {{"phone", FChartViewController::Idiom::Phone, 360, 560},
                          {"tablet", FChartViewController::Idiom::Tablet, 1024, 700},
                          {"narrow tablet", FChartViewController::Idiom::Tablet, 360, 560}};
    // Largest days from nothing to 100 GB: one to four digits on the y axis in every unit.
    const std::uint64_t days[] = {0, 5, 999, 1'000, 150'000, 37'000'000, 450'000'000, 999'999'999, 19'000'000'000,
                                  100'000'000'000};
    for (const Form& form : forms) {
        for (const std::uint64_t bytes : days) {
            FChartViewController page(form.idiom, metrics());
            page.updateInterface(monthWithADayOf(bytes));
            page.layoutInPage(form.width, form.height);
            CPTRecordingContext context;
            page.pchartView.drawInContext(context);
            page.pbarView.drawInContext(context);
            const std::string what = std::string(GetParam()) + ", " + form.name + ", " + std::to_string(bytes) + " B";
            expectClear(*page.graphChart, what + ", cumulative");
            expectClear(*page.graphBar, what + ", daily");
        }
    }
}

TEST_P(MeasuredTitles, ShortLabelsKeepThePagesGeometry)
{
    FChartViewController page(FChartViewController::Idiom::Phone, metrics());
    page.updateInterface(monthWithADayOf(37'000'000));  // labels 0 .. 50
    page.layoutInPage(360, 560);
    const auto& y = *static_cast<CPTXYAxisSet*>(page.graphBar->axisSet())->yAxis();
    EXPECT_EQ(y.titleOffset(), 25.0);
    EXPECT_EQ(page.graphBar->plotAreaFrame()->paddingLeft(), 40.0);
    EXPECT_EQ(page.graphBar->plotAreaFrame()->paddingBottom(), 30.0);
    EXPECT_EQ(page.graphChart->plotAreaFrame()->paddingBottom(), 28.0);
    EXPECT_EQ(page.graphChart->titleDisplacement(), (CPTPoint{15, -30}));
}

INSTANTIATE_TEST_SUITE_P(Fonts, MeasuredTitles, ::testing::Values("DejaVu Sans", "Liberation Sans"),
                         [](const auto& info) { return std::string(info.param).substr(0, 6) == "DejaVu" ? "DejaVuSans" : "LiberationSans"; });

TEST(TestFonts, BothAreInstalledAndMeasureDifferently)
{
    const CPTPangoTextMetrics pango;
    const double dejaVu = pango.sizeOfText("Traffic, MB 1000", "DejaVu Sans", 14).width;
    const double liberation = pango.sizeOfText("Traffic, MB 1000", "Liberation Sans", 14).width;
    EXPECT_GT(dejaVu, 0);
    EXPECT_GT(std::abs(dejaVu - liberation), 1.0) << "one of them fell back to the other: install fonts-liberation2";
}

}  // namespace
}  // namespace quorvel
