// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "model/CTrafficPoint.hpp"
#include "model/TrafficCorrection.hpp"
#include "plot/CPTPlotDataSource.hpp"
#include "platform/Date.hpp"

namespace quorvel {

// One billing month's day records as plot points: x the day's position in the billing month
// (1 is the month's first day), y its traffic in units of `pnDiv` bytes, daily or cumulative.
// It feeds both plots of a chart page; it knows nothing of axes or drawing.
class FChartData final : public CPTPlotDataSource {
public:
    struct Point {
        int x = 0;
        double y = 0.0;
        friend bool operator==(const Point&, const Point&) = default;
    };
    // Stands for a month entry that holds no data: the series is left as it is.
    struct NullPlaceholder {};

    std::vector<Point> dataForPlot;
    std::optional<std::uint64_t> pnDiv;

    // The daily series; absent days empty it.
    void setBarChartData(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart);
    void setBarChartData(NullPlaceholder, std::optional<Date>) {}  // a null month marker: the series stays
    // The running total, adding each day's quotient separately; a correction is a step on its
    // own day (down when it is negative).
    void setIntegralChartData(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart,
                              const std::vector<TrafficCorrection>* corrections = nullptr);
    void setIntegralChartData(NullPlaceholder, std::optional<Date>) {}  // likewise
    // The part of each day used in the plan's free hours (days without any are left out).
    void setFreeBarData(const std::vector<CTrafficPoint>& days, std::optional<Date> monthStart);
    // The corrections as bars of their own, each at its day (below zero when negative).
    void setCorrectionBarData(const std::vector<TrafficCorrection>& corrections, std::optional<Date> monthStart);

    // The highest the running total of days and corrections (bytes) reaches within the period.
    static std::uint64_t peakOfRunningTotal(const std::vector<CTrafficPoint>& days,
                                            const std::vector<TrafficCorrection>& corrections);

    std::size_t numberOfRecordsForPlot(CPTPlot& plot) override;
    // Field 0 is x (bar location, scatter x); every other field is y.
    std::optional<CPTNumber> numberForPlot(CPTPlot& plot, unsigned field, std::size_t index) override;

    // A day's place on the x axis: 1 for the period's first day.
    static int position(Date day, std::optional<Date> periodStart);

private:
    void build(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart, bool cumulative,
               const std::vector<TrafficCorrection>* corrections);
    double divisor() const;
};

}  // namespace quorvel
