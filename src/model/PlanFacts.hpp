// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "model/LocalDay.hpp"
#include "model/PlanShape.hpp"

namespace quorvel {

// What the summary tells about the plan behind its figures: the shape and period, and the parts
// the allowance is made of.
struct PlanFacts {
    struct Pack {
        std::uint64_t size;
        std::uint64_t left;
        LocalDay first;
        LocalDay last;
    };
    PlanShape::Kind kind = PlanShape::Kind::Monthly;
    LocalDay periodFirst{1970, 1, 1};
    LocalDay periodLast{1970, 1, 1};
    std::uint64_t plan = 0;       // the plan's own size
    std::uint64_t allowance = 0;  // plan + rollover + packs
    std::uint64_t rollover = 0;
    std::vector<Pack> packs;      // the stored packs, in their order
    std::uint64_t freeUsed = 0;   // booked in free hours this period
    bool expired = false;
};

}  // namespace quorvel
