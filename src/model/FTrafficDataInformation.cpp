#include "model/FTrafficDataInformation.hpp"

#include <algorithm>

namespace quorvel {

void FTrafficDataInformation::setFigures(const UsageFigures& f)
{
    const auto widen = [](std::int32_t days) { return static_cast<std::uint64_t>(std::int64_t{days}); };
    pDataPlan = f.base.plan;
    pDataUsed = f.base.used;
    pDataLeft = f.left;
    pDaysUsed = widen(f.base.daysUsed);
    pDaysLeft = widen(f.base.daysLeft);
    pAvgDataPerDayUsed = f.averagePerDay;
    pTodayDataUsed = f.base.today;
    pDataPerDayLeft = f.perDayLeft;
    pDataEstimation = f.estimate;
}

void FTrafficDataInformation::reinitForNewPlan(std::uint64_t plan)
{
    // Only the figures that depend on the plan change; the others stay as the update left them.
    UsageFigures::Base base;
    base.plan = plan;
    base.used = pDataUsed.value_or(0);
    // The field holds a signed count widened; a negative one divides by 1, as none does.
    const auto daysLeft = static_cast<std::int64_t>(pDaysLeft.value_or(0));
    base.daysLeft = static_cast<std::int32_t>(std::clamp<std::int64_t>(daysLeft, 0, 366));
    const UsageFigures f = UsageFigures::compute(base);
    pDataPlan = plan;
    pDataLeft = f.left;
    pDataPerDayLeft = f.perDayLeft;
}

std::shared_ptr<const FTrafficDataInformation> FTrafficDataInformation::withNewPlan(
    const std::shared_ptr<const FTrafficDataInformation>& summary, std::uint64_t plan)
{
    if (!summary) {
        return nullptr;
    }
    auto copy = std::make_shared<FTrafficDataInformation>(*summary);
    copy->reinitForNewPlan(plan);
    return copy;
}

std::size_t FTrafficDataInformation::getMonthItemsCount() const
{
    return parrTrafficMonthsItems ? parrTrafficMonthsItems->size() : 0;
}

const MonthTraffic* FTrafficDataInformation::getMonthItemInfoforMonth(std::int64_t i) const
{
    if (!parrTrafficMonthsItems || i < 0 || static_cast<std::uint64_t>(i) >= parrTrafficMonthsItems->size()) {
        return nullptr;
    }
    return (*parrTrafficMonthsItems)[static_cast<std::size_t>(i)].get();
}

const std::vector<CTrafficPoint>* FTrafficDataInformation::getTrafficPointsforMonth(std::int64_t i) const
{
    const MonthTraffic* m = getMonthItemInfoforMonth(i);
    return m != nullptr ? &m->arrDaysTraffics : nullptr;
}

std::uint64_t FTrafficDataInformation::getDataUsed(std::int64_t i) const
{
    const MonthTraffic* m = getMonthItemInfoforMonth(i);
    return m != nullptr ? m->getDataUsed() : 0;
}

std::uint64_t FTrafficDataInformation::getMaxDayUsedTraffic(std::int64_t i) const
{
    const MonthTraffic* m = getMonthItemInfoforMonth(i);
    return m != nullptr ? m->getMaxDayUsedTraffic() : 0;
}

}  // namespace quorvel
