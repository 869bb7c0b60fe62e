// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// An SQLite database opened read-only, through the SQLite module loaded on first use: only the
// import of another program's database needs libsqlite3, so no other command loads it.
class SqliteDatabase {
public:
    // A result row: each column's text (SQLite's own rendering of numbers), none for NULL.
    using Row = std::vector<std::optional<std::string>>;

    virtual ~SqliteDatabase() = default;
    // The rows of `sql` with its ? parameters bound as text; false with SQLite's reason in `why`
    // (a locked database among them).
    virtual bool query(const std::string& sql, const std::vector<std::string>& params, std::vector<Row>& rows,
                       std::string& why) = 0;

    // Opens `path` read-only, never creating it; null with the reason in `why` (a missing file,
    // or the module not installed).
    static std::unique_ptr<SqliteDatabase> openReadOnly(const std::string& path, std::string& why);
};

// The module's one entry point: fills `db`, or `why`.
using SqliteOpenEntry = void (*)(const std::string& path, std::unique_ptr<SqliteDatabase>& db, std::string& why);
inline constexpr const char* kSqliteOpenEntry = "quorvel_sqlite_open";
inline constexpr const char* kSqliteModuleFile = "quorvel-sqlite.so";

}  // namespace quorvel
