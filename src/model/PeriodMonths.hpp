// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "model/FTrafficDataInformation.hpp"
#include "model/LocalDay.hpp"
#include "model/MonthTraffic.hpp"
#include "model/PlanShape.hpp"

namespace quorvel {

// The chart pages of the kept history: one billing-month record per period of the plan, built
// from the same period every figure is derived from.
class PeriodMonths {
public:
    static constexpr std::size_t kMaxPages = 12;

    // Oldest first, back to the first period the kept days reach; a daily plan's one page is its
    // last 31 days, each bar a period. None without months.
    static FTrafficDataInformation::Months build(const std::vector<std::unique_ptr<MonthTraffic>>& months,
                                                 const PlanShape& shape, LocalDay today, std::uint64_t plan);
};

}  // namespace quorvel
