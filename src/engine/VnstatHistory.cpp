// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/VnstatHistory.hpp"

#include <charconv>

#include "platform/ArchiveDecoder.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

std::optional<std::uint64_t> count(const std::optional<std::string>& text)
{
    std::uint64_t n = 0;
    if (!text || text->empty()) {
        return std::nullopt;
    }
    const auto r = std::from_chars(text->data(), text->data() + text->size(), n);
    if (r.ec != std::errc() || r.ptr != text->data() + text->size() || n > ArchiveDecoder::kMaxByteCount) {
        return std::nullopt;
    }
    return n;
}

}  // namespace

std::string VnstatHistory::read(const std::string& path, const std::optional<std::string>& name, ImportedHistory& into)
{
    std::string why;
    const std::unique_ptr<SqliteDatabase> db = SqliteDatabase::openReadOnly(path, why);
    if (!db) {
        return Translation::fill(_("it cannot be opened: %s"), {why});
    }
    if (std::string wrong = checkSchema(*db); !wrong.empty()) {
        return wrong;
    }
    std::string id;
    if (std::string wrong = chooseInterface(*db, name, id); !wrong.empty()) {
        return wrong;
    }
    into.sharesKnown = false;  // vnStat counts bytes, not what was entered or roamed
    if (std::string wrong = readDays(*db, id, into); !wrong.empty()) {
        return wrong;
    }
    return readMonths(*db, id, into);
}

std::string VnstatHistory::checkSchema(SqliteDatabase& db)
{
    std::vector<SqliteDatabase::Row> rows;
    std::string why;
    if (!db.query("SELECT value FROM info WHERE name = 'dbversion'", {}, rows, why)) {
        return Translation::fill(_("it is not a vnStat database (%s)"), {why});
    }
    if (rows.size() != 1 || rows[0].size() != 1 || rows[0][0] != std::optional<std::string>("1")) {
        const std::string version = rows.empty() || !rows[0][0] ? std::string("none") : *rows[0][0];
        return Translation::fill(_("it is a vnStat database of version %s, not 1 (vnStat 2)"), {version});
    }
    // The columns read below, all present: a query naming them fails on another schema.
    for (const char* table : {"day", "month"}) {
        rows.clear();
        if (!db.query(std::string("SELECT interface, date, rx, tx FROM ") + table + " LIMIT 0", {}, rows, why)) {
            return Translation::fill(_("its table %s is not vnStat's (%s)"), {table, why});
        }
    }
    return {};
}

std::vector<std::string> VnstatHistory::interfaceNames(const std::string& path)
{
    std::string why;
    std::vector<SqliteDatabase::Row> rows;
    const std::unique_ptr<SqliteDatabase> db = SqliteDatabase::openReadOnly(path, why);
    if (!db || !checkSchema(*db).empty() || !db->query("SELECT name FROM interface ORDER BY name", {}, rows, why)) {
        return {};
    }
    std::vector<std::string> names;
    for (const SqliteDatabase::Row& r : rows) {
        if (r.size() == 1 && r[0]) {
            names.push_back(*r[0]);
        }
    }
    return names;
}

std::string VnstatHistory::chooseInterface(SqliteDatabase& db, const std::optional<std::string>& name, std::string& id)
{
    std::vector<SqliteDatabase::Row> rows;
    std::string why;
    if (!db.query("SELECT id, name FROM interface ORDER BY name", {}, rows, why)) {
        return Translation::fill(_("its interfaces cannot be read (%s)"), {why});
    }
    std::string names;
    for (const SqliteDatabase::Row& r : rows) {
        if (r.size() != 2 || !r[0] || !r[1]) {
            return _("an interface in it has no id or no name");
        }
        names += (names.empty() ? "" : ", ") + *r[1];
        if (name && *r[1] == *name) {
            id = *r[0];
        }
    }
    if (rows.empty()) {
        return _("it counts no interface");
    }
    if (!name && rows.size() > 1) {
        return Translation::fill(_("it counts several interfaces (%s): name one with --interface"), {names});
    }
    if (!name) {
        id = *rows[0][0];
    }
    return id.empty() ? Translation::fill(_("it has no interface %s (it has %s)"), {*name, names}) : std::string();
}

std::optional<std::uint64_t> VnstatHistory::bytesOf(const SqliteDatabase::Row& row)
{
    const std::optional<std::uint64_t> rx = count(row.at(1));
    const std::optional<std::uint64_t> tx = count(row.at(2));
    if (!rx || !tx || *rx + *tx > ArchiveDecoder::kMaxByteCount) {
        return std::nullopt;
    }
    return *rx + *tx;
}

std::string VnstatHistory::rowsOf(SqliteDatabase& db, const char* table, const std::string& id,
                              std::vector<SqliteDatabase::Row>& rows)
{
    std::string why;
    if (!db.query(std::string("SELECT date, rx, tx FROM ") + table + " WHERE interface = ? ORDER BY date", {id}, rows,
                  why)) {
        return Translation::fill(_("its table %s cannot be read (%s)"), {table, why});
    }
    return {};
}

std::string VnstatHistory::readDays(SqliteDatabase& db, const std::string& id, ImportedHistory& into)
{
    std::vector<SqliteDatabase::Row> rows;
    if (std::string wrong = rowsOf(db, "day", id, rows); !wrong.empty()) {
        return wrong;
    }
    for (const SqliteDatabase::Row& r : rows) {
        const std::optional<LocalDay> day = r.at(0) ? LocalDay::parse(*r[0]) : std::nullopt;
        const std::optional<std::uint64_t> bytes = bytesOf(r);
        if (!day || !bytes) {
            return Translation::fill(_("the day %s is not a date with counts of bytes from 0 to 2^53"),
                                     {r.at(0).value_or("(none)")});
        }
        into.days.push_back({*day, CTrafficPoint::withShares(day->noon(), *bytes, 0, 0, 0), std::nullopt});
    }
    return {};
}

std::string VnstatHistory::readMonths(SqliteDatabase& db, const std::string& id, ImportedHistory& into)
{
    std::vector<SqliteDatabase::Row> rows;
    if (std::string wrong = rowsOf(db, "month", id, rows); !wrong.empty()) {
        return wrong;
    }
    for (const SqliteDatabase::Row& r : rows) {
        // A month is dated by its first day.
        const std::string date = r.at(0).value_or("");
        const std::optional<MonthTotal> month =
            date.size() == 10 && date.ends_with("-01") ? MonthTotal::parseMonth(date.substr(0, 7)) : std::nullopt;
        const std::optional<std::uint64_t> bytes = bytesOf(r);
        if (!month || !bytes) {
            return Translation::fill(_("the month %s is not a month's first day with counts of bytes from 0 to 2^53"),
                                     {r.at(0).value_or("(none)")});
        }
        into.totals.emplace_back(month->year(), month->month(), *bytes, 0, 0, std::nullopt);
    }
    return {};
}

}  // namespace quorvel
