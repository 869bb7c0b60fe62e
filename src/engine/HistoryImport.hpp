// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/ImportedHistory.hpp"

namespace quorvel {

class CTraffics;

// Merging an imported history into a stored one, without ever counting a day twice: a day in both
// keeps the larger measured amount (whole, with its shares); a correction already there is not
// added again; a month older than the kept day records becomes (or merges into) its month's
// total, the larger kept; a place in both keeps the larger amount. Planned first (for a dry run
// and the summary), then applied as one change.
class HistoryImport {
public:
    enum class Kind { Added, Replaced, KeptRecorded, Same, Folded };
    // One imported day, total or place, and what the merge does with it.
    struct Change {
        Kind kind;
        std::string what;  // "YYYY-MM-DD" of a day, "YYYY-MM" of a total
        std::uint64_t recorded = 0;  // measured bytes (used, for a total) already stored
        std::uint64_t imported = 0;
    };
    // How many of each a plan brings, as its summary names them.
    struct Tally {
        std::size_t daysAdded = 0, daysReplaced = 0, daysKept = 0, daysFolded = 0, totals = 0;
    };
    struct Plan {
        std::vector<Change> days;
        std::vector<Change> totals;
        std::size_t correctionsAdded = 0;
        std::size_t placesChanged = 0;
        std::size_t placesDropped = 0;  // beyond the places kept, the least recently used

        std::vector<ImportedHistory::Day> toReplace;
        std::vector<TrafficCorrection> toAdd;
        std::vector<MonthTotal> toKeep;
        std::optional<std::vector<std::shared_ptr<DeltaTrafficItem>>> places;

        bool changesNothing() const { return toReplace.empty() && toAdd.empty() && toKeep.empty() && !places; }
        Tally tally() const;
    };

    // Why the history cannot be what the file states (a day twice, a date after `today`, a share
    // above its day's bytes, an amount past 2^53); none when it can.
    static std::optional<std::string> refusal(const ImportedHistory& in, LocalDay today);
    static Plan plan(const CTraffics& history, const ImportedHistory& in);
    static void apply(CTraffics& history, const Plan& plan);

private:
    // A month's imported days and corrections summed up, for a month not kept as days.
    struct Fold {
        std::uint64_t charged = 0, free = 0, roaming = 0;
        std::int64_t corrected = 0;
        std::optional<std::uint64_t> plan;
    };
    using Folds = std::map<int, Fold>;

    // The calendar months (YYYYMM) that hold day records once the import is done.
    static std::vector<int> keptMonths(const CTraffics& history, const ImportedHistory& in);
    static void planDays(const CTraffics& history, const ImportedHistory& in, const std::vector<int>& kept,
                         Plan& out, Folds& folded);
    static void planCorrections(const CTraffics& history, const ImportedHistory& in, const std::vector<int>& kept,
                                Plan& out, Folds& folded);
    static void planTotals(const CTraffics& history, const ImportedHistory& in, const Folds& folded,
                           const std::vector<int>& kept, Plan& out);
    static void planPlaces(const CTraffics& history, const ImportedHistory& in, Plan& out);
};

}  // namespace quorvel
