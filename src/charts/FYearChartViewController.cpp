// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/FYearChartViewController.hpp"

#include <algorithm>
#include <cmath>

#include "charts/ChartPageStyle.hpp"
#include "charts/ChartScale.hpp"
#include "model/DateDay.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/FileSize.hpp"
#include "plot/CPTAxisLabel.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTXYAxis.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

// The first `count` characters of a UTF-8 text ("Fév", not half of its "é"), the first a
// capital: a label stands alone even where the language writes its months in lower case.
std::string firstLetters(const std::string& text, std::size_t count)
{
    std::size_t end = 0;
    std::size_t letters = 0;
    while (end < text.size()) {
        const bool starts = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
        if (starts && letters == count) {
            break;
        }
        letters += starts ? 1 : 0;
        ++end;
    }
    std::string out = text.substr(0, end);
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') {
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
    }
    return out;
}

const char* const kMonths = N_("Months");
constexpr double kWideEnough = 560;  // points: twelve three-letter names side by side

}  // namespace

FYearChartViewController::FYearChartViewController(std::shared_ptr<const CPTTextMetrics> metrics)
{
    graph = ChartPageStyle::newGraph("Last 12 Months", 44, metrics);
    view.setHostedGraph(graph);
    CPTXYAxis& x = *ChartPageStyle::axesOf(*graph).xAxis();
    x.setMajorIntervalLength(Decimal::fromInteger(1));
    x.setOrthogonalCoordinateDecimal(Decimal::fromInteger(0));
    x.setTitle(Translation::tr(kMonths));
    x.setTitleOffset(26);
    x.setMinorTicksPerInterval(0);
    x.setTitleTextStyle(ChartPageStyle::textStyle(12));
    x.setLabelingOrigin(Decimal::fromInteger(1));
    x.setDelegate(this);
    CPTXYAxis& y = *ChartPageStyle::axesOf(*graph).yAxis();
    y.setOrthogonalCoordinateDecimal(Decimal::fromString("0.4"));
    y.setTitleOffset(25);
    y.setTitleTextStyle(ChartPageStyle::textStyle(12));
    y.setDelegate(this);
    graph->addPlot(ChartPageStyle::bars(CPTColor::colorWithComponentRed(1.0, 0.698039, 0.082353, 1.0),
                                        CPTColor::colorWithComponentRed(0.796078, 0.917647, 0.278431, 1.0), 0.6, 0.0,
                                        bars, "Month Bars"));
    ChartPageStyle::plotSpaceOf(*graph).setXRange(CPTPlotRange(Decimal::fromString("0.4"), Decimal::fromInteger(13)));
}

FYearChartViewController::~FYearChartViewController()
{
    view.setHostedGraph(nullptr);  // the host observes the graph; it goes first
}

void FYearChartViewController::updateInterface(const SharedSummary& summary)
{
    if (!summary || summary->yearTotals().empty()) {
        return;
    }
    months_ = summary->yearTotals();
    std::uint64_t highest = 0;
    std::uint64_t sum = 0;
    for (const MonthTotal& m : months_) {
        highest = std::max(highest, m.used());
        sum += m.used();
    }
    const ChartScale scale = ChartScale::getChartScale(highest);
    const double divisor = static_cast<double>(scale.divisor == 0 ? 1 : scale.divisor);
    bars.pnDiv = scale.divisor;
    bars.dataForPlot.clear();
    for (std::size_t i = 0; i < months_.size(); ++i) {
        bars.dataForPlot.push_back({static_cast<int>(i) + 1, static_cast<double>(months_[i].used()) / divisor});
    }
    const double top = static_cast<double>(scale.maximum);
    const double bottom = -top / 50;
    ChartPageStyle::plotSpaceOf(*graph).setYRange(CPTPlotRange(Decimal::fromDouble(bottom), Decimal::fromDouble(top - bottom)));
    CPTXYAxis& y = *ChartPageStyle::axesOf(*graph).yAxis();
    y.setMajorIntervalLength(Decimal::fromInteger(scale.majorInterval));
    y.setMinorTicksPerInterval(scale.minorTicks);
    y.setTitle(Translation::fill(_("Traffic, %s"), {scale.unit.value_or("")}));
    ChartPageStyle::axesOf(*graph).xAxis()->setNeedsRelabel();
    graph->setTitle(Translation::fill(_("Last 12 Months\n%s used"), {FileSize::formatMemoryStringDot1(sum)}));
    graph->setTitleDisplacement({0, -30});
    ChartPageStyle::axesOf(*graph).xAxis()->setTitleLocation(Decimal::fromString("6.5"));
    graph->reloadData();
}

void FYearChartViewController::layoutInPage(double width, double height)
{
    view.setFrame(CPTRect::make(0, 0, width, height));
    graph->plotAreaFrame()->setPaddingTop(60);
}

bool FYearChartViewController::axisShouldUpdateAxisLabelsAtLocations(CPTAxis& axis, const std::set<Decimal>& locations)
{
    const bool monthAxis = axis.title() == std::optional<std::string>(Translation::tr(kMonths));
    CPTAxis::Labels labels;
    for (const Decimal& location : locations) {
        const auto whole = static_cast<int>(std::trunc(location.toDouble()));
        std::string text = std::to_string(whole);
        if (monthAxis) {
            // Only the twelve bars are named: by their month's first three letters, or on a
            // narrow page its first one.
            if (whole < 1 || whole > static_cast<int>(months_.size())) {
                continue;
            }
            const std::size_t letters = view.bounds().width() >= kWideEnough ? 3 : 1;
            text = firstLetters(DateDay::localMonthName(months_[static_cast<std::size_t>(whole) - 1].month()), letters);
        } else if (whole < 0) {
            continue;
        }
        CPTMutableTextStyle style(axis.labelTextStyle().value_or(CPTTextStyle::textStyle()));
        style.setColor(ChartPageStyle::grey());
        auto label = std::make_unique<CPTAxisLabel>(text, CPTTextStyle(style));
        label->setTickLocation(location);
        label->setOffset(axis.labelOffset());
        labels.push_back(std::move(label));
    }
    axis.setAxisLabels(std::move(labels));
    return false;
}

}  // namespace quorvel
