// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlotFixture.hpp"

#include "plot/CPTAssertionFailure.hpp"
#include "plot/CPTBarPlot.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTInvalidArgumentException.hpp"
#include "plot/CPTRecordingContext.hpp"

#include "GeometryPrinting.hpp"

#include <cmath>
#include <set>

using namespace quorvel;
using namespace quorvel::test;
using Kind = CPTRecordedOperation::Kind;
using ElementKind = CPTRecordedOperation::PathElement::Kind;

namespace {

class BarPlot : public PlotFixture {
protected:
    std::shared_ptr<CPTBarPlot> addBars(std::shared_ptr<CPTBarPlot> plot = std::make_shared<CPTBarPlot>())
    {
        plot->setDataSource(&series);
        graph->addPlot(plot);
        plot->reloadData();
        return plot;
    }

    std::vector<CPTRecordedOperation> draw(CPTBarPlot& plot, CPTRecordedOperation::Kind kind)
    {
        CPTRecordingContext context;
        plot.renderAsVectorInContext(context);
        EXPECT_EQ(context.saveDepth(), 0);
        return context.operations(kind);
    }
};

// Counts numbers asked for one at a time, and can offer whole arrays of doubles.
struct CountingSource : CPTPlotDataSource {
    bool offerDoubles = false;
    bool offerNothing = false;
    int singleCalls = 0;
    std::size_t numberOfRecordsForPlot(CPTPlot&) override { return 3; }
    std::optional<std::vector<double>> doublesForPlot(CPTPlot&, unsigned field, CPTIndexRange range) override
    {
        if (!offerDoubles) {
            return std::nullopt;
        }
        std::vector<double> values;
        for (std::size_t i = range.location; i < range.end(); ++i) {
            values.push_back(field == 0 ? static_cast<double>(i) : 10.0 * static_cast<double>(i));
        }
        return values;
    }
    std::optional<CPTNumber> numberForPlot(CPTPlot&, unsigned field, std::size_t index) override
    {
        ++singleCalls;
        if (offerNothing) {
            return std::nullopt;
        }
        return CPTNumber(Decimal::fromInteger(field == 0 ? index : index * 2));
    }
};

// Answers one number at a time and has none for some records.
struct GappySource : CPTPlotDataSource {
    std::set<std::size_t> missing;
    std::size_t numberOfRecordsForPlot(CPTPlot&) override { return 4; }
    std::optional<CPTNumber> numberForPlot(CPTPlot&, unsigned field, std::size_t index) override
    {
        if (missing.contains(index)) {
            return std::nullopt;
        }
        return CPTNumber(Decimal::fromInteger(field == 0 ? index + 1 : 5));
    }
};

}  // namespace

TEST_F(BarPlot, ARecordWithoutNumbersIsSkippedWhereverItLies)
{
    GappySource source;
    auto bars = std::make_shared<CPTBarPlot>();
    bars->setDataSource(&source);
    graph->addPlot(bars);
    for (const std::set<std::size_t>& missing : {std::set<std::size_t>{0}, {2}, {0, 3}}) {
        source.missing = missing;
        bars->reloadData();
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(bars->cachedDecimalForField(CPTBarPlot::BarTip, i).isNaN(), missing.contains(i)) << i;
        }
        EXPECT_EQ(draw(*bars, Kind::Fill).size(), 4 - missing.size()) << "the other bars are drawn";
    }
}

TEST_F(BarPlot, BarWidthAndCentreFollowTheRange)
{
    series.points = {{1, 5}};
    auto bars = addBars();
    bars->setLineStyle(std::nullopt);
    bars->setAlignsPointsToPixels(false);
    const auto fills = draw(*bars, Kind::Fill);
    ASSERT_EQ(fills.size(), 1U);
    const auto points = fills[0].pathPoints();
    ASSERT_EQ(points.size(), 4U);  // no corner radius: four straight sides
    const double left = points[3].x;
    const double right = points[0].x;
    EXPECT_DOUBLE_EQ(right - left, 260.0 * 0.5 / 32.0);  // 4.0625
    EXPECT_DOUBLE_EQ((left + right) / 2.0, 16.25);
    EXPECT_EQ(points[0].y, 0.0);
    EXPECT_DOUBLE_EQ(points[1].y, 76.0);
}

TEST_F(BarPlot, OutlinesSnapToPixelCentres)
{
    series.points = {{1, 5}};
    auto bars = addBars();
    const auto strokes = draw(*bars, Kind::Stroke);
    ASSERT_EQ(strokes.size(), 1U);
    const auto points = strokes[0].pathPoints();
    EXPECT_EQ(points.front(), (CPTPoint{18.5, 0.5}));  // 18.28125 rounded, plus half a pixel
    EXPECT_EQ(points.back(), (CPTPoint{14.5, 0.5}));
}

TEST_F(BarPlot, TubularBarsHaveRoundedTipsAndAGradientAcrossTheirWidth)
{
    series.points = {{1, 5}};
    auto bars = addBars(CPTBarPlot::tubularBarPlotWithColor(CPTColor::redColor(), CPTColor::whiteColor(),
                                                            CPTColor::blackColor(), false));
    bars->setBarWidth(Decimal::fromDouble(0.5));
    bars->setAlignsPointsToPixels(false);
    const auto shades = draw(*bars, Kind::Gradient);
    ASSERT_EQ(shades.size(), 1U);
    EXPECT_DOUBLE_EQ(shades[0].start.x, 16.25 - 2.03125);
    EXPECT_DOUBLE_EQ(shades[0].end.x, 16.25 + 2.03125);
    EXPECT_EQ(shades[0].start.y, shades[0].end.y);
    const auto strokes = draw(*bars, Kind::Stroke);
    ASSERT_EQ(strokes.size(), 1U);
    int arcs = 0;
    for (const auto& element : strokes[0].path) {
        if (element.kind == ElementKind::Arc) {
            ++arcs;
            EXPECT_DOUBLE_EQ(element.radius, 2.0);
            EXPECT_GT(element.points[0].y, 70.0);  // both rounded corners are at the tip
        }
    }
    EXPECT_EQ(arcs, 2);
}

TEST_F(BarPlot, ZeroAndNegativeValues)
{
    series.points = {{1, 0}, {2, -2}};
    setRanges("-1", "32", "-5", "10");
    auto bars = addBars(CPTBarPlot::tubularBarPlotWithColor(CPTColor::redColor(), CPTColor::whiteColor(),
                                                            CPTColor::blackColor(), false));
    bars->setAlignsPointsToPixels(false);
    const auto strokes = draw(*bars, Kind::Stroke);
    ASSERT_EQ(strokes.size(), 2U);
    for (const auto& element : strokes[0].path) {
        EXPECT_NE(element.kind, ElementKind::Arc);  // a flat bar: radius 0
    }
    const auto flat = strokes[0].pathPoints();
    EXPECT_DOUBLE_EQ(flat.front().y, 76.0);
    EXPECT_DOUBLE_EQ(flat[1].y, 76.0);
    const auto below = strokes[1].pathPoints();
    EXPECT_DOUBLE_EQ(below.front().y, 76.0);  // base at 0
    EXPECT_LT(below[1].y, below.front().y);   // drawn downward to the tip at -2
}

TEST_F(BarPlot, EmptyMissingAndOffscreenRecords)
{
    auto bars = addBars();
    EXPECT_TRUE(draw(*bars, Kind::Fill).empty());  // no records, no exception
    series.points = {{1, 5}, {2, std::nan("")}, {40, 5}, {3, 5}};
    bars->reloadData();
    EXPECT_EQ(draw(*bars, Kind::Fill).size(), 2U);
}

TEST_F(BarPlot, MismatchedCachedFieldsAreEngineExceptions)
{
    auto bars = std::make_shared<CPTBarPlot>();
    graph->addPlot(bars);
    bars->setBarBasesVary(true);
    bars->reloadData();
    bars->cacheNumbers(CPTNumericData::fromDoubles({1, 2}), CPTBarPlot::BarLocation);
    bars->cacheNumbers(CPTNumericData::fromDoubles({1, 2, 3}), CPTBarPlot::BarTip);
    bars->cacheNumbers(CPTNumericData::fromDoubles({0, 0, 0}), CPTBarPlot::BarBase);
    CPTRecordingContext context;
    try {
        bars->renderAsVectorInContext(context);
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_STREQ(e.what(), "Number of bar locations and lengths do not match");
    }
    bars->cacheNumbers(CPTNumericData::fromDoubles({1, 2, 3}), CPTBarPlot::BarLocation);
    bars->cacheNumbers(CPTNumericData::fromDoubles({0, 0}), CPTBarPlot::BarBase);
    try {
        bars->renderAsVectorInContext(context);
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_STREQ(e.what(), "Number of bar lengths and bases do not match");
    }
}

TEST_F(BarPlot, ReloadingPastTheRecordCountIsAnAssertionFailure)
{
    series.points = {{1, 1}, {2, 2}};
    auto bars = addBars();
    try {
        bars->reloadDataInIndexRange({1, 2});
        FAIL() << "no assertion";
    } catch (const CPTAssertionFailure& failure) {
        EXPECT_STREQ(failure.what(),
                     "Invalid parameter not satisfying: NSMaxRange(indexRange) <= [self.dataSource numberOfRecordsForPlot:self]");
    }
}

TEST_F(BarPlot, SourcesArePreferredInOrderAndNumbersKeepTheirType)
{
    CountingSource source;
    auto bars = std::make_shared<CPTBarPlot>();
    bars->setDataSource(&source);
    graph->addPlot(bars);
    bars->reloadData();
    EXPECT_FALSE(bars->doublePrecisionCache());  // decimals in, decimals cached
    EXPECT_EQ(bars->cachedDecimalForField(CPTBarPlot::BarTip, 2), Decimal::fromInteger(4));
    EXPECT_EQ(source.singleCalls, 6);

    source.offerDoubles = true;
    bars->reloadData();
    EXPECT_EQ(source.singleCalls, 6);  // the whole-array answer wins
    EXPECT_TRUE(bars->doublePrecisionCache());
    EXPECT_EQ(bars->cachedDoubleForField(CPTBarPlot::BarTip, 2), 20.0);

    source.offerDoubles = false;
    source.offerNothing = true;
    bars->reloadData();
    EXPECT_EQ(bars->cachedDecimalForField(CPTBarPlot::BarTip, 1), Decimal());  // answers nothing: zeros
    EXPECT_TRUE(std::isnan(bars->cachedDoubleForField(7, 0)));
    EXPECT_TRUE(bars->cachedDecimalForField(CPTBarPlot::BarTip, 99).isNaN());
}

TEST_F(BarPlot, CachePrecisionConvertsAndRejectsUnknownValues)
{
    series.points = {{1, 2.5}, {2, 3}};
    auto bars = addBars();
    EXPECT_TRUE(bars->doublePrecisionCache());
    bars->setCachePrecision(CPTPlot::CachePrecision::Decimal);
    EXPECT_FALSE(bars->doublePrecisionCache());
    EXPECT_EQ(bars->cachedDecimalForField(CPTBarPlot::BarTip, 0), Decimal::fromString("2.5"));
    try {
        bars->setCachePrecision(static_cast<CPTPlot::CachePrecision>(3));
        FAIL() << "no exception";
    } catch (const CPTInvalidArgumentException& e) {
        EXPECT_EQ(e.name(), "InvalidArgumentException");
        EXPECT_STREQ(e.what(), "Invalid cache precision");
    }
}

TEST_F(BarPlot, PlotRangeSpreadsTheLocationsEvenly)
{
    series.points = {{100, 1}, {200, 2}, {300, 3}};
    auto bars = addBars();
    bars->setPlotRange(CPTPlotRange(Decimal(), Decimal::fromInteger(10)));
    bars->reloadData();
    EXPECT_EQ(bars->cachedDoubleForField(CPTBarPlot::BarLocation, 0), 0.0);
    EXPECT_EQ(bars->cachedDoubleForField(CPTBarPlot::BarLocation, 1), 5.0);
    EXPECT_EQ(bars->cachedDoubleForField(CPTBarPlot::BarLocation, 2), 10.0);
}

TEST_F(BarPlot, OffsetMovesBothEndsAlongTheLocationAxis)
{
    series.points = {{1, 5}};
    auto bars = addBars();
    bars->setBarOffset(Decimal::fromInteger(1));
    CPTPoint base;
    CPTPoint tip;
    ASSERT_TRUE(bars->barAtRecordIndex(0, base, tip));
    EXPECT_DOUBLE_EQ(base.x, 16.25 + 260.0 / 32.0);
    EXPECT_DOUBLE_EQ(tip.x, base.x);
    EXPECT_DOUBLE_EQ(bars->lengthInView(Decimal::fromInteger(2)), 16.25);
}
