#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/DeltaTrafficItem.hpp"
#include "model/TCResult.hpp"
#include "model/LimitResult.hpp"
#include "model/MonthTraffic.hpp"
#include "model/UsageFigures.hpp"

namespace quorvel {

// The usage summary: every figure the screens show, made by one update and held by the screens
// until the next. Byte amounts are unsigned 64-bit, day counts widened to 64 bits.
class FTrafficDataInformation {
public:
    std::optional<std::uint64_t> pDataPlan;
    std::optional<std::uint64_t> pDataUsed;
    std::optional<std::uint64_t> pDataLeft;
    std::optional<std::uint64_t> pBillStartDay;
    std::optional<std::uint64_t> pDaysUsed;
    std::optional<std::uint64_t> pDaysLeft;
    std::optional<std::uint64_t> pAvgDataPerDayUsed;
    std::optional<std::uint64_t> pTodayDataUsed;
    std::optional<std::uint64_t> pDataPerDayLeft;
    std::optional<std::uint64_t> pDataEstimation;
    std::optional<std::uint64_t> pRoamingUsed;  // the part of pDataUsed used while roaming
    // The places, shared with the history (full updates only).
    std::optional<std::vector<std::shared_ptr<DeltaTrafficItem>>> parrTrafficDeltas;
    // Billing months, oldest first (full updates only); a null entry holds no data.
    std::optional<std::vector<std::shared_ptr<MonthTraffic>>> parrTrafficMonthsItems;
    std::optional<TCResult> pResultStruct;
    std::optional<LimitResult> pDictionaryResult;

    // Fills the figures above from one update's derived value.
    void setFigures(const UsageFigures& figures);
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
};

// Screens and front ends share one summary read-only; one that needs other figures makes its own copy.
using SharedSummary = std::shared_ptr<const FTrafficDataInformation>;

}  // namespace quorvel
