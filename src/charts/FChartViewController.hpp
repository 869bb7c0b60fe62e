#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <set>

#include "charts/ChartScale.hpp"
#include "charts/FChartData.hpp"
#include "plot/CPTAxisDelegate.hpp"
#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTXYGraph.hpp"
#include "platform/Date.hpp"

namespace quorvel {

class FTrafficDataInformation;

// One chart page: a billing month's cumulative graph (line with dots over a filled area) and its
// daily bar graph, both built once and rescaled to the month on every update. Everything here
// is toolkit-free; a window only hosts the two graphs' views and paints them.
class FChartViewController final : public CPTAxisDelegate {
public:
    enum class Idiom { Phone, Tablet, Other };

    explicit FChartViewController(Idiom idiom);  // initWithNibName:bundle: + viewDidLoad
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
    std::shared_ptr<FTrafficDataInformation> pTDIInfo;
    FChartData pBarChartUsed;
    FChartData pLineChartUsed;

    void createCharts();
    void createBars();
    // A new summary: kept and shown.
    void updateInterface(const std::shared_ptr<FTrafficDataInformation>& summary);
    // Rescales the axes to the month, refills both series and reloads both graphs.
    void updateControls();
    void updateAxisesforCharts(int monthIndex);

    // The two graphs placed in a page of that size: the cumulative graph above the daily one.
    void layoutInPage(double width, double height);
    void setScreenScale(double scale);

    bool axisShouldUpdateAxisLabelsAtLocations(CPTAxis& axis, const std::set<Decimal>& locations) override;

private:
    void applyScale(CPTXYGraph& graph, const ChartScale& scale, int days);

    Idiom idiom_;
};

}  // namespace quorvel
