// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "model/AddonPack.hpp"
#include "model/PlanPeriod.hpp"

namespace quorvel {

// What a period may use and what is left of it: the plan, the rollover the period before left
// over, and the packs valid in it. Each day's bytes go first to the packs valid that day (the
// one that expires first before the others), then to the rollover, then to the plan; what a pack
// has not used when it expires is gone. Pure arithmetic on the day amounts it is given.
class Allowance {
public:
    struct DayUse {
        LocalDay day;
        std::int64_t bytes;  // a correction may be negative
    };
    struct Input {
        std::uint64_t plan = 0;
        std::uint64_t rollover = 0;
        PlanPeriod period;
        LocalDay today;
        std::vector<AddonPack> packs;
        // Charged bytes per day, in day order, from the earliest pack's first day on.
        std::vector<DayUse> use;
    };
    struct Result {
        std::uint64_t allowance = 0;      // plan + rollover + what the packs brought into the period
        std::uint64_t used = 0;           // charged bytes of the period
        std::uint64_t left = 0;           // what can still be used today
        std::uint64_t forfeited = 0;      // pack bytes that expired unused within the period
        std::uint64_t planUsed = 0;       // of the plan itself (may exceed it)
        std::uint64_t rolloverLeft = 0;
        std::vector<std::uint64_t> packLeft;  // per pack, in the input's order
        // The plan's own unused part: what the period gives as rollover once it has ended.
        std::uint64_t planLeft() const { return planUsed < plan ? plan - planUsed : 0; }
        std::uint64_t plan = 0;
    };

    static Result compute(const Input& in);
};

}  // namespace quorvel
