// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/FChartViewController.hpp"

#include <algorithm>
#include <cmath>

#include "charts/ChartDayLabel.hpp"
#include "charts/ChartPageStyle.hpp"
#include "charts/ChartTitleLayout.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/FileSize.hpp"
#include "plot/CPTAxisLabel.hpp"
#include "plot/CPTBarPlot.hpp"
#include "plot/CPTFill.hpp"
#include "plot/CPTLayerAnnotation.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTPlotSymbol.hpp"
#include "plot/CPTScatterPlot.hpp"
#include "plot/CPTTextLayer.hpp"
#include "plot/CPTTheme.hpp"
#include "plot/CPTTickLocations.hpp"
#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/CPTXYPlotSpace.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

const char* const kDays = N_("Days");

void setUpAxes(CPTXYGraph& g, CPTAxisDelegate* delegate, std::optional<unsigned> xMinorTicks)
{
    CPTXYAxis& x = *ChartPageStyle::axesOf(g).xAxis();
    x.setMajorIntervalLength(Decimal::fromString("5"));
    x.setOrthogonalCoordinateDecimal(Decimal::fromString("0"));
    if (xMinorTicks) {
        x.setMinorTicksPerInterval(*xMinorTicks);
    }
    x.setTitle(Translation::tr(kDays));
    x.setDelegate(delegate);
    x.setTitleOffset(12);
    x.setLabelingOrigin(Decimal::fromInteger(1));
    CPTXYAxis& y = *ChartPageStyle::axesOf(g).yAxis();
    y.setMajorIntervalLength(Decimal::fromString("20"));
    y.setOrthogonalCoordinateDecimal(Decimal::fromString("0"));
    y.setTitle(Translation::fill(_("Traffic, %s"), {"MB"}));
    y.setTitleOffset(25);
    y.setDelegate(delegate);
}

// The label styles are made once, from the first axis that needs them, and shared by every page.
const CPTTextStyle& labelStyle(const CPTAxis& axis, bool negative)
{
    static const auto make = [](const CPTAxis& a, const CPTColor& color) {
        CPTMutableTextStyle s(a.labelTextStyle().value_or(CPTTextStyle::textStyle()));
        s.setColor(color);
        return CPTTextStyle(s);
    };
    static const CPTTextStyle greyStyle = make(axis, ChartPageStyle::grey());
    static const CPTTextStyle redStyle = make(axis, CPTColor::redColor());
    return negative ? redStyle : greyStyle;
}

CPTSize textLayerSize(const CPTGraph& graph, const std::string& text, const CPTTextStyle& style)
{
    return CPTTextLayer::sizeThatFits(graph.textMetrics(), text, style);
}

// The widest and the tallest y label that the axis will ask this page for: whole numbers at its
// major ticks, drawn in the axis's label style.
CPTSize largestYLabel(const CPTXYGraph& graph)
{
    const CPTXYPlotSpace& space = ChartPageStyle::plotSpaceOf(graph);
    const CPTXYAxis& y = *ChartPageStyle::axesOf(graph).yAxis();
    const CPTTextStyle style = y.labelTextStyle().value_or(CPTTextStyle::textStyle());
    CPTTickLocations ticks = CPTTickLocations::fixedInterval(space.yRange(), y.majorIntervalLength(), y.labelingOrigin(), 0);
    ticks.exclude(y.labelExclusionRanges());
    CPTSize largest{0, textLayerSize(graph, "0", style).height};
    for (const Decimal& location : ticks.major) {
        const CPTSize size = textLayerSize(graph, std::to_string(static_cast<long long>(std::trunc(location.toDouble()))), style);
        largest = {std::max(largest.width, size.width), std::max(largest.height, size.height)};
    }
    return largest;
}

}  // namespace

FChartViewController::FChartViewController(Idiom idiom, std::shared_ptr<const CPTTextMetrics> metrics)
    : idiom_(idiom), metrics_(std::move(metrics))
{
    createCharts();
    createBars();
}

FChartViewController::~FChartViewController()
{
    // The hosts observe the graphs; let them go before the graphs do.
    pchartView.setHostedGraph(nullptr);
    pbarView.setHostedGraph(nullptr);
}

void FChartViewController::createCharts()
{
    graphChart = ChartPageStyle::newGraph("Total Traffic", 28, metrics_);
    pchartView.setCollapsesLayers(false);
    pchartView.setHostedGraph(graphChart);
    setUpAxes(*graphChart, this, 4u);
    ChartPageStyle::axesOf(*graphChart).yAxis()->setMinorTicksPerInterval(1);

    auto line = std::make_shared<CPTScatterPlot>();
    CPTMutableLineStyle lineStyle;
    lineStyle.setMiterLimit(1);
    lineStyle.setLineWidth(2);
    lineStyle.setLineColor(CPTColor::colorWithComponentRed(0.341176, 0.470588, 0.137255, 1.0));
    line->setDataLineStyle(lineStyle);
    line->setIdentifier("Blue Plot");
    line->setDataSource(&pLineChartUsed);
    line->setAreaFill(CPTFill::fillWithColor(CPTColor::colorWithComponentRed(0.184314, 0.207843, 0.211765, 1.0)));
    line->setAreaBaseValue(Decimal::fromInteger(0));
    CPTPlotSymbol symbol = CPTPlotSymbol::ellipsePlotSymbol();
    symbol.setSize({6, 6});
    symbol.setFill(CPTFill::fillWithColor(CPTColor::colorWithComponentRed(0.533333, 0.764706, 0.152941, 1.0)));
    CPTMutableLineStyle outline;
    outline.setLineColor(CPTColor::blackColor());
    outline.setLineWidth(1);
    symbol.setLineStyle(outline);
    line->setPlotSymbol(symbol);
    graphChart->addPlot(line);
}

void FChartViewController::createBars()
{
    graphBar = ChartPageStyle::newGraph("Traffic Usage", 30, metrics_);
    pbarView.setHostedGraph(graphBar);
    setUpAxes(*graphBar, this, std::nullopt);
    graphBar->addPlot(ChartPageStyle::bars(CPTColor::colorWithComponentRed(1.0, 0.698039, 0.082353, 1.0),
                                CPTColor::colorWithComponentRed(0.796078, 0.917647, 0.278431, 1.0), 0.5, 0.0,
                                pBarChartUsed, "Bar Plot 1"));
    // A correction is not traffic of its day: drawn beside the day's bar, in a colour of its own.
    graphBar->addPlot(ChartPageStyle::bars(CPTColor::colorWithComponentRed(0.258824, 0.647059, 0.960784, 1.0),
                                CPTColor::colorWithComponentRed(0.552941, 0.803922, 1.0, 1.0), 0.3, 0.4,
                                pCorrectionBars, "Correction Plot"));
    // The free hours' part, over the lower end of its day's bar: not counted as used.
    graphBar->addPlot(ChartPageStyle::bars(CPTColor::colorWithComponentRed(0.584314, 0.427451, 0.858824, 1.0),
                                CPTColor::colorWithComponentRed(0.745098, 0.619608, 0.937255, 1.0), 0.5, 0.0,
                                pFreeBars, "Free Hours Plot"));
    // A daily plan's page: each bar is a whole period, and the plan is marked across them.
    auto plan = std::make_shared<CPTScatterPlot>();
    CPTMutableLineStyle planStyle;
    planStyle.setLineWidth(1.5);
    planStyle.setLineColor(CPTColor::colorWithComponentRed(0.937255, 0.325490, 0.313725, 1.0));
    plan->setDataLineStyle(planStyle);
    plan->setIdentifier("Plan Line");
    plan->setDataSource(&pPlanLine);
    graphBar->addPlot(plan);
}

void FChartViewController::updateInterface(const SharedSummary& summary)
{
    if (summary) {
        shownSummary = summary;
        updateControls();
    }
}

void FChartViewController::updateControls()
{
    updateAxisesforCharts(tag);
    if (shownSummary) {
        if (const MonthTraffic* month = shownSummary->getMonthItemInfoforMonth(tag)) {
            pBarChartUsed.setBarChartData(&month->arrDaysTraffics(), month->date());
            pLineChartUsed.setIntegralChartData(&month->arrDaysTraffics(), month->date(), &month->arrCorrections());
            pCorrectionBars.setCorrectionBarData(month->arrCorrections(), month->date());
            pFreeBars.setFreeBarData(month->arrDaysTraffics(), month->date());
        }
    }
    graphChart->reloadData();
    graphBar->reloadData();
}

void FChartViewController::applyScale(CPTXYGraph& graph, const ChartScale& scale, int days, std::int64_t lowest,
                                      std::uint64_t highest)
{
    CPTXYPlotSpace& space = ChartPageStyle::plotSpaceOf(graph);
    const double usual = static_cast<double>(-(scale.maximum / 50));
    double top = usual + static_cast<double>(scale.maximum);
    double bottom = usual;
    if (lowest < 0) {
        const double divisor = static_cast<double>(scale.divisor == 0 ? 1 : scale.divisor);
        bottom = std::min(bottom, std::floor(static_cast<double>(lowest) / divisor * 1.05));
        // The scale spans both directions; above, only as far as the bars reach.
        top = std::min(top, std::max(static_cast<double>(highest) / divisor * 1.1, static_cast<double>(scale.majorInterval)));
    }
    space.setYRange(CPTPlotRange(Decimal::fromDouble(bottom), Decimal::fromDouble(top - bottom)));
    space.setXRange(CPTPlotRange(Decimal::fromInteger(-1), Decimal::fromInteger(days + 2)));
    const CPTMutableTextStyle titleStyle = ChartPageStyle::textStyle(12);
    CPTXYAxis& x = *ChartPageStyle::axesOf(graph).xAxis();
    x.setTitle(Translation::tr(kDays));
    x.setNeedsRelabel();
    x.setTitleOffset(14);
    x.setTitleLocation(Decimal::fromInteger(29));
    x.setTitleTextStyle(titleStyle);
    CPTXYAxis& y = *ChartPageStyle::axesOf(graph).yAxis();
    y.setTitleTextStyle(titleStyle);
    y.setMajorIntervalLength(Decimal::fromInteger(scale.majorInterval));
    y.setOrthogonalCoordinateDecimal(Decimal::fromString("0"));
    y.setTitle(Translation::fill(_("Traffic, %s"), {scale.unit.value_or("")}));
    y.setMinorTicksPerInterval(scale.minorTicks);
    y.setLabelExclusionRanges({CPTPlotRange(Decimal::fromFloat(-10.0F), Decimal::fromFloat(9.7F))});
}

void FChartViewController::updateAxisesforCharts(int k)
{
    if (!shownSummary) {
        return;
    }
    const MonthTraffic* month = shownSummary->getMonthItemPointerInfoforMonth(k);
    if (month == nullptr) {
        return;
    }
    std::int64_t mostCorrected = 0;
    std::int64_t leastCorrected = 0;
    for (const TrafficCorrection& c : month->arrCorrections()) {
        mostCorrected = std::max(mostCorrected, c.bytes());
        leastCorrected = std::min(leastCorrected, c.bytes());
    }
    const std::uint64_t maxDay = std::max(month->getMaxDayUsedTraffic(), static_cast<std::uint64_t>(mostCorrected));
    const std::uint64_t used = month->getDataUsed();
    const int days = month->pnDaysCount();
    const bool current = static_cast<std::int64_t>(shownSummary->getMonthItemsCount()) - 1 == k;
    const std::uint64_t left = current ? shownSummary->pDataPerDayLeft().value_or(0) : 0;
    pMonthStartDate = month->date();
    monthDays_ = days;

    // Only on a daily plan is a bar a period of its own, to be weighed against the plan.
    const std::optional<PlanFacts>& facts = shownSummary->planFacts();
    const std::uint64_t dailyPlan = facts && facts->kind == PlanShape::Kind::Daily ? facts->plan : 0;
    const std::uint64_t highest = std::max({maxDay, left, dailyPlan});
    // A downward correction: the ticks are chosen for the whole span, below zero and above.
    const ChartScale barScale =
        ChartScale::getChartScale(highest + (leastCorrected < 0 ? static_cast<std::uint64_t>(-leastCorrected) : 0));
    const std::string usedText = FileSize::formatMemoryStringDot1(used);
    const std::string period = month->localMonthPeriod();
    switch (idiom_) {
    case Idiom::Tablet:
        chartTitle_.text = Translation::fill(_("Data Usage Summary\n%s, %s used"), {period, usedText});
        break;
    case Idiom::Phone:
        chartTitle_.text = Translation::fill(_("%s\n%s used"), {period, usedText});
        break;
    case Idiom::Other:
        chartTitle_.text = period;
        break;
    }
    barTitle_.text = Translation::fill(_("Data Usage Daily\n%s"), {period});
    chartTitle_.displacement = idiom_ == Idiom::Phone ? CPTPoint{15, -30} : CPTPoint{0, -30};

    applyScale(*graphBar, barScale, days, leastCorrected, highest);
    pBarChartUsed.pnDiv = barScale.divisor;
    pCorrectionBars.pnDiv = barScale.divisor;
    pFreeBars.pnDiv = barScale.divisor;
    pPlanLine.dataForPlot.clear();
    if (dailyPlan > 0) {
        const double y = static_cast<double>(dailyPlan) / static_cast<double>(barScale.divisor == 0 ? 1 : barScale.divisor);
        pPlanLine.dataForPlot = {{0, y}, {days + 1, y}};
    }
    // A correction below what was counted leaves the line higher before its day than at the end.
    const ChartScale lineScale =
        ChartScale::getChartScale(std::max(used, FChartData::peakOfRunningTotal(month->arrDaysTraffics(), month->arrCorrections())));
    applyScale(*graphChart, lineScale, days);
    pLineChartUsed.pnDiv = lineScale.divisor;
    fitTitles();
}

void FChartViewController::fitTitles()
{
    fitTitle(*graphChart, pchartView.bounds().width(), chartTitle_);
    fitTitle(*graphBar, pbarView.bounds().width(), barTitle_);
}

void FChartViewController::fitTitle(CPTXYGraph& graph, double width, const TitleSpec& wanted)
{
    const CPTXYPlotSpace& space = ChartPageStyle::plotSpaceOf(graph);
    CPTXYAxis& y = *ChartPageStyle::axesOf(graph).yAxis();
    CPTPlotAreaFrame& frame = *graph.plotAreaFrame();
    ChartTitleLayout::Measured m;
    m.graphWidth = width;
    m.paddingRight = frame.paddingRight();
    const double xLength = space.xRange().lengthDouble();
    m.axisFraction =
        xLength > 0 ? (y.orthogonalCoordinateDecimal().toDouble() - space.xRange().locationDouble()) / xLength : 0;
    const CPTSize label = largestYLabel(graph);
    m.widestLabel = label.width;
    m.labelHeight = label.height;
    m.labelOffset = y.labelOffset();
    m.yTitleHeight = textLayerSize(graph, y.title().value_or(""), y.titleTextStyle().value_or(CPTTextStyle::textStyle())).height;
    const CPTTextStyle& titleStyle = graph.titleTextStyle();
    const std::string title =
        width > 0 ? ChartTitleLayout::wrap(wanted.text, width - 2 * std::abs(wanted.displacement.x) - 2,
                                           [&](const std::string& line) { return textLayerSize(graph, line, titleStyle).width; })
                  : wanted.text;
    m.titleHeight = textLayerSize(graph, title, titleStyle).height;
    m.titleDrop = -wanted.displacement.y;
    const ChartTitleLayout layout = ChartTitleLayout::place(m);
    graph.setTitle(title);
    graph.setTitleDisplacement({wanted.displacement.x, -layout.titleDrop});
    y.setTitleOffset(layout.yTitleOffset);
    frame.setPaddingLeft(layout.paddingLeft);
    frame.setPaddingTop(layout.paddingTop);
}

bool FChartViewController::axisShouldUpdateAxisLabelsAtLocations(CPTAxis& axis, const std::set<Decimal>& locations)
{
    const bool dayMode =
        axis.title() == std::optional<std::string>(Translation::tr(kDays)) && pMonthStartDate.has_value();
    CPTAxis::Labels labels;
    for (const Decimal& location : locations) {
        const bool negative = location < Decimal::fromInteger(0);
        const auto whole = static_cast<int>(std::trunc(location.toDouble()));
        std::string text = std::to_string(whole);
        if (dayMode) {
            // Only the period's own days are named; the margins either side stay unlabelled.
            const auto day = ChartDayLabel::dayAt(Calendar::components(*pMonthStartDate), whole, monthDays_);
            if (!day) {
                continue;
            }
            text = std::to_string(*day);
        }
        auto label = std::make_unique<CPTAxisLabel>(text, labelStyle(axis, negative));
        label->setTickLocation(location);
        label->setOffset(axis.labelOffset());
        labels.push_back(std::move(label));
    }
    axis.setAxisLabels(std::move(labels));
    return false;
}

void FChartViewController::layoutInPage(double width, double height)
{
    const double half = std::floor(height / 2.0);
    pchartView.setFrame(CPTRect::make(0, 0, width, half));
    pbarView.setFrame(CPTRect::make(0, half, width, height - half));
    fitTitles();
}

void FChartViewController::setScreenScale(double scale)
{
    pchartView.setScreenScale(scale);
    pbarView.setScreenScale(scale);
}

}  // namespace quorvel
