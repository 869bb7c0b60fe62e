// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "model/ImportedHistory.hpp"
#include "platform/SqliteDatabase.hpp"

namespace quorvel {

// vnStat's database (version 1: tables info, interface, day, month) read as a history: one
// interface's days, received plus sent bytes each, and its months' totals for the months older
// than the days the history keeps. Opened read-only; never written.
class VnstatHistory {
public:
    static constexpr const char* kDefaultDatabase = "/var/lib/vnstat/vnstat.db";

    // Reads `path`'s interface `name` (the only one when none is given) into `into`; the
    // reason when the database cannot be read as one of vnStat, else empty.
    static std::string read(const std::string& path, const std::optional<std::string>& name, ImportedHistory& into);

    // The names of the interfaces `path` counts, in name order; none when it cannot be read as
    // vnStat's (the read then says why).
    static std::vector<std::string> interfaceNames(const std::string& path);

private:
    static std::string checkSchema(SqliteDatabase& db);
    static std::string chooseInterface(SqliteDatabase& db, const std::optional<std::string>& name, std::string& id);
    // The rows (date, rx, tx) of `table` for the interface `id`, in date order.
    static std::string rowsOf(SqliteDatabase& db, const char* table, const std::string& id,
                              std::vector<SqliteDatabase::Row>& rows);
    static std::string readDays(SqliteDatabase& db, const std::string& id, ImportedHistory& into);
    static std::string readMonths(SqliteDatabase& db, const std::string& id, ImportedHistory& into);
    // A row's rx + tx as bytes up to 2^53; none when either is not such a count.
    static std::optional<std::uint64_t> bytesOf(const SqliteDatabase::Row& row);
};

}  // namespace quorvel
