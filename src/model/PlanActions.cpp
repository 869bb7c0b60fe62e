// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PlanActions.hpp"

namespace quorvel {

std::optional<int> PlanActions::stillCut(std::optional<int> cutInPeriod, int periodStart, std::uint64_t used,
                                         std::uint64_t plan)
{
    if (!cutInPeriod || *cutInPeriod != periodStart || used < plan) {
        return std::nullopt;
    }
    return cutInPeriod;
}

PlanActions::CutoffOutcome PlanActions::cutoff(const CutoffInput& in)
{
    CutoffOutcome out{false, stillCut(in.cutInPeriod, in.periodStart, in.used, in.plan)};
    // A plan of 0 is no plan: nothing to reach.
    if (in.switchOn && in.plan > 0 && in.used >= in.plan && !out.cutInPeriod) {
        out.cutNow = true;
        out.cutInPeriod = in.periodStart;
    }
    return out;
}

bool PlanActions::roamingNoticeDue(std::uint64_t roamingToday, int today, std::optional<int> lastNoticeDay)
{
    return roamingToday > 0 && (!lastNoticeDay || *lastNoticeDay != today);
}

}  // namespace quorvel
