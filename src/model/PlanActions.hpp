// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>

namespace quorvel {

// What Quorvel does on its own when the plan is used up or data is used abroad, as pure
// decisions on the figures of one update. Billing periods and days are day keys
// (DateDay::dayKey).
class PlanActions {
public:
    struct CutoffInput {
        bool switchOn = false;
        std::uint64_t used = 0;  // booked in the billing period
        std::uint64_t plan = 0;
        int periodStart = 0;             // the billing period of this update
        std::optional<int> cutInPeriod;  // the period in which mobile data was last cut off
    };
    struct CutoffOutcome {
        bool cutNow = false;
        std::optional<int> cutInPeriod;  // to be kept for the next update
    };

    // At most once per billing period, once the use reaches the plan, and only with the switch on.
    // An attempt counts whether or not the network manager allowed it, so a refusal is not
    // tried again in the same period.
    static CutoffOutcome cutoff(const CutoffInput& in);

    // The mark of an earlier cut-off, or none when the cut-off may happen again: in a new billing
    // period, or once the use is below the plan (a larger plan, a lower used figure). Mobile data
    // is never turned back on by this; the user does that.
    static std::optional<int> stillCut(std::optional<int> cutInPeriod, int periodStart, std::uint64_t used,
                                       std::uint64_t plan);

    // Whether today's use while roaming is to be told now: once a day, as soon as there is some.
    static bool roamingNoticeDue(std::uint64_t roamingToday, int today, std::optional<int> lastNoticeDay);
};

}  // namespace quorvel
