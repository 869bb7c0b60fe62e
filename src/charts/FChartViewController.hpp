// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "charts/ChartScale.hpp"
#include "charts/FChartData.hpp"
#include "plot/CPTAxisDelegate.hpp"
#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTXYGraph.hpp"
#include "platform/Date.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

class CPTTextMetrics;

// One chart page: a billing month's cumulative graph (line with dots over a filled area) and its
// daily bar graph, both built once and rescaled to the month on every update. Everything here
// is toolkit-free; a window only hosts the two graphs' views and paints them.
class FChartViewController final : public CPTAxisDelegate {
public:
    enum class Idiom { Phone, Tablet, Other };

    // Texts are measured with `metrics` (none: the fixed ones), as they will be drawn.
    explicit FChartViewController(Idiom idiom, std::shared_ptr<const CPTTextMetrics> metrics = nullptr);
    ~FChartViewController() override;
    FChartViewController(const FChartViewController&) = delete;
    FChartViewController& operator=(const FChartViewController&) = delete;

    // The page's month index within the summary's billing months (its view's tag).
    int tag = 0;
    std::shared_ptr<CPTXYGraph> graphChart;
    std::shared_ptr<CPTXYGraph> graphBar;
    CPTGraphHostingView pchartView;
    CPTGraphHostingView pbarView;
    std::optional<Date> pMonthStartDate;
    SharedSummary shownSummary;
    FChartData pBarChartUsed;
    FChartData pLineChartUsed;
    // The period's corrections: bars of their own colour beside the daily bars.
    FChartData pCorrectionBars;
    FChartData pFreeBars;
    FChartData pPlanLine;  // a daily plan's size, across its page

    void createCharts();
    void createBars();
    // A new summary: kept and shown.
    void updateInterface(const SharedSummary& summary);
    // Rescales the axes to the month, refills both series and reloads both graphs.
    void updateControls();
    void updateAxisesforCharts(int monthIndex);

    // The two graphs placed in a page of that size: the cumulative graph above the daily one.
    void layoutInPage(double width, double height);
    void setScreenScale(double scale);
    // Places both graphs' titles from their measured text at the hosts' current widths; call
    // after a host's size changes (the page's own updates and layoutInPage do it themselves).
    void fitTitles();

    bool axisShouldUpdateAxisLabelsAtLocations(CPTAxis& axis, const std::set<Decimal>& locations) override;

private:
    // A graph's title as the page words it, before it is wrapped to fit, and its least displacement.
    struct TitleSpec {
        std::string text;
        CPTPoint displacement;
    };

    // `lowest` (bytes, 0 or negative) lowers the y range to show a downward correction, and
    // `highest` (bytes) then bounds it above instead of the scale's own maximum.
    void applyScale(CPTXYGraph& graph, const ChartScale& scale, int days, std::int64_t lowest = 0,
                    std::uint64_t highest = 0);
    static void fitTitle(CPTXYGraph& graph, double width, const TitleSpec& wanted);

    Idiom idiom_;
    std::shared_ptr<const CPTTextMetrics> metrics_;
    int monthDays_ = 0;  // length of the period that pMonthStartDate begins
    TitleSpec chartTitle_{"Total Traffic", {0, -20}};
    TitleSpec barTitle_{"Traffic Usage", {0, -20}};
};

}  // namespace quorvel
