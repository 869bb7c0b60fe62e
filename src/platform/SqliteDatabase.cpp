// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SqliteDatabase.hpp"

#include "platform/LoadableModule.hpp"

namespace quorvel {

std::unique_ptr<SqliteDatabase> SqliteDatabase::openReadOnly(const std::string& path, std::string& why)
{
    static std::string failure;
    static const SqliteOpenEntry open = [] {
        return reinterpret_cast<SqliteOpenEntry>(LoadableModule::entryPoint(kSqliteModuleFile, kSqliteOpenEntry, failure));
    }();
    std::unique_ptr<SqliteDatabase> db;
    if (open == nullptr) {
        why = failure;
        return db;
    }
    open(path, db, why);
    return db;
}

}  // namespace quorvel
