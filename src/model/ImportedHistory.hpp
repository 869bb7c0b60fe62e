// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "model/CTrafficPoint.hpp"
#include "model/DeltaTrafficItem.hpp"
#include "model/LocalDay.hpp"
#include "model/MonthTotal.hpp"
#include "model/TrafficCorrection.hpp"

namespace quorvel {

// What a file brings to a history: days, corrections, places and old months' totals, as read
// and checked for form, before anything is merged.
struct ImportedHistory {
    // A day record read from a file, with the plan its month had there (none: the plan in force).
    struct Day {
        LocalDay day;
        CTrafficPoint point;
        std::optional<std::uint64_t> plan;
    };

    std::vector<Day> days;
    std::vector<TrafficCorrection> corrections;
    std::vector<DeltaTrafficItem> places;
    std::vector<MonthTotal> totals;
    // False when the file states only each day's bytes (CSV, vnStat): no share of them is known
    // to be entered, so a day already stored is compared by its bytes alone.
    bool sharesKnown = true;
};

}  // namespace quorvel
