// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlotFixture.hpp"

#include "plot/CPTAxisLabel.hpp"
#include "plot/CPTAxisTitle.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTInvalidArgumentException.hpp"
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/CPTRecordingContext.hpp"
#include "plot/CPTTextLayer.hpp"
#include "plot/CPTTickLocations.hpp"
#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"

#include "GeometryPrinting.hpp"

#include <cmath>
#include <numbers>

using namespace quorvel;
using namespace quorvel::test;

namespace {

Decimal d(const char* text)
{
    return Decimal::fromString(text);
}

std::set<Decimal> decimals(std::initializer_list<const char*> texts)
{
    std::set<Decimal> result;
    for (const char* text : texts) {
        result.insert(d(text));
    }
    return result;
}

std::set<Decimal> wholeNumbers(int from, int to, int skipFrom, int skipStep)
{
    std::set<Decimal> result;
    for (int i = from; i <= to; ++i) {
        if ((i - skipFrom) % skipStep != 0) {
            result.insert(Decimal::fromInteger(i));
        }
    }
    return result;
}

CPTTextStyle sized(double size)
{
    CPTMutableTextStyle style;
    style.setFontSize(size);
    return style;
}

}  // namespace

TEST(TickLocations, FixedIntervalMajorsAndMinors)
{
    struct Case {
        const char* name;
        std::optional<CPTPlotRange> range;
        const char* interval;
        const char* origin;
        unsigned minor;
        std::set<Decimal> majors;
        std::set<Decimal> minors;
    };
    const Case cases[] = {
        {"0..55", CPTPlotRange(d("0"), d("55")), "10", "0", 1, decimals({"0", "10", "20", "30", "40", "50"}),
         decimals({"5", "15", "25", "35", "45", "55"})},
        {"-1..54", CPTPlotRange(d("-1"), d("55")), "10", "0", 1, decimals({"0", "10", "20", "30", "40", "50"}),
         decimals({"5", "15", "25", "35", "45"})},
        {"days", CPTPlotRange(d("-1"), d("32")), "5", "1", 4, decimals({"1", "6", "11", "16", "21", "26", "31"}),
         wholeNumbers(-1, 31, 1, 5)},
        {"downward", CPTPlotRange(d("10"), d("-10")), "5", "0", 0, decimals({"0", "5", "10"}), {}},
        {"halves", CPTPlotRange(d("0"), d("1")), "0.5", "0", 4, decimals({"0", "0.5", "1"}),
         decimals({"0.1", "0.2", "0.3", "0.4", "0.6", "0.7", "0.8", "0.9"})},
        {"zero interval", CPTPlotRange(d("0"), d("10")), "0", "0", 1, {}, {}},
        {"negative interval", CPTPlotRange(d("0"), d("10")), "-1", "0", 1, {}, {}},
        {"no range", std::nullopt, "1", "0", 1, {}, {}},
    };
    for (const auto& c : cases) {
        const auto ticks = CPTTickLocations::fixedInterval(c.range, d(c.interval), d(c.origin), c.minor);
        EXPECT_EQ(ticks.major, c.majors) << c.name;
        EXPECT_EQ(ticks.minor, c.minors) << c.name;
    }
}

TEST(TickLocations, IntervalsBelowTheRangesResolutionEnd)
{
    // 10^41 + 1 rounds back to 10^41 at 38 digits: the next major never moves.
    const Decimal huge = d("100000000000000000000000000000000000000000");
    auto ticks = CPTTickLocations::fixedInterval(CPTPlotRange(huge, d("10")), d("1"), d("0"), 1);
    EXPECT_EQ(ticks.major, std::set<Decimal>{huge});
    ticks = CPTTickLocations::fixedInterval(CPTPlotRange(d("1"), d("1")), d("0.0000000000000000000000000000000000000001"),
                                            d("0"), 0);
    EXPECT_EQ(ticks.major, std::set<Decimal>{d("1")});
    // Representable but far too many: the count of steps ends it.
    ticks = CPTTickLocations::fixedInterval(CPTPlotRange(d("0"), d("1")), d("0.0000000000000000000000000000000000001"),
                                            d("0"), 0);
    EXPECT_EQ(ticks.major.size(), CPTTickLocations::kMaxMajorTicks);
}

TEST(TickLocations, ExclusionRangesDropLocationsIncludingTheirEnds)
{
    CPTTickLocations ticks;
    ticks.major = decimals({"-10", "-5", "-0.3", "-0.2", "0"});
    ticks.minor = decimals({"-7", "3"});
    ticks.exclude({CPTPlotRange(Decimal::fromFloat(-10.0F), Decimal::fromFloat(9.7F))});
    EXPECT_EQ(ticks.major, decimals({"-0.2", "0"}));
    EXPECT_EQ(ticks.minor, decimals({"3"}));
}

TEST(AxisLabel, AnchorFollowsTheOutwardAngle)
{
    struct Case {
        double theta;
        CPTPoint anchor;
    };
    const double pi = std::numbers::pi;
    const Case cases[] = {
        {pi / 2, {0.5, 1.0}}, {2 * pi, {1.0, 0.5}}, {pi, {0.0, 0.5}}, {1.5 * pi, {0.5, 0.0}}, {pi / 4, {1.0, 1.0}},
    };
    for (const auto& c : cases) {
        const CPTPoint anchor = CPTAxisLabel::anchorForAngle(c.theta);
        EXPECT_NEAR(anchor.x, c.anchor.x, 1e-12) << c.theta;
        EXPECT_NEAR(anchor.y, c.anchor.y, 1e-12) << c.theta;
    }
}

TEST(AxisLabel, XLabelsHangBelowAndYLabelsEndLeftOfTheirTick)
{
    CPTAxisLabel below("12", sized(14.0));  // 16 x 20 with fixed metrics
    below.setOffset(2.0);
    below.positionRelativeToViewPoint({100, 50}, CPTCoordinate::Y, CPTSign::None);
    EXPECT_EQ(below.contentLayer()->frame(), CPTRect::make(92, 28, 16, 20));

    CPTAxisLabel left("12", sized(14.0));
    left.setOffset(2.0);
    left.positionRelativeToViewPoint({40, 80}, CPTCoordinate::X, CPTSign::Negative);
    EXPECT_EQ(left.contentLayer()->frame(), CPTRect::make(22, 70, 16, 20));

    EXPECT_THROW(left.positionRelativeToViewPoint({0, 0}, CPTCoordinate::Z, CPTSign::None), CPTInvalidArgumentException);
    try {
        left.positionRelativeToViewPoint({0, 0}, CPTCoordinate::X, static_cast<CPTSign>(2));
        FAIL() << "no exception";
    } catch (const CPTInvalidArgumentException& e) {
        EXPECT_STREQ(e.what(), "Invalid direction in positionRelativeToViewPoint:forCoordinate:inDirection:");
    }
}

TEST(AxisTitle, XTitleHangsBelowAndYTitleReadsUpward)
{
    CPTAxisTitle x("Days", sized(12.0));  // 26 x 17
    x.setOffset(14.0);
    x.positionRelativeToViewPoint({100, 50}, CPTCoordinate::Y, CPTSign::None);
    EXPECT_EQ(x.contentLayer()->frame(), CPTRect::make(87, 19, 26, 17));

    CPTAxisTitle y("Days", sized(12.0));
    y.setOffset(25.0);
    y.positionRelativeToViewPoint({40, 80}, CPTCoordinate::X, CPTSign::None);
    const CPTRect frame = y.contentLayer()->frame();
    EXPECT_NEAR(frame.maxX(), 15.0, 1e-9);  // its bottom edge, turned, faces the axis 25 points away
    EXPECT_NEAR(frame.width(), 17.0, 1e-9);
    EXPECT_NEAR(frame.midY(), 80.0, 1e-9);

    try {
        y.positionRelativeToViewPoint({0, 0}, CPTCoordinate::X, static_cast<CPTSign>(-2));
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_STREQ(e.what(), "Invalid sign in positionRelativeToViewPoint:inDirection:");
    }
}

namespace {

struct RecordingLabels : CPTAxisDelegate {
    std::vector<std::set<Decimal>> asked;
    bool makeLabels = true;
    bool axisShouldUpdateAxisLabelsAtLocations(CPTAxis& axis, const std::set<Decimal>& locations) override
    {
        asked.push_back(locations);
        if (makeLabels) {
            CPTAxis::Labels labels;
            for (const Decimal& location : locations) {
                auto label = std::make_unique<CPTAxisLabel>(location.toString(), *axis.labelTextStyle());
                label->setTickLocation(location);
                label->setOffset(axis.labelOffset());
                labels.push_back(std::move(label));
            }
            axis.setAxisLabels(std::move(labels));
        }
        return false;
    }
};

class AxisInGraph : public PlotFixture {
protected:
    CPTXYAxis* xAxis() const { return static_cast<CPTXYAxisSet*>(graph->axisSet())->xAxis(); }
    CPTXYAxis* yAxis() const { return static_cast<CPTXYAxisSet*>(graph->axisSet())->yAxis(); }
};

}  // namespace

TEST_F(AxisInGraph, DelegateGetsTheFilteredMajorsAndOwnsTheLabels)
{
    RecordingLabels labels;
    CPTXYAxis* y = yAxis();
    y->setDelegate(&labels);
    y->setMajorIntervalLength(d("5"));
    y->setMinorTicksPerInterval(0);
    y->setLabelExclusionRanges({CPTPlotRange(Decimal::fromFloat(-10.0F), Decimal::fromFloat(9.7F))});
    setRanges("-1", "32", "-10", "30");
    ASSERT_FALSE(labels.asked.empty());
    EXPECT_EQ(labels.asked.back(), decimals({"0", "5", "10", "15", "20"}));
    ASSERT_EQ(y->axisLabels().size(), 5U);
    const CPTLayer* zero = y->axisLabels().front()->contentLayer();
    EXPECT_EQ(static_cast<const CPTTextLayer*>(zero)->text(), "0");
    // Right edge 2 points left of the y axis line at x = 40 + 260/32 (in the frame's space).
    EXPECT_NEAR(zero->frame().maxX(), 40.0 + 8.125 - 2.0, 0.5);

    const auto asked = labels.asked.size();
    y->setLabelOffset(10.0);  // moves, does not regenerate
    EXPECT_EQ(labels.asked.size(), asked);
    EXPECT_NEAR(zero->frame().maxX(), 40.0 + 8.125 - 10.0, 0.5);

    labels.makeLabels = false;
    y->setNeedsRelabel();
    graph->layoutGraph();
    EXPECT_EQ(y->axisLabels().size(), 5U);  // the delegate's labels stay

    y->setMajorIntervalLength(Decimal());
    graph->layoutGraph();
    EXPECT_TRUE(labels.asked.back().empty());
}

TEST_F(AxisInGraph, AxisMadeLabelsUseTheFormatterWithOneFractionDigit)
{
    CPTXYAxis* x = xAxis();
    x->setMajorIntervalLength(d("0.5"));
    x->setMinorTicksPerInterval(0);
    setRanges("0", "1", "0", "1");
    std::vector<std::string> texts;
    for (const auto& label : x->axisLabels()) {
        texts.push_back(static_cast<const CPTTextLayer*>(label->contentLayer())->text());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"0.0", "0.5", "1.0"}));
    EXPECT_EQ(x->axisLabels().front()->offset(), 2.0 + 5.0);  // label offset plus the outward tick
}

TEST_F(AxisInGraph, TicksStraddleTheAxisAndSkipExcludedLocations)
{
    CPTXYAxis* y = yAxis();
    y->setTickDirection(CPTSign::None);
    y->setMajorIntervalLength(d("5"));
    y->setMinorTicksPerInterval(0);
    y->setMajorTickLength(7.0);
    y->setLabelExclusionRanges({CPTPlotRange(d("4"), d("2"))});
    setRanges("-1", "32", "0", "10");
    CPTRecordingContext context;
    y->renderAsVectorInContext(context);
    const auto strokes = context.operations(CPTRecordedOperation::Kind::Stroke);
    ASSERT_EQ(strokes.size(), 2U);  // major ticks, axis line
    const auto ticks = strokes[0].pathPoints();
    ASSERT_EQ(ticks.size(), 4U);  // 0 and 10; 5 is excluded
    // x axis position 40 + 8.125 in the axis layer, ticks from 3.5 left to 3.5 right, on pixel centres.
    EXPECT_EQ(ticks[0], (CPTPoint{45.5, 28.5}));
    EXPECT_EQ(ticks[1], (CPTPoint{52.5, 28.5}));
    const auto line = strokes[1].pathPoints();
    EXPECT_EQ(line.front(), (CPTPoint{48.5, 28.5}));
    EXPECT_EQ(line.back(), (CPTPoint{48.5, 180.5}));
}

TEST_F(AxisInGraph, TitlesSitAtTheirLocationOrTheMiddleOfTheRange)
{
    CPTXYAxis* x = xAxis();
    x->setTitle("Days");
    x->setTitleOffset(14.0);
    x->setTitleLocation(Decimal::fromInteger(29));
    CPTXYAxis* y = yAxis();
    y->setTitle("Traffic, MB");
    y->setTitleOffset(25.0);
    graph->layoutGraph();
    const CPTRect xTitle = x->axisTitle()->contentLayer()->frame();
    EXPECT_NEAR(xTitle.midX(), 40.0 + 260.0 * 30.0 / 32.0, 0.5);
    EXPECT_NEAR(xTitle.maxY(), 28.0 - 14.0, 0.5);
    const CPTRect yTitle = y->axisTitle()->contentLayer()->frame();
    EXPECT_NEAR(yTitle.maxX(), 40.0 + 8.125 - 25.0, 0.5);
    EXPECT_NEAR(yTitle.midY(), 28.0 + 76.0, 0.5);
    EXPECT_EQ(y->titleLocation(), Decimal::fromInteger(5));

    x->setTitle(std::nullopt);
    EXPECT_EQ(x->axisTitle(), nullptr);
}

TEST_F(AxisInGraph, OnlyXAndYAreCoordinatesOfAnXYAxis)
{
    try {
        xAxis()->setCoordinate(CPTCoordinate::Z);
        FAIL() << "no exception";
    } catch (const CPTInvalidArgumentException& e) {
        EXPECT_STREQ(e.what(), "Invalid coordinate: 2");
    }
    EXPECT_EQ(xAxis()->coordinate(), CPTCoordinate::X);
}

TEST_F(AxisInGraph, ConstraintsPinTheAxisToTheEdgeOfThePlotArea)
{
    CPTXYAxis* x = xAxis();
    setRanges("-1", "32", "-5", "10");
    EXPECT_NEAR(x->viewPointForCoordinateDecimalNumber(Decimal()).y, 28.0 + 76.0, 1e-9);
    x->setAxisConstraints(CPTConstraints::constraintWithLowerOffset(0.0));
    EXPECT_NEAR(x->viewPointForCoordinateDecimalNumber(Decimal()).y, 28.0, 1e-9);
}
