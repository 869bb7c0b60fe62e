// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>

namespace quorvel {

// Every figure of the billing period, derived once per update from its few base amounts. The
// summary, the usage limits, the command line's report and the chart titles read this value
// instead of asking the history again; a plan change derives a new one from the same base.
struct UsageFigures {
    // What the history and the calendar say.
    struct Base {
        std::uint64_t plan = 0;         // bytes for the billing period: the whole allowance
        std::uint64_t used = 0;         // booked in the billing period (free hours not counted)
        std::uint64_t today = 0;        // booked today
        std::int32_t daysUsed = 0;      // days of the period before today
        std::int32_t daysLeft = 1;      // days from today to the period's end, today included
        std::int32_t daysInPeriod = 0;  // days of the whole period
        std::uint64_t forfeited = 0;    // pack bytes that expired unused: spent as if used
        // What the allowance has left when packs make it more than plan − used; none: plan − used.
        std::optional<std::uint64_t> allowanceLeft;
    };

    Base base;
    std::uint64_t left = 0;           // plan − used; 0 once the plan is used up
    std::uint64_t perDayLeft = 0;     // left ÷ days left
    std::uint64_t averagePerDay = 0;  // used ÷ (days used + 1): today counts as a day used
    std::uint64_t estimate = 0;       // the average over the whole period, saturated
    std::uint64_t dayPlan = 0;        // plan ÷ days of the period (30 when that is unknown)

    static UsageFigures compute(const Base& base);
    // What the limits and the cut-off weigh against the plan: the use and the packs' lost bytes.
    std::uint64_t charged() const;
    // What the cut-off weighs against the plan: the charged bytes, and the whole plan once
    // nothing is left (a prepaid plan past its last day, packs lost unused).
    std::uint64_t spent() const;
    // The same period under another plan.
    UsageFigures withPlan(std::uint64_t plan) const;
};

}  // namespace quorvel
