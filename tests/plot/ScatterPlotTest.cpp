// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlotFixture.hpp"

#include "plot/CPTException.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTRecordingContext.hpp"
#include "plot/CPTScatterPlot.hpp"

#include "GeometryPrinting.hpp"

#include <cmath>

using namespace quorvel;
using namespace quorvel::test;
using Kind = CPTRecordedOperation::Kind;
using ElementKind = CPTRecordedOperation::PathElement::Kind;
using Interpolation = CPTScatterPlot::Interpolation;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<CPTPoint> pathOf(const std::vector<CPTPoint>& points, double baseline, Interpolation interpolation,
                             int* closes = nullptr)
{
    CPTRecordingContext context;
    CPTScatterPlot::addDataLinePath(context, points, 0, points.size() - 1, baseline, interpolation);
    context.fillPath(false);
    const auto& op = context.operations().front();
    if (closes != nullptr) {
        *closes = static_cast<int>(std::count_if(op.path.begin(), op.path.end(), [](const auto& e) {
            return e.kind == ElementKind::Close;
        }));
    }
    return op.pathPoints();
}

class ScatterPlot : public PlotFixture {
protected:
    std::shared_ptr<CPTScatterPlot> addLine()
    {
        auto line = std::make_shared<CPTScatterPlot>();
        line->setDataSource(&series);
        line->setAlignsPointsToPixels(false);
        graph->addPlot(line);
        line->reloadData();
        return line;
    }
};

}  // namespace

TEST(ScatterPath, InterpolationsAndBreaks)
{
    struct Case {
        const char* name;
        std::vector<CPTPoint> points;
        double baseline;
        Interpolation interpolation;
        std::vector<CPTPoint> expected;
        int closes;
    };
    const Case cases[] = {
        {"linear", {{0, 0}, {1, 1}, {2, 0}}, kNaN, Interpolation::Linear, {{0, 0}, {1, 1}, {2, 0}}, 0},
        {"stepped", {{0, 0}, {1, 1}}, kNaN, Interpolation::Stepped, {{0, 0}, {1, 0}, {1, 1}}, 0},
        {"histogram", {{0, 0}, {2, 2}}, kNaN, Interpolation::Histogram, {{0, 0}, {1, 0}, {1, 2}, {2, 2}}, 0},
        {"single point, closed", {{3, 4}}, 0.0, Interpolation::Linear, {{3, 4}, {3, 0}, {3, 0}}, 1},
        {"gap splits the area",
         {{0, 1}, {1, 2}, {kNaN, kNaN}, {3, 1}, {4, 2}},
         0.0,
         Interpolation::Linear,
         {{0, 1}, {1, 2}, {1, 0}, {0, 0}, {3, 1}, {4, 2}, {4, 0}, {3, 0}},
         2},
    };
    for (const auto& c : cases) {
        int closes = 0;
        EXPECT_EQ(pathOf(c.points, c.baseline, c.interpolation, &closes), c.expected) << c.name;
        EXPECT_EQ(closes, c.closes) << c.name;
    }
    CPTRecordingContext context;
    try {
        CPTScatterPlot::addDataLinePath(context, {{0, 0}, {1, 1}}, 0, 1, kNaN, static_cast<Interpolation>(5));
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_STREQ(e.what(), "Interpolation method not supported in scatter plot.");
    }
}

TEST_F(ScatterPlot, AreaIsThePolygonDownToTheBaseValue)
{
    series.points = {{1, 0.5}, {2, 0.5}, {3, 2.0}};
    setRanges("0", "4", "0", "2");
    auto line = addLine();
    line->setAreaFill(CPTFill::fillWithColor(CPTColor::grayColor()));
    line->setAreaBaseValue(Decimal());
    CPTRecordingContext context;
    line->renderAsVectorInContext(context);
    const auto fills = context.operations(Kind::Fill);
    ASSERT_EQ(fills.size(), 1U);
    EXPECT_EQ(fills[0].pathPoints(),
              (std::vector<CPTPoint>{{65, 38}, {130, 38}, {195, 152}, {195, 0}, {65, 0}}));
    const auto strokes = context.operations(Kind::Stroke);
    ASSERT_EQ(strokes.size(), 1U);
    EXPECT_EQ(strokes[0].pathPoints(), (std::vector<CPTPoint>{{65, 38}, {130, 38}, {195, 152}}));
}

TEST_F(ScatterPlot, OffscreenRecordsAreCulledUnlessTheLineLeadsToThem)
{
    series.points = {{1, 1}, {2, 1}, {10, 1}, {20, 1}};
    setRanges("0", "4", "0", "2");
    auto line = addLine();
    EXPECT_EQ(line->recordsToDraw(), (std::vector<bool>{true, true, true, false}));
    line->setAreaFill(CPTFill::fillWithColor(CPTColor::grayColor()));
    EXPECT_EQ(line->recordsToDraw(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(ScatterPlot, MissingValuesBreakTheLineAndGetNoSymbol)
{
    series.points = {{1, 1}, {2, kNaN}, {3, 1}};
    setRanges("0", "4", "0", "2");
    auto line = addLine();
    line->setPlotSymbol(CPTPlotSymbol::ellipsePlotSymbol());
    CPTRecordingContext context;
    line->renderAsVectorInContext(context);
    const auto strokes = context.operations(Kind::Stroke);
    ASSERT_EQ(strokes.size(), 3U);  // the line, then the outline of two symbols
    const auto& path = strokes[0].path;
    ASSERT_EQ(path.size(), 2U);
    EXPECT_EQ(path[0].kind, ElementKind::Move);
    EXPECT_EQ(path[1].kind, ElementKind::Move);
}

TEST_F(ScatterPlot, SymbolsAreEllipsesAtEveryPointOrCachedImagesWhenLayered)
{
    series.points = {{1, 1}, {2, 1.5}};
    setRanges("0", "4", "0", "2");
    auto line = addLine();
    CPTPlotSymbol symbol = CPTPlotSymbol::ellipsePlotSymbol();
    symbol.setSize({6, 6});
    symbol.setFill(CPTFill::fillWithColor(CPTColor::redColor()));
    line->setPlotSymbol(symbol);
    CPTRecordingContext vectors;
    line->renderAsVectorInContext(vectors);
    const auto clips = vectors.operations(Kind::Clip);
    ASSERT_EQ(clips.size(), 2U);
    EXPECT_EQ(clips[1].path[0].kind, ElementKind::Ellipse);
    EXPECT_EQ(clips[1].path[0].rect, CPTRect::make(-3, -3, 6, 6));
    EXPECT_EQ(clips[1].transform.apply({0, 0}), (CPTPoint{130, 114}));

    CPTRecordingContext layered;
    line->drawInContext(layered);  // ordinary layer drawing: one cached image per point
    const auto images = layered.operations(Kind::Image);
    ASSERT_EQ(images.size(), 2U);
    EXPECT_EQ(images[0].image, images[1].image);
    EXPECT_DOUBLE_EQ(images[0].rect.midX(), 65.0);
}

TEST_F(ScatterPlot, SingleRecordDrawsOnlyItsSymbol)
{
    series.points = {{2, 1}};
    setRanges("0", "4", "0", "2");
    auto line = addLine();
    line->setPlotSymbol(CPTPlotSymbol::ellipsePlotSymbol());
    line->setAreaFill(CPTFill::fillWithColor(CPTColor::grayColor()));
    line->setAreaBaseValue(Decimal());
    CPTRecordingContext context;
    line->renderAsVectorInContext(context);
    const auto fills = context.operations(Kind::Fill);
    ASSERT_FALSE(fills.empty());
    const CPTRect area = [&] {
        CPTRecordingContext probe;
        for (const auto& p : fills[0].pathPoints()) {
            probe.lineTo(p);
        }
        return probe.pathBoundingBox();
    }();
    EXPECT_EQ(area.width(), 0.0);  // an area with no width paints nothing
    EXPECT_EQ(context.operations(Kind::Stroke)[0].path.size(), 1U);
}

TEST_F(ScatterPlot, StylesAreCopiedAndCountsMustMatch)
{
    series.points = {{1, 1}, {2, 1}};
    auto line = addLine();
    CPTMutableLineStyle style;
    style.setLineWidth(2.0);
    line->setDataLineStyle(style);
    style.setLineWidth(9.0);
    EXPECT_EQ(line->dataLineStyle()->lineWidth(), 2.0);

    line->cacheNumbers(CPTNumericData::fromDoubles({1, 2, 3}), CPTScatterPlot::X);
    CPTRecordingContext context;
    try {
        line->renderAsVectorInContext(context);
        FAIL() << "no exception";
    } catch (const CPTException& e) {
        EXPECT_STREQ(e.what(), "Number of x and y values do not match");
    }
}
