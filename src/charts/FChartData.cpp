// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/FChartData.hpp"

#include <algorithm>
#include <iterator>

#include "model/DateDay.hpp"
#include "model/LocalDay.hpp"
#include "platform/Assert.hpp"

namespace quorvel {

namespace {

// A day of an entered figure's even spread, with nothing measured on it.
bool enteredOnly(const CTrafficPoint& p)
{
    return p.getEnteredTraffic() > 0 && p.getMeasuredTraffic() == 0;
}

}  // namespace

int FChartData::position(Date day, std::optional<Date> periodStart)
{
    // Counted in whole local days from the period's first, so that a period of any length (a
    // 90-day prepaid plan) has each day at its own place.
    return periodStart ? static_cast<int>(LocalDay::of(*periodStart).daysUntil(LocalDay::of(day))) + 1
                       : DateDay::getDayNumber(day);
}

void FChartData::setBarChartData(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart)
{
    build(days, monthStart, false, nullptr);
}

void FChartData::setFreeBarData(const std::vector<CTrafficPoint>& days, std::optional<Date> monthStart)
{
    dataForPlot.clear();
    for (const CTrafficPoint& p : days) {
        if (p.getFreeTraffic() > 0) {
            dataForPlot.push_back(Point{position(p.pDate(), monthStart), static_cast<double>(p.getFreeTraffic()) / divisor()});
        }
    }
}

void FChartData::setIntegralChartData(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart,
                                      const std::vector<TrafficCorrection>* corrections)
{
    build(days, monthStart, true, corrections);
}

void FChartData::setCorrectionBarData(const std::vector<TrafficCorrection>& corrections,
                                      std::optional<Date> monthStart)
{
    dataForPlot.clear();
    for (const TrafficCorrection& c : corrections) {
        dataForPlot.push_back(Point{position(c.date(), monthStart), static_cast<double>(c.bytes()) / divisor()});
    }
}

double FChartData::divisor() const
{
    // The page sets a divisor of at least 1 before it builds; without one the values would be
    // infinite, so an unset divisor counts as 1.
    return static_cast<double>(pnDiv.value_or(1) == 0 ? 1 : pnDiv.value_or(1));
}

void FChartData::build(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart, bool cumulative,
                       const std::vector<TrafficCorrection>* corrections)
{
    dataForPlot.clear();
    if (days == nullptr) {
        return;
    }
    const double div = divisor();
    double sum = 0.0;
    const std::vector<CTrafficPoint>& list = *days;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const CTrafficPoint& p = list[i];
        const int x = position(p.pDate(), monthStart);
        if (!cumulative) {
            // A day's bar is what was measured on it, all of its bytes but an entered share.
            if (!enteredOnly(p)) {
                dataForPlot.push_back(Point{x, static_cast<double>(p.getMeasuredTraffic()) / div});
            }
            continue;
        }
        // The running total is what counts as used. The days of a figure spread at the set-up
        // were never measured: the line takes their sum on the last of them, the day it was
        // entered, rather than climbing through days that only share it out.
        sum += static_cast<double>(p.getChargedTraffic()) / div;
        const bool spreadGoesOn = i + 1 < list.size() && list[i + 1].getEnteredTraffic() > 0;
        if (!(enteredOnly(p) && spreadGoesOn)) {
            dataForPlot.push_back(Point{x, sum});
        }
    }
    if (corrections == nullptr || corrections->empty()) {
        return;
    }
    // Each correction joins the point of its day (one made when the day has none), and every
    // later point carries it.
    for (const TrafficCorrection& c : *corrections) {
        const int x = position(c.date(), monthStart);
        const double step = static_cast<double>(c.bytes()) / div;
        auto at = std::find_if(dataForPlot.begin(), dataForPlot.end(), [x](const Point& p) { return p.x >= x; });
        if (at == dataForPlot.end() || at->x != x) {
            const double before = at == dataForPlot.begin() ? 0.0 : std::prev(at)->y;
            at = dataForPlot.insert(at, Point{x, before});
        }
        for (; at != dataForPlot.end(); ++at) {
            at->y += step;
        }
    }
}

std::uint64_t FChartData::peakOfRunningTotal(const std::vector<CTrafficPoint>& days,
                                             const std::vector<TrafficCorrection>& corrections)
{
    // Day by day, each day's correction after its bytes: the total a correction lowers was reached first.
    std::vector<std::pair<int, std::int64_t>> steps;
    for (const CTrafficPoint& p : days) {
        steps.emplace_back(DateDay::dayKey(p.pDate()) * 2, static_cast<std::int64_t>(p.getChargedTraffic()));
    }
    for (const TrafficCorrection& c : corrections) {
        steps.emplace_back(DateDay::dayKey(c.date()) * 2 + 1, c.bytes());
    }
    std::stable_sort(steps.begin(), steps.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::int64_t total = 0;
    std::int64_t peak = 0;
    for (const auto& [when, bytes] : steps) {
        total += bytes;
        peak = std::max(peak, total);
    }
    return static_cast<std::uint64_t>(peak);
}

std::size_t FChartData::numberOfRecordsForPlot(CPTPlot&)
{
    return dataForPlot.size();
}

std::optional<CPTNumber> FChartData::numberForPlot(CPTPlot&, unsigned field, std::size_t index)
{
    QV_REQUIRE(index < dataForPlot.size(), "a plot asked for a record beyond the count it was given");
    const Point& p = dataForPlot[index];
    return field == 0 ? CPTNumber(p.x) : CPTNumber(p.y);
}

}  // namespace quorvel
