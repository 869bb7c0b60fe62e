// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTPlotSpaceDelegate.hpp"
#include "plot/CPTXYGraph.hpp"
#include "plot/CPTXYPlotSpace.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace quorvel;

namespace {

Decimal d(const char* text)
{
    return Decimal::fromString(text);
}

CPTPlotRange range(const char* location, const char* length)
{
    return CPTPlotRange(d(location), d(length));
}

struct RecordingDelegate : CPTPlotSpaceDelegate {
    std::vector<CPTCoordinate> changes;
    void plotSpaceDidChangePlotRangeForCoordinate(CPTPlotSpace&, CPTCoordinate coordinate) override
    {
        changes.push_back(coordinate);
    }
};

}  // namespace

TEST(XYPlotSpaceMapping, LinearAndLogarithmicValuesMapAlongTheAxisLength)
{
    struct Case {
        std::optional<CPTPlotRange> range;
        double length;
        const char* value;
        CPTScaleType type;
        double expected;
    };
    const Case cases[] = {
        {range("-1", "32"), 320.0, "15", CPTScaleType::Linear, 160.0},
        {range("-1", "32"), 260.0, "1", CPTScaleType::Linear, 16.25},
        {range("5", "-5"), 100.0, "1", CPTScaleType::Linear, 80.0},
        {range("3", "0"), 100.0, "7", CPTScaleType::Linear, 0.0},  // zero length
        {std::nullopt, 100.0, "7", CPTScaleType::Linear, 0.0},
        {range("1", "99"), 200.0, "10", CPTScaleType::Log, 100.0},
        {range("1", "99"), 200.0, "0", CPTScaleType::Log, 0.0},
        {range("-1", "99"), 200.0, "10", CPTScaleType::Log, 0.0},
    };
    for (const auto& c : cases) {
        const CPTPlotRange* r = c.range ? &*c.range : nullptr;
        EXPECT_DOUBLE_EQ(CPTXYPlotSpace::viewCoordinateForDecimal(r, c.length, d(c.value), c.type), c.expected)
            << c.value;
        EXPECT_NEAR(CPTXYPlotSpace::viewCoordinateForDouble(r, c.length, std::stod(c.value), c.type), c.expected, 1e-9)
            << c.value;
    }
}

TEST(XYPlotSpaceMapping, UnsupportedScaleTypeIsAnEngineException)
{
    const CPTPlotRange r = range("0", "1");
    try {
        CPTXYPlotSpace::viewCoordinateForDouble(&r, 10.0, 0.5, static_cast<CPTScaleType>(7));
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_EQ(e.name(), "CPTException");
        EXPECT_STREQ(e.what(), "Scale type not supported in CPTXYPlotSpace");
    }
}

TEST(XYPlotSpaceMapping, ConstraintToTheGlobalRange)
{
    struct Case {
        std::optional<CPTPlotRange> range;
        std::optional<CPTPlotRange> global;
        std::optional<CPTPlotRange> expected;
    };
    const Case cases[] = {
        {range("2", "3"), std::nullopt, range("2", "3")},
        {std::nullopt, range("0", "10"), std::nullopt},
        {range("-5", "20"), range("0", "10"), range("0", "10")},
        {range("8", "4"), range("0", "10"), range("6", "4")},
        {range("-3", "4"), range("0", "10"), range("0", "4")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CPTXYPlotSpace::constrainRange(c.range, c.global), c.expected);
    }
}

class XYPlotSpaceInGraph : public ::testing::Test {
protected:
    void SetUp() override
    {
        graph = std::make_shared<CPTXYGraph>();
        host.setHostedGraph(graph);
        graph->layoutGraph();
        space = static_cast<CPTXYPlotSpace*>(graph->defaultPlotSpace());
        mapping = graph->notificationCenter().addObserver(CPTPlotSpace::kCoordinateMappingDidChangeNotification,
                                                          [this](const Notification&) { ++mappingChanges; });
        redraw = graph->notificationCenter().addObserver(CPTGraph::kNeedsRedrawNotification,
                                                         [this](const Notification&) { ++redraws; }, graph.get());
        space->setDelegate(&delegate);
    }

    CPTGraphHostingView host{CPTRect::make(0, 0, 340, 240)};  // plot area 300 x 200 with the graph's padding
    std::shared_ptr<CPTXYGraph> graph;
    CPTXYPlotSpace* space = nullptr;
    RecordingDelegate delegate;
    NotificationCenter::Registration mapping;
    NotificationCenter::Registration redraw;
    int mappingChanges = 0;
    int redraws = 0;
};

TEST_F(XYPlotSpaceInGraph, NewRangeNotifiesOnceAndAnEqualOneNotAtAll)
{
    space->setXRange(range("0", "1"));  // the default
    EXPECT_EQ(mappingChanges, 0);
    EXPECT_EQ(redraws, 0);
    space->setXRange(range("-1", "32"));
    space->setYRange(range("0", "10"));
    EXPECT_EQ(mappingChanges, 2);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(delegate.changes, (std::vector<CPTCoordinate>{CPTCoordinate::X, CPTCoordinate::Y}));
    space->setYScaleType(CPTScaleType::Log);
    EXPECT_EQ(redraws, 3);
}

TEST_F(XYPlotSpaceInGraph, MissingRangeIsAnAssertionFailure)
{
    try {
        space->setYRange(std::nullopt);
        FAIL() << "no assertion";
    } catch (const CPTAssertionFailure& failure) {
        EXPECT_STREQ(failure.what(), "Invalid parameter not satisfying: range");
        EXPECT_EQ(failure.where(), "CPTXYPlotSpace");
    }
    EXPECT_EQ(mappingChanges, 0);
}

TEST_F(XYPlotSpaceInGraph, ThirdCoordinateIsIgnored)
{
    EXPECT_FALSE(space->plotRangeForCoordinate(CPTCoordinate::Z).has_value());
    EXPECT_EQ(space->scaleTypeForCoordinate(CPTCoordinate::Z), CPTScaleType::Linear);
    space->setPlotRange(range("4", "4"), CPTCoordinate::Z);
    EXPECT_EQ(mappingChanges, 0);
}

TEST_F(XYPlotSpaceInGraph, MapsIntoThePlotAreaAndBack)
{
    space->setXRange(range("-1", "30"));
    space->setYRange(range("0", "20"));
    const CPTPoint p = space->plotAreaViewPointForPlotPoint(d("14"), d("5"));
    EXPECT_DOUBLE_EQ(p.x, 150.0);
    EXPECT_DOUBLE_EQ(p.y, 50.0);
    EXPECT_EQ(space->plotAreaViewPointForDoublePrecisionPlotPoint(14.0, 5.0), p);
    Decimal x;
    Decimal y;
    space->plotPointForPlotAreaViewPoint({150.0, 50.0}, x, y);
    EXPECT_EQ(x, d("14"));
    EXPECT_EQ(y, d("5"));
    double dx = 0.0;
    double dy = 0.0;
    space->doublePrecisionPlotPointForPlotAreaViewPoint({150.0, 50.0}, dx, dy);
    EXPECT_DOUBLE_EQ(dx, 14.0);
    EXPECT_DOUBLE_EQ(dy, 5.0);
}

TEST(XYPlotSpace, CollapsedPlotAreaMapsBackToTheRangeStart)
{
    CPTGraphHostingView host(CPTRect::make(0, 0, 30, 30));  // the graph's padding eats it all
    auto graph = std::make_shared<CPTXYGraph>();
    host.setHostedGraph(graph);
    graph->layoutGraph();
    auto* space = static_cast<CPTXYPlotSpace*>(graph->defaultPlotSpace());
    space->setXRange(range("3", "2"));
    Decimal x;
    Decimal y;
    space->plotPointForPlotAreaViewPoint({5.0, 5.0}, x, y);
    EXPECT_EQ(x, d("3"));
    double dx = 1.0;
    double dy = 1.0;
    space->doublePrecisionPlotPointForPlotAreaViewPoint({5.0, 5.0}, dx, dy);
    EXPECT_EQ(dx, 3.0);
    EXPECT_EQ(dy, 0.0);
}

TEST(XYPlotSpace, WithoutAGraphEverythingMapsToTheOrigin)
{
    CPTXYPlotSpace space;
    EXPECT_EQ(space.plotAreaViewPointForPlotPoint(d("3"), d("4")), (CPTPoint{0.0, 0.0}));
    space.setXRange(range("1", "2"));  // no graph: nobody to tell, nothing fails
    EXPECT_EQ(space.xRange(), range("1", "2"));
}
