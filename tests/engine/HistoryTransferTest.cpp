// SPDX-License-Identifier: GPL-3.0-or-later
// Which reader a history file goes to, told by its first bytes as the window tells it (the user
// picks a file, not a format): vnStat's SQLite database, a JSON backup, else CSV.
#include <gtest/gtest.h>

#include <fstream>

#include "TestEnv.hpp"
#include "engine/HistoryTransfer.hpp"

namespace quorvel {
namespace {

using Format = HistoryTransfer::Format;

TEST(HistoryTransferTest, TheFormatIsToldByTheFilesFirstBytesNotItsName)
{
    test::TempDir dir;
    const struct {
        const char* name;
        std::string bytes;
        Format format;
    } cases[] = {
        {"backup.json", "{\n  \"months\": []\n}\n", Format::Json},
        {"indented.txt", "  \n\t{\"months\": []}", Format::Json},
        {"days.json", "date,cellular_bytes\n2026-03-01,5\n", Format::Csv},
        {"vnstat.db", std::string("SQLite format 3\0rest of the header", 34), Format::Vnstat},
        {"short.db", std::string("SQLite form", 11), Format::Csv},
        {"cut.json", "{\"mon", Format::Json},
        {"empty", "", Format::Json},  // the JSON reader then says it is not JSON
        {"list.json", "[1, 2]", Format::Json},
    };
    for (const auto& c : cases) {
        std::ofstream(dir.path() / c.name, std::ios::binary) << c.bytes;
        EXPECT_EQ(HistoryTransfer::formatOf((dir.path() / c.name).string()), c.format) << c.name;
    }
    EXPECT_EQ(HistoryTransfer::formatOf((dir.path() / "missing").string()), Format::Json);
}

}  // namespace
}  // namespace quorvel
