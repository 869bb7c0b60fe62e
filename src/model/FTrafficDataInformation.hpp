// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/PlanFacts.hpp"
#include "model/DeltaTrafficItem.hpp"
#include "model/TCResult.hpp"
#include "model/LimitResult.hpp"
#include "model/MonthTotal.hpp"
#include "model/MonthTraffic.hpp"
#include "model/SharedSummary.hpp"
#include "model/UsageFigures.hpp"

namespace quorvel {

// The usage summary: every figure the screens show, made by one update and held by the screens
// until the next.
class FTrafficDataInformation {
public:
    // The places are the history's own, shared: the map's change record points at them.
    using Places = std::vector<std::shared_ptr<DeltaTrafficItem>>;
    using Months = std::vector<std::shared_ptr<const MonthTraffic>>;

    const std::optional<std::uint64_t>& pDataPlan() const { return dataPlan_; }
    const std::optional<std::uint64_t>& pDataUsed() const { return dataUsed_; }
    const std::optional<std::uint64_t>& pDataLeft() const { return dataLeft_; }
    const std::optional<std::uint64_t>& pBillStartDay() const { return billStartDay_; }
    const std::optional<std::uint64_t>& pDaysUsed() const { return daysUsed_; }
    const std::optional<std::uint64_t>& pDaysLeft() const { return daysLeft_; }
    const std::optional<std::uint64_t>& pAvgDataPerDayUsed() const { return avgDataPerDayUsed_; }
    const std::optional<std::uint64_t>& pTodayDataUsed() const { return todayDataUsed_; }
    const std::optional<std::uint64_t>& pDataPerDayLeft() const { return dataPerDayLeft_; }
    const std::optional<std::uint64_t>& pDataEstimation() const { return dataEstimation_; }
    const std::optional<std::uint64_t>& pRoamingUsed() const { return roamingUsed_; }  // part of pDataUsed
    // The places, shared with the history (full updates only).
    const std::optional<Places>& parrTrafficDeltas() const { return trafficDeltas_; }
    // Billing months, oldest first (full updates only); a null entry holds no data.
    const std::optional<Months>& parrTrafficMonthsItems() const { return trafficMonthsItems_; }
    const std::optional<TCResult>& pResultStruct() const { return resultStruct_; }
    const std::optional<LimitResult>& pDictionaryResult() const { return dictionaryResult_; }
    const std::optional<PlanFacts>& planFacts() const { return planFacts_; }
    void setPlanFacts(PlanFacts facts) { planFacts_ = std::move(facts); }

    // Fills the period's figures from one update's derived value, all together, so that they
    // always describe one period.
    void setFigures(const UsageFigures& figures);
    // The billing start day and the roaming share of the used figure, of the same period.
    void setPeriodDetails(std::uint64_t billStartDay, std::uint64_t roamingUsed);
    // What the update found: its change record and the limits' findings.
    void setResults(const TCResult& result, std::optional<LimitResult> findings);
    // A full update's lists, or a screen's own copy showing fewer months.
    void setLists(std::optional<Places> places, std::optional<Months> months);
    void setMonths(std::optional<Months> months) { trafficMonthsItems_ = std::move(months); }
    // The last twelve calendar months' totals, oldest first, the current one last (full updates only).
    const std::vector<MonthTotal>& yearTotals() const { return yearTotals_; }
    void setYearTotals(std::vector<MonthTotal> totals) { yearTotals_ = std::move(totals); }
    // The figures that follow the plan at once when the user enters a new one, by the same rules.
    void reinitForNewPlan(std::uint64_t plan);
    // A copy of a shared summary with the plan's figures for `plan` (nothing stays nothing).
    static std::shared_ptr<const FTrafficDataInformation> withNewPlan(
        const std::shared_ptr<const FTrafficDataInformation>& summary, std::uint64_t plan);

    std::size_t getMonthItemsCount() const;
    const MonthTraffic* getMonthItemInfoforMonth(std::int64_t i) const;
    const MonthTraffic* getMonthItemPointerInfoforMonth(std::int64_t i) const { return getMonthItemInfoforMonth(i); }
    const std::vector<CTrafficPoint>* getTrafficPointsforMonth(std::int64_t i) const;
    std::uint64_t getDataUsed(std::int64_t i) const;
    std::uint64_t getMaxDayUsedTraffic(std::int64_t i) const;

private:
    // Byte amounts are unsigned 64-bit, day counts widened to 64 bits.
    std::optional<std::uint64_t> dataPlan_;
    std::optional<std::uint64_t> dataUsed_;
    std::optional<std::uint64_t> dataLeft_;
    std::optional<std::uint64_t> billStartDay_;
    std::optional<std::uint64_t> daysUsed_;
    std::optional<std::uint64_t> daysLeft_;
    std::optional<std::uint64_t> avgDataPerDayUsed_;
    std::optional<std::uint64_t> todayDataUsed_;
    std::optional<std::uint64_t> dataPerDayLeft_;
    std::optional<std::uint64_t> dataEstimation_;
    std::optional<std::uint64_t> roamingUsed_;
    std::optional<Places> trafficDeltas_;
    std::optional<Months> trafficMonthsItems_;
    std::optional<TCResult> resultStruct_;
    std::optional<LimitResult> dictionaryResult_;
    std::optional<PlanFacts> planFacts_;
    std::vector<MonthTotal> yearTotals_;
};

}  // namespace quorvel
