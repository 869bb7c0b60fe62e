// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FTrafficDataInformation.hpp"

#include <algorithm>

namespace quorvel {

void FTrafficDataInformation::setFigures(const UsageFigures& f)
{
    const auto widen = [](std::int32_t days) { return static_cast<std::uint64_t>(std::int64_t{days}); };
    dataPlan_ = f.base.plan;
    dataUsed_ = f.base.used;
    dataLeft_ = f.left;
    daysUsed_ = widen(f.base.daysUsed);
    daysLeft_ = widen(f.base.daysLeft);
    avgDataPerDayUsed_ = f.averagePerDay;
    todayDataUsed_ = f.base.today;
    dataPerDayLeft_ = f.perDayLeft;
    dataEstimation_ = f.estimate;
}

void FTrafficDataInformation::setPeriodDetails(std::uint64_t billStartDay, std::uint64_t roamingUsed)
{
    billStartDay_ = billStartDay;
    roamingUsed_ = roamingUsed;
}

void FTrafficDataInformation::setResults(const TCResult& result, std::optional<LimitResult> findings)
{
    resultStruct_ = result;
    dictionaryResult_ = std::move(findings);
}

void FTrafficDataInformation::setLists(std::optional<Places> places, std::optional<Months> months)
{
    trafficDeltas_ = std::move(places);
    trafficMonthsItems_ = std::move(months);
}

void FTrafficDataInformation::reinitForNewPlan(std::uint64_t plan)
{
    // Only the figures that depend on the plan change; the others stay as the update left them.
    UsageFigures::Base base;
    base.plan = plan;
    base.used = dataUsed_.value_or(0);
    // The field holds a signed count widened; a negative one divides by 1, as none does.
    const auto daysLeft = static_cast<std::int64_t>(daysLeft_.value_or(0));
    base.daysLeft = static_cast<std::int32_t>(std::clamp<std::int64_t>(daysLeft, 0, 366));
    const UsageFigures f = UsageFigures::compute(base);
    dataPlan_ = plan;
    dataLeft_ = f.left;
    dataPerDayLeft_ = f.perDayLeft;
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
    return trafficMonthsItems_ ? trafficMonthsItems_->size() : 0;
}

const MonthTraffic* FTrafficDataInformation::getMonthItemInfoforMonth(std::int64_t i) const
{
    if (!trafficMonthsItems_ || i < 0 || static_cast<std::uint64_t>(i) >= trafficMonthsItems_->size()) {
        return nullptr;
    }
    return (*trafficMonthsItems_)[static_cast<std::size_t>(i)].get();
}

const std::vector<CTrafficPoint>* FTrafficDataInformation::getTrafficPointsforMonth(std::int64_t i) const
{
    const MonthTraffic* m = getMonthItemInfoforMonth(i);
    return m != nullptr ? &m->arrDaysTraffics() : nullptr;
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
