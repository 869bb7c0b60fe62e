// SPDX-License-Identifier: GPL-3.0-or-later
#include "SampleCharts.hpp"

#include "plot/CPTAxisLabel.hpp"
#include "plot/CPTBarPlot.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTScatterPlot.hpp"
#include "plot/CPTTheme.hpp"
#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/CPTXYPlotSpace.hpp"

namespace quorvel::test {

namespace {

CPTColor rgb(int r, int g, int b)
{
    return CPTColor::colorWithComponentRed(r / 255.0, g / 255.0, b / 255.0, 1.0);
}

CPTTextStyle greyText(double size)
{
    CPTMutableTextStyle style;
    style.setColor(CPTColor::colorWithComponentRed(0.866667, 0.866667, 0.866667, 1.0));
    style.setFontSize(size);
    style.setTextAlignment(CPTTextAlignment::Center);
    return style;
}

std::shared_ptr<CPTXYGraph> makeFramedGraph(const std::string& title, double bottomPadding, IntegerLabels& labels)
{
    auto graph = std::make_shared<CPTXYGraph>();
    graph->applyTheme(CPTTheme::themeNamed("Dark Gradients").get());
    CPTPlotAreaFrame* frame = graph->plotAreaFrame();
    frame->setFill(CPTFill::fillWithColor(rgb(36, 38, 51)));
    frame->setBorderLineStyle(std::nullopt);
    frame->setCornerRadius(0.0);
    graph->setPaddingLeft(0.0);
    graph->setPaddingTop(0.0);
    graph->setPaddingRight(0.0);
    graph->setPaddingBottom(0.0);
    frame->setPaddingLeft(40.0);
    frame->setPaddingTop(20.0);
    frame->setPaddingRight(20.0);
    frame->setPaddingBottom(bottomPadding);
    graph->setTitle(title);
    graph->setTitleTextStyle(greyText(16.0));
    graph->setTitleDisplacement({0.0, -20.0});
    graph->setTitlePlotAreaFrameAnchor(CPTRectAnchor::Top);

    auto* space = static_cast<CPTXYPlotSpace*>(graph->defaultPlotSpace());
    space->setXRange(CPTPlotRange(Decimal::fromInteger(-1), Decimal::fromInteger(32)));
    space->setYRange(CPTPlotRange(Decimal::fromInteger(-1), Decimal::fromInteger(55)));

    auto* axes = static_cast<CPTXYAxisSet*>(graph->axisSet());
    CPTXYAxis* x = axes->xAxis();
    x->setMajorIntervalLength(Decimal::fromInteger(5));
    x->setOrthogonalCoordinateDecimal(Decimal());
    x->setTitle("Days");
    x->setTitleTextStyle(greyText(12.0));
    x->setTitleOffset(14.0);
    x->setTitleLocation(Decimal::fromInteger(29));
    x->setLabelingOrigin(Decimal::fromInteger(1));
    x->setDelegate(&labels);
    CPTXYAxis* y = axes->yAxis();
    y->setMajorIntervalLength(Decimal::fromInteger(10));
    y->setMinorTicksPerInterval(1);
    y->setOrthogonalCoordinateDecimal(Decimal());
    y->setTitle("Traffic, MB");
    y->setTitleTextStyle(greyText(12.0));
    y->setTitleOffset(25.0);
    y->setLabelExclusionRanges({CPTPlotRange(Decimal::fromFloat(-10.0F), Decimal::fromFloat(9.7F))});
    y->setDelegate(&labels);
    return graph;
}

}  // namespace

std::size_t PointSeries::numberOfRecordsForPlot(CPTPlot& /*plot*/)
{
    return points.size();
}

std::optional<CPTNumber> PointSeries::numberForPlot(CPTPlot& /*plot*/, unsigned field, std::size_t index)
{
    return field == 0 ? CPTNumber(points.at(index).first) : CPTNumber(points.at(index).second);
}

bool IntegerLabels::axisShouldUpdateAxisLabelsAtLocations(CPTAxis& axis, const std::set<Decimal>& locations)
{
    ++calls;
    CPTMutableTextStyle grey(*axis.labelTextStyle());
    grey.setColor(CPTColor::colorWithComponentRed(0.866667, 0.866667, 0.866667, 1.0));
    CPTMutableTextStyle red(*axis.labelTextStyle());
    red.setColor(CPTColor::redColor());
    CPTAxis::Labels made;
    for (const Decimal& location : locations) {
        auto label = std::make_unique<CPTAxisLabel>(std::to_string(location.toInt64()),
                                                    location >= Decimal() ? grey : red);
        label->setTickLocation(location);
        label->setOffset(axis.labelOffset());
        made.push_back(std::move(label));
    }
    axis.setAxisLabels(std::move(made));
    return false;
}

std::shared_ptr<CPTXYGraph> makeDailyBarGraph(PointSeries& series, IntegerLabels& labels)
{
    auto graph = makeFramedGraph("Data Usage Daily\nMay 25 - Jun 24", 30.0, labels);
    auto bars = CPTBarPlot::tubularBarPlotWithColor(rgb(255, 178, 21), rgb(203, 234, 71), CPTColor::blackColor(), false);
    bars->setBarWidth(Decimal::fromDouble(0.5));
    bars->setBaseValue(Decimal());
    bars->setBarOffset(Decimal());
    bars->setIdentifier("Bar Plot 1");
    bars->setDataSource(&series);
    graph->addPlot(bars);
    return graph;
}

std::shared_ptr<CPTXYGraph> makeCumulativeGraph(PointSeries& series, IntegerLabels& labels)
{
    auto graph = makeFramedGraph("May 25 - Jun 24\n41.2 MB used", 28.0, labels);
    static_cast<CPTXYAxisSet*>(graph->axisSet())->xAxis()->setMinorTicksPerInterval(4);
    auto line = std::make_shared<CPTScatterPlot>();
    CPTMutableLineStyle lineStyle;
    lineStyle.setMiterLimit(1.0);
    lineStyle.setLineWidth(2.0);
    lineStyle.setLineColor(rgb(87, 120, 35));
    line->setDataLineStyle(lineStyle);
    line->setIdentifier("Blue Plot");
    line->setDataSource(&series);
    line->setAreaFill(CPTFill::fillWithColor(rgb(47, 53, 54)));
    line->setAreaBaseValue(Decimal());
    CPTPlotSymbol symbol = CPTPlotSymbol::ellipsePlotSymbol();
    symbol.setSize({6.0, 6.0});
    symbol.setFill(CPTFill::fillWithColor(rgb(136, 195, 39)));
    symbol.setLineStyle(CPTLineStyle::lineStyle());
    line->setPlotSymbol(symbol);
    graph->addPlot(line);
    return graph;
}

}  // namespace quorvel::test
