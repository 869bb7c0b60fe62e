// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "model/LocalDay.hpp"
#include "model/PlanShape.hpp"

namespace quorvel {

// The billing period a day lies in: the span every figure, alert, chart page and the cut-off
// refer to. One pure function of the plan's shape and the local day; the time zone enters only
// in finding today's local day.
class PlanPeriod {
public:
    static PlanPeriod of(const PlanShape& shape, LocalDay today);
    // The period before this one (for a prepaid plan: itself, it does not renew).
    PlanPeriod previous(const PlanShape& shape) const;

    LocalDay first() const { return first_; }
    LocalDay last() const { return last_; }
    // A prepaid plan whose last day has passed.
    bool expired() const { return expired_; }
    std::int32_t length() const { return static_cast<std::int32_t>(first_.daysUntil(last_) + 1); }
    bool contains(LocalDay d) const { return d >= first_ && d <= last_; }
    // Whole days of the period before today.
    std::int32_t daysUsed(LocalDay today) const;
    // Days from today to the period's end, today included; 0 once it has ended.
    std::int32_t daysLeft(LocalDay today) const;
    // The period's key where one is stored (alerts, the cut-off, rollover): its first day.
    int key() const { return first_.key(); }

private:
    PlanPeriod(LocalDay first, LocalDay last, bool expired) : first_(first), last_(last), expired_(expired) {}
    static PlanPeriod monthly(int s, LocalDay today);

    LocalDay first_;
    LocalDay last_;
    bool expired_;
};

}  // namespace quorvel
