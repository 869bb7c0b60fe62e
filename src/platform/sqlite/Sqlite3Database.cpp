// SPDX-License-Identifier: GPL-3.0-or-later
// The SQLite module: libsqlite3 behind SqliteDatabase, read-only.
#include <sqlite3.h>

#include "platform/SqliteDatabase.hpp"

namespace quorvel {

namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

class Sqlite3Database final : public SqliteDatabase {
public:
    explicit Sqlite3Database(sqlite3* db) : db_(db) {}

    bool query(const std::string& sql, const std::vector<std::string>& params, std::vector<Row>& rows,
               std::string& why) override
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) {
            why = sqlite3_errmsg(db_.get());
            return false;
        }
        const std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(raw);
        for (std::size_t i = 0; i < params.size(); ++i) {
            sqlite3_bind_text(raw, static_cast<int>(i) + 1, params[i].c_str(), static_cast<int>(params[i].size()),
                              SQLITE_TRANSIENT);
        }
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
            Row row;
            for (int c = 0; c < sqlite3_column_count(raw); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, c));
                row.push_back(text != nullptr ? std::optional<std::string>(text) : std::nullopt);
            }
            rows.push_back(std::move(row));
        }
        if (step != SQLITE_DONE) {
            why = sqlite3_errmsg(db_.get());
            return false;
        }
        return true;
    }

private:
    std::unique_ptr<sqlite3, CloseDatabase> db_;
};

}  // namespace

}  // namespace quorvel

extern "C" __attribute__((visibility("default"))) void quorvel_sqlite_open(
    const std::string& path, std::unique_ptr<quorvel::SqliteDatabase>& db, std::string& why)
{
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, quorvel::CloseDatabase> handle(raw);
    if (opened != SQLITE_OK) {
        why = raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(opened);
        return;
    }
    // A writer (vnStat's daemon saving) holds the lock only briefly: wait for it a little.
    sqlite3_busy_timeout(raw, 500);
    db = std::make_unique<quorvel::Sqlite3Database>(handle.release());
}
