// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "charts/FChartData.hpp"
#include "model/MonthTotal.hpp"
#include "model/SharedSummary.hpp"
#include "plot/CPTAxisDelegate.hpp"
#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTXYGraph.hpp"

namespace quorvel {

class CPTTextMetrics;

// The chart tab's year page: the last twelve calendar months' used data as bars, each named by
// its month, the current month last. Toolkit-free, like the month pages.
class FYearChartViewController final : public CPTAxisDelegate {
public:
    explicit FYearChartViewController(std::shared_ptr<const CPTTextMetrics> metrics = nullptr);
    ~FYearChartViewController() override;
    FYearChartViewController(const FYearChartViewController&) = delete;
    FYearChartViewController& operator=(const FYearChartViewController&) = delete;

    std::shared_ptr<CPTXYGraph> graph;
    CPTGraphHostingView view;
    FChartData bars;  // x 1..12, y the month's used data in the scale's unit

    // A new summary: its year's totals shown (a summary without them leaves the page as it is).
    void updateInterface(const SharedSummary& summary);
    const std::vector<MonthTotal>& shownMonths() const { return months_; }
    void layoutInPage(double width, double height);

    bool axisShouldUpdateAxisLabelsAtLocations(CPTAxis& axis, const std::set<Decimal>& locations) override;

private:
    std::vector<MonthTotal> months_;
};

}  // namespace quorvel
