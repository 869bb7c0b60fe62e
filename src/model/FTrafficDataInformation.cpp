#include "model/FTrafficDataInformation.hpp"

namespace quorvel {

void FTrafficDataInformation::reinitForNewPlan(std::uint64_t plan)
{
    pDataPlan = plan;
    const auto daysLeft = static_cast<std::int64_t>(pDaysLeft.value_or(0));
    const std::uint64_t used = pDataUsed.value_or(0);
    const std::uint64_t left = used < plan ? plan - used : 0;
    pDataLeft = left;
    pDataPerDayLeft = left / static_cast<std::uint64_t>(daysLeft > 0 ? daysLeft : 1);
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
