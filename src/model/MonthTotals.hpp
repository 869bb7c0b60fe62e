// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <vector>

#include "model/MonthTotal.hpp"

namespace quorvel {

// The totals of the months whose day records are gone, one per month, oldest first, kept for
// ten years.
class MonthTotals {
public:
    static constexpr int kKeptMonths = 120;

    const std::vector<MonthTotal>& list() const { return totals_; }
    const MonthTotal* find(int monthKey) const;
    // Keeps the month's total; a month already kept keeps the larger of the two. Whether the
    // list changed.
    bool keep(const MonthTotal& total);
    // Forgets the months more than ten years before the month `current` (YYYYMM).
    void forgetOlderThanTenYears(const MonthTotal& current);
    void clear() { totals_.clear(); }
    // The twelve calendar months up to `current`, oldest first: a month of `held` (the months
    // still held as days) as given, else its kept total, else nothing used.
    std::vector<MonthTotal> lastTwelve(const MonthTotal& current, const std::vector<MonthTotal>& held) const;
    // As stored (the decoder's): appended in the given order.
    void restore(const MonthTotal& total) { totals_.push_back(total); }

private:
    std::vector<MonthTotal> totals_;
};

}  // namespace quorvel
