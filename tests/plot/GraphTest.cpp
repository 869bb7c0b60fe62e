// SPDX-License-Identifier: GPL-3.0-or-later
#include "SampleCharts.hpp"

#include "plot/CPTAxisSet.hpp"
#include "plot/CPTBackingStore.hpp"
#include "plot/CPTAxisTitle.hpp"
#include "plot/CPTBarPlot.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTAxisLabelGroup.hpp"
#include "plot/CPTGridLineGroup.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTPlotGroup.hpp"
#include "plot/CPTRecordingContext.hpp"
#include "plot/CPTTextLayer.hpp"
#include "plot/CPTTextMetrics.hpp"
#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/CPTXYGraph.hpp"
#include "plot/CPTXYPlotSpace.hpp"

#include "GeometryPrinting.hpp"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace quorvel;
using namespace quorvel::test;
using LayerType = CPTPlotArea::LayerType;

namespace {

std::shared_ptr<CPTXYGraph> hostedGraph(CPTGraphHostingView& host)
{
    auto graph = std::make_shared<CPTXYGraph>();
    host.setHostedGraph(graph);
    graph->setPaddingLeft(0.0);
    graph->setPaddingTop(0.0);
    graph->setPaddingRight(0.0);
    graph->setPaddingBottom(0.0);
    CPTPlotAreaFrame* frame = graph->plotAreaFrame();
    frame->setPaddingLeft(40);
    frame->setPaddingTop(20);
    frame->setPaddingRight(20);
    frame->setPaddingBottom(28);
    graph->layoutGraph();
    return graph;
}

CPTTextLayer* titleLayer(const CPTGraph& graph)
{
    return graph.titleAnnotation() == nullptr ? nullptr
                                              : static_cast<CPTTextLayer*>(graph.titleAnnotation()->contentLayer());
}

}  // namespace

TEST(Graph, PaddedPlotAreaFrameGivesThePlotAreaItsPlace)
{
    CPTGraphHostingView host(CPTRect::make(0, 0, 320, 200));
    auto graph = hostedGraph(host);
    const CPTPlotArea* area = graph->plotAreaFrame()->plotArea();
    EXPECT_EQ(graph->plotAreaFrame()->frame(), CPTRect::make(0, 0, 320, 200));
    EXPECT_EQ(area->bounds().size, (CPTSize{260, 152}));
    EXPECT_EQ(area->convertPointToLayer({0, 0}, graph.get()), (CPTPoint{40, 28}));
    // Axes and labels may draw into the frame's padding; plots get exactly the plot area.
    EXPECT_EQ(area->axisSet()->frame(), CPTRect::make(-40, -28, 320, 200));
    EXPECT_EQ(area->plotGroup()->frame(), CPTRect::make(0, 0, 260, 152));
}

TEST(Graph, TitleIsCentredOnTheFrameAndFollowsItsSettings)
{
    CPTGraphHostingView host(CPTRect::make(0, 0, 320, 200));
    auto graph = hostedGraph(host);
    CPTMutableTextStyle style;
    style.setFontSize(16.0);
    graph->setTitleTextStyle(style);
    graph->setTitleDisplacement({0, -20});
    graph->setTitle("Total");
    graph->layoutGraph();
    CPTTextLayer* title = titleLayer(*graph);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->superlayer(), graph.get());
    EXPECT_EQ(title->frame(), CPTRect::make(139, 169, 42, 22));  // centre (160, 180): 20 below the top

    graph->setTitle("Total");  // unchanged: the same layer stays
    EXPECT_EQ(titleLayer(*graph), title);
    graph->setTitle(std::nullopt);
    EXPECT_EQ(graph->titleAnnotation(), nullptr);
    EXPECT_TRUE(std::none_of(graph->sublayers().begin(), graph->sublayers().end(),
                             [](CPTLayer* l) { return dynamic_cast<CPTTextLayer*>(l) != nullptr; }));

    graph->setTitleDisplacement({0, -40});
    graph->setTitle("Again");
    graph->layoutGraph();
    ASSERT_NE(titleLayer(*graph), nullptr);
    EXPECT_EQ(titleLayer(*graph)->textStyle().fontSize(), 16.0);
    EXPECT_DOUBLE_EQ(titleLayer(*graph)->frame().midY(), 160.0);
}

// Text is measured with the metrics of the graph it is in: two graphs with different metrics
// measure the same text differently at once, and metrics given later reach text already placed.
TEST(Graph, TextIsMeasuredWithTheMetricsOfItsGraph)
{
    struct TenPerCharacter final : CPTTextMetrics {
        CPTSize sizeOfText(const std::string& text, const std::string&, double) const override
        {
            return {10.0 * static_cast<double>(text.size()), 20.0};
        }
    };
    auto plain = std::make_shared<CPTXYGraph>();
    auto wide = std::make_shared<CPTXYGraph>();
    wide->setTextMetrics(std::make_shared<TenPerCharacter>());
    CPTTextLayer inPlain("abc");
    CPTTextLayer inWide("abc");
    const double detachedWidth = inPlain.bounds().width();
    plain->addSublayer(&inPlain);
    wide->addSublayer(&inWide);
    EXPECT_EQ(inPlain.bounds().width(), detachedWidth) << "a graph without metrics measures with the fixed ones";
    EXPECT_EQ(inWide.bounds().width(), 32.0) << "30 points of text and one on either side";
    EXPECT_EQ(inWide.bounds().height(), 22.0);

    plain->setTextMetrics(std::make_shared<TenPerCharacter>());
    EXPECT_EQ(inPlain.bounds().width(), 32.0);
    plain->setTextMetrics(nullptr);
    EXPECT_EQ(inPlain.bounds().width(), detachedWidth);
    inPlain.removeFromSuperlayer();
    inWide.removeFromSuperlayer();
}

TEST(Graph, RemovingWhatIsNotThereIsAnEngineException)
{
    auto graph = std::make_shared<CPTXYGraph>();
    auto stranger = std::make_shared<CPTBarPlot>();
    try {
        graph->removePlot(stranger.get());
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_STREQ(e.what(), "Tried to remove CPTPlot which did not exist.");
    }
    auto extra = std::make_shared<CPTXYPlotSpace>();
    graph->addPlotSpace(extra);
    CPTAxis* x = static_cast<CPTXYAxisSet*>(graph->axisSet())->xAxis();
    x->setPlotSpace(extra);
    graph->removePlotSpace(extra.get());
    EXPECT_EQ(x->plotSpace(), nullptr);
    EXPECT_EQ(extra->graph(), nullptr);
    try {
        graph->removePlotSpace(extra.get());
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_STREQ(e.what(), "Tried to remove CPTPlotSpace which did not exist.");
    }
}

TEST(Graph, PlotsJoinTheDefaultSpaceAndLeaveCleanly)
{
    auto graph = std::make_shared<CPTXYGraph>();
    auto first = std::make_shared<CPTBarPlot>();
    auto second = std::make_shared<CPTBarPlot>();
    second->setIdentifier("second");
    graph->addPlot(first);
    graph->insertPlot(second, 0);
    EXPECT_EQ(graph->plotAtIndex(0), second.get());
    EXPECT_EQ(graph->plotWithIdentifier("second"), second.get());
    EXPECT_EQ(first->plotSpace(), graph->defaultPlotSpace());
    EXPECT_EQ(first->superlayer(), graph->plotAreaFrame()->plotGroup());
    graph->removePlotWithIdentifier("second");
    EXPECT_EQ(second->graph(), nullptr);
    EXPECT_EQ(second->superlayer(), nullptr);
    EXPECT_EQ(graph->allPlots().size(), 1U);
    graph->addPlot(nullptr);
    EXPECT_EQ(graph->allPlots().size(), 1U);
}

TEST(PlotAreaLayerOrder, GroupsStackBottomUpAndCanBeReordered)
{
    const CPTPlotArea::LayerOrder defaults{LayerType::MinorGridLines, LayerType::MajorGridLines, LayerType::AxisSet,
                                           LayerType::Plots,          LayerType::AxisLabels,     LayerType::AxisTitles};
    struct IndexCase {
        std::array<bool, 6> present;
        LayerType type;
        std::size_t expected;
    };
    const IndexCase indexCases[] = {
        {{false, false, true, true, true, true}, LayerType::Plots, 1},
        {{true, true, true, true, true, true}, LayerType::Plots, 3},
        {{false, false, false, false, false, false}, LayerType::AxisTitles, 0},
        {{false, true, true, true, false, true}, LayerType::AxisTitles, 3},
    };
    for (const auto& c : indexCases) {
        EXPECT_EQ(CPTPlotArea::indexForLayerType(defaults, c.present, c.type), c.expected);
    }
    struct OrderCase {
        std::vector<LayerType> topDown;
        CPTPlotArea::LayerOrder expected;
    };
    const OrderCase orderCases[] = {
        {{}, defaults},
        {{LayerType::Plots},
         {LayerType::MinorGridLines, LayerType::MajorGridLines, LayerType::AxisSet, LayerType::AxisLabels,
          LayerType::AxisTitles, LayerType::Plots}},
        {{LayerType::AxisTitles, LayerType::Plots},
         {LayerType::MinorGridLines, LayerType::MajorGridLines, LayerType::AxisSet, LayerType::AxisLabels,
          LayerType::Plots, LayerType::AxisTitles}},
    };
    for (const auto& c : orderCases) {
        EXPECT_EQ(CPTPlotArea::layerOrderWithTopDown(c.topDown), c.expected);
    }
}

TEST(PlotAreaLayerOrder, GridLinesGoBelowTheAxesAndTitlesOnTop)
{
    PointSeries series;
    IntegerLabels labels;
    auto graph = makeDailyBarGraph(series, labels);
    CPTGraphHostingView host(CPTRect::make(0, 0, 320, 200));
    host.setHostedGraph(graph);
    static_cast<CPTXYAxisSet*>(graph->axisSet())->yAxis()->setMajorGridLineStyle(CPTLineStyle::lineStyle());
    graph->layoutGraph();
    const CPTPlotArea* area = graph->plotAreaFrame()->plotArea();
    const std::vector<CPTLayer*> expected{area->majorGridLineGroup(), area->axisSet(), area->plotGroup(),
                                          area->axisLabelGroup(), area->axisTitleGroup()};
    EXPECT_EQ(area->sublayers(), expected);
}

TEST(Graph, RangeChangesRelabelTheAxesAndRedrawThePlotsOfThatSpace)
{
    PointSeries series;
    IntegerLabels labels;
    auto graph = makeDailyBarGraph(series, labels);
    CPTGraphHostingView host(CPTRect::make(0, 0, 320, 200));
    host.setHostedGraph(graph);
    CPTRecordingContext screen;
    host.drawInContext(screen);
    CPTAxis* y = static_cast<CPTXYAxisSet*>(graph->axisSet())->yAxis();
    CPTPlot* bars = graph->plotAtIndex(0);
    ASSERT_FALSE(y->needsRelabel());
    ASSERT_FALSE(bars->needsDisplay());
    static_cast<CPTXYPlotSpace*>(graph->defaultPlotSpace())->setYRange(CPTPlotRange(Decimal(), Decimal::fromInteger(3)));
    EXPECT_TRUE(y->needsRelabel());
    EXPECT_TRUE(bars->needsDisplay());
}

TEST(GraphHosting, StaticLayersAreNotRedrawnWhenDataReloads)
{
    PointSeries series;
    series.points = {{1, 10}, {2, 20}};
    IntegerLabels labels;
    auto graph = makeDailyBarGraph(series, labels);
    CPTGraphHostingView host(CPTRect::make(0, 0, 320, 200));
    int paintRequests = 0;
    host.setNeedsDisplayHandler([&paintRequests] { ++paintRequests; });
    host.setHostedGraph(graph);
    CPTRecordingContext screen;
    host.drawInContext(screen);

    auto* axes = static_cast<CPTXYAxisSet*>(graph->axisSet());
    const std::vector<const CPTLayer*> statics{graph.get(), graph->plotAreaFrame(), graph->plotAreaFrame()->plotArea(),
                                               axes->xAxis()->axisTitle()->contentLayer(),
                                               axes->yAxis()->axisTitle()->contentLayer(), titleLayer(*graph)};
    std::vector<unsigned> before;
    for (const CPTLayer* layer : statics) {
        EXPECT_EQ(layer->displayCount(), 1U);
        before.push_back(layer->displayCount());
    }
    CPTPlot* bars = graph->plotAtIndex(0);
    EXPECT_EQ(bars->displayCount(), 1U);
    EXPECT_EQ(bars->cachedDataCount(), 2U);

    host.drawInContext(screen);  // nothing changed: nothing is redrawn
    EXPECT_EQ(bars->displayCount(), 1U);

    paintRequests = 0;
    series.points.emplace_back(3, 30);
    graph->reloadData();
    EXPECT_GT(paintRequests, 0);
    host.drawInContext(screen);
    EXPECT_EQ(bars->displayCount(), 2U);
    EXPECT_EQ(bars->cachedDataCount(), 3U);
    for (std::size_t i = 0; i < statics.size(); ++i) {
        EXPECT_EQ(statics[i]->displayCount(), before[i]) << "layer " << i;
    }
    EXPECT_FALSE(screen.operations(CPTRecordedOperation::Kind::Image).empty());
    EXPECT_EQ(screen.saveDepth(), 0);

    graph->setTitle("Data Usage Daily\nJun 25 - Jul 24, longer");  // a new month: only the title redraws
    host.drawInContext(screen);
    EXPECT_EQ(titleLayer(*graph)->displayCount(), 2U);
    EXPECT_DOUBLE_EQ(titleLayer(*graph)->frame().midX(), 160.0);
    for (std::size_t i = 0; i + 1 < statics.size(); ++i) {
        EXPECT_EQ(statics[i]->displayCount(), before[i]) << "layer " << i;
    }
}

// Only what can show is drawn, into stores no larger than what it draws: the graph's own
// background lies under the frame's opaque fill until the fill lets it through, containers draw
// nothing, and an axis is a strip.
TEST(GraphHosting, StoresHoldOnlyWhatShows)
{
    PointSeries series;
    series.points = {{1, 10}, {2, 20}};
    IntegerLabels labels;
    auto graph = makeDailyBarGraph(series, labels);
    CPTGraphHostingView host(CPTRect::make(0, 0, 320, 200));
    host.setScreenScale(2.0);
    host.setHostedGraph(graph);
    CPTRecordingContext screen(CPTAffineTransform::scaling(2.0, 2.0));
    host.drawInContext(screen);

    CPTPlotAreaFrame* frame = graph->plotAreaFrame();
    EXPECT_EQ(graph->backingStore(), nullptr) << "hidden under the frame";
    EXPECT_EQ(graph->displayCount(), 1U);
    ASSERT_NE(frame->backingStore(), nullptr);
    EXPECT_TRUE(frame->backingStore()->isOpaque());
    CPTPlotArea* area = frame->plotArea();
    for (const CPTLayer* container :
         std::initializer_list<const CPTLayer*>{area, graph->axisSet(), area->plotGroup(), area->axisLabelGroup()}) {
        EXPECT_EQ(container->backingStore(), nullptr);
    }
    const CPTXYAxis* x = static_cast<CPTXYAxisSet*>(graph->axisSet())->xAxis();
    ASSERT_NE(x->backingStore(), nullptr);
    EXPECT_LT(x->backingStore()->bounds().height(), 20.0) << "line and ticks, not the whole frame";
    EXPECT_FALSE(x->backingStore()->isOpaque());
    const CPTPlot* bars = graph->plotAtIndex(0);
    ASSERT_NE(bars->backingStore(), nullptr);
    EXPECT_LT(bars->backingStore()->bounds().height(), bars->bounds().height()) << "bars up to 20 of 55";

    frame->setFill(CPTFill::fillWithColor(CPTColor::colorWithComponentRed(0.1, 0.1, 0.2, 0.5)));
    host.drawInContext(screen);
    ASSERT_NE(graph->backingStore(), nullptr) << "drawn once it shows";
    EXPECT_EQ(graph->displayCount(), 2U);
    EXPECT_FALSE(frame->backingStore()->isOpaque());
    EXPECT_EQ(screen.saveDepth(), 0);
}

TEST(GraphHosting, CollapsedViewRedrawsOnTheGraphsRedrawNotification)
{
    CPTGraphHostingView host(CPTRect::make(0, 0, 100, 100));
    auto graph = std::make_shared<CPTXYGraph>();
    host.setHostedGraph(graph);
    host.setCollapsesLayers(true);
    int paintRequests = 0;
    host.setNeedsDisplayHandler([&paintRequests] { ++paintRequests; });
    graph->notificationCenter().post(CPTGraph::kNeedsRedrawNotification, graph.get());
    EXPECT_EQ(paintRequests, 1);
    host.setCollapsesLayers(false);
    paintRequests = 0;
    graph->notificationCenter().post(CPTGraph::kNeedsRedrawNotification, graph.get());
    EXPECT_EQ(paintRequests, 0);

    CPTRecordingContext vectors;
    host.setCollapsesLayers(true);
    host.drawInContext(vectors);
    EXPECT_TRUE(vectors.operations(CPTRecordedOperation::Kind::Image).empty());
    EXPECT_FALSE(vectors.operations(CPTRecordedOperation::Kind::Stroke).empty());
}
