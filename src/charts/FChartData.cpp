#include "charts/FChartData.hpp"

#include "model/DateDay.hpp"
#include "platform/Assert.hpp"

namespace quorvel {

void FChartData::setBarChartData(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart)
{
    build(days, monthStart, false);
}

void FChartData::setIntegralChartData(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart)
{
    build(days, monthStart, true);
}

void FChartData::build(const std::vector<CTrafficPoint>* days, std::optional<Date> monthStart, bool cumulative)
{
    dataForPlot.clear();
    if (days == nullptr) {
        return;
    }
    const int startDay = monthStart ? DateDay::getDayNumber(*monthStart) : 1;
    // The page sets a divisor of at least 1 before it builds; without one the values would be
    // infinite, so an unset divisor counts as 1.
    const double divisor = static_cast<double>(pnDiv.value_or(1) == 0 ? 1 : pnDiv.value_or(1));
    double sum = 0.0;
    for (const CTrafficPoint& p : *days) {
        const double y = static_cast<double>(p.getTotalTraffic()) / divisor;
        sum += y;
        dataForPlot.push_back(Point{DateDay::getDayNumberFromMonthDay(p.pDate, startDay), cumulative ? sum : y});
    }
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
