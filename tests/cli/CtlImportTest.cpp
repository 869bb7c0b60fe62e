// SPDX-License-Identifier: GPL-3.0-or-later
// `import`: a backup read back gives the same export, a day in both is never counted twice, every
// key set export has written is read, and a file that is not what it claims changes nothing.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CtlProcess.hpp"
#include "TestEnv.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::clitest::runCtl;
using quorvel::test::TempDir;

struct CtlImport : ::testing::Test {
    TempDir source;  // the demo history: three calendar months of days up to today, places
    TempDir target;
    std::string out, err;

    void SetUp() override
    {
        ASSERT_EQ(quorvel::clitest::runProcess({QUORVEL_DEMO_STATE}, quorvel::clitest::ctlEnvironment(source.path()),
                                               out, err),
                  0)
            << err;
        std::ofstream(target.path() / "counters") << "wwan0 1000 1000\n";
        ASSERT_EQ(runCtl(target.path(), {"setup", "--plan", "500", "--start-day", "1"}, out, err), 0) << err;
    }
    std::string ctl(const TempDir& home, const std::vector<std::string>& args)
    {
        EXPECT_EQ(runCtl(home.path(), args, out, err), 0) << err;
        return out;
    }
    fs::path write(const std::string& name, const std::string& text) const
    {
        const fs::path p = target.path() / name;
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    fs::path stateFile() const { return target.path() / "data/quorvel/statestg"; }
    // "YYYY-MM-" of last month: a month the day records keep whenever the test runs.
    static std::string lastMonth()
    {
        const std::time_t now = std::time(nullptr);
        std::tm t = *std::localtime(&now);
        t.tm_mday = 1;
        t.tm_mon -= 1;
        std::mktime(&t);
        char buf[16];
        std::strftime(buf, sizeof buf, "%Y-%m-", &t);
        return buf;
    }
    static nlohmann::json& firstDay(nlohmann::json& exported) { return exported.at("months").back().at("days").at(0); }
};

TEST_F(CtlImport, ABackupReadBackGivesTheSameExportAndASecondImportChangesNothing)
{
    const std::string exported = ctl(source, {"export", "--json"});
    const std::string said = ctl(target, {"import", write("backup.json", exported).string(), "--settings"});
    EXPECT_NE(said.find("Imported: "), std::string::npos) << said;
    EXPECT_EQ(ctl(target, {"export", "--json"}), exported) << "days, corrections, places and settings alike";

    const std::string again = ctl(target, {"import", (target.path() / "backup.json").string()});
    EXPECT_NE(again.find("0 days added, 0 days with a larger amount"), std::string::npos) << again;
    EXPECT_EQ(ctl(target, {"export", "--json"}), exported) << "never counted twice";

    // The CSV export read back into a fresh state gives the same CSV.
    const std::string csv = ctl(source, {"export", "--csv"});
    TempDir fresh;
    std::ofstream(fresh.path() / "counters") << "wwan0 1000 1000\n";
    ctl(fresh, {"setup", "--plan", "2000", "--start-day", "1"});
    ctl(fresh, {"import", "--csv", write("days.csv", csv).string()});
    EXPECT_EQ(ctl(fresh, {"export", "--csv"}), csv);
}

TEST_F(CtlImport, ADayInBothKeepsTheLargerMeasuredAmountAndSaysWhich)
{
    nlohmann::json backup = nlohmann::json::parse(ctl(source, {"export", "--json"}));
    ctl(target, {"import", write("backup.json", backup.dump()).string()});
    const nlohmann::json stored = nlohmann::json::parse(ctl(target, {"export", "--json"}));

    // Two of the days changed in the file: one larger, one smaller than recorded.
    nlohmann::json edited = backup;
    nlohmann::json& days = edited.at("months").at(0).at("days");
    const std::uint64_t first = days.at(0).at("bytes").get<std::uint64_t>();
    const std::uint64_t second = days.at(1).at("bytes").get<std::uint64_t>();
    days.at(0).at("bytes") = first + 7'000'000;
    days.at(1).at("bytes") = second / 2;
    const fs::path file = write("edited.json", edited.dump());

    const std::string dry = ctl(target, {"import", file.string(), "--dry-run"});
    EXPECT_NE(dry.find("Nothing was changed (dry run)."), std::string::npos) << dry;
    EXPECT_EQ(nlohmann::json::parse(ctl(target, {"export", "--json"})), stored);

    const std::string said = ctl(target, {"import", file.string()});
    const std::string day0 = days.at(0).at("date").get<std::string>();
    const std::string day1 = days.at(1).at("date").get<std::string>();
    EXPECT_NE(said.find(day0 + ": kept the imported "), std::string::npos) << said;
    EXPECT_NE(said.find(day1 + ": kept the recorded "), std::string::npos) << said;
    EXPECT_NE(said.find("1 day with a larger amount"), std::string::npos) << said;
    const nlohmann::json after = nlohmann::json::parse(ctl(target, {"export", "--json"}));
    const nlohmann::json& kept = after.at("months").at(0).at("days");
    EXPECT_EQ(kept.at(0).at("bytes"), first + 7'000'000);
    EXPECT_EQ(kept.at(1).at("bytes"), second);
    EXPECT_EQ(quorvel::clitest::exportedBytes(after), quorvel::clitest::exportedBytes(stored) + 7'000'000);
}

TEST_F(CtlImport, EveryKeySetExportHasWrittenIsRead)
{
    const std::string m = lastMonth();
    // The first export: days with bytes and wifi_bytes only, no corrections, places or settings.
    const nlohmann::json oldest = {
        {"months",
         {{{"month", "the month before"}, {"plan", 500000000},
           {"days", {{{"date", m + "03"}, {"bytes", 4000}, {"wifi_bytes", 0}}}}}}}};
    ctl(target, {"import", write("v1.json", oldest.dump()).string()});
    // Then roaming, entered shares and corrections; then free hours.
    const nlohmann::json later = {
        {"months",
         {{{"month", "the month before"}, {"plan", 500000000},
           {"days", {{{"date", m + "04"}, {"bytes", 5000}, {"wifi_bytes", 0}, {"roaming_bytes", 100},
                      {"entered_bytes", 0}, {"free_bytes", 50}}}},
           {"corrections", {{{"date", m + "04"}, {"bytes", -300}}}}}}}};
    ctl(target, {"import", write("v2.json", later.dump()).string()});
    // CSV: the two columns of the first versions, then kind and free_bytes.
    ctl(target, {"import", "--csv", write("v1.csv", "date,cellular_bytes\n" + m + "05,6000\n").string()});
    ctl(target, {"import", "--csv", write("v2.csv", "date,cellular_bytes,kind\n" + m + "06,7000,day\n").string()});
    ctl(target, {"import", "--csv", write("v0.csv", "date,cellular_bytes,wifi_bytes\n" + m + "07,8000,0\n").string()});

    const nlohmann::json after = nlohmann::json::parse(ctl(target, {"export", "--json"}));
    const nlohmann::json& november = after.at("months").at(0);
    ASSERT_EQ(november.at("days").size(), 5u) << after.dump(1);
    EXPECT_EQ(november.at("days").at(1).at("roaming_bytes"), 100);
    EXPECT_EQ(november.at("days").at(1).at("free_bytes"), 50);
    EXPECT_EQ(november.at("corrections").at(0).at("bytes"), -300);
    EXPECT_EQ(november.at("days").at(4).at("bytes"), 8000);
}

TEST_F(CtlImport, AFileThatIsNotWhatItClaimsChangesNothing)
{
    const std::string good = ctl(source, {"export", "--json"});
    nlohmann::json doc = nlohmann::json::parse(good);
    const auto edited = [&](const std::function<void(nlohmann::json&)>& change) {
        nlohmann::json copy = doc;
        change(copy);
        return copy.dump();
    };
    const std::vector<std::pair<std::string, std::string>> files = {
        {"truncated", good.substr(0, good.size() / 2)},
        {"bytes as text", edited([](nlohmann::json& d) { firstDay(d)["bytes"] = "12"; })},
        {"negative bytes", edited([](nlohmann::json& d) { firstDay(d)["bytes"] = -5; })},
        {"bytes past 2^53", edited([](nlohmann::json& d) { firstDay(d)["bytes"] = 9007199254740993ULL; })},
        {"bytes past 2^64", edited([](nlohmann::json& d) { firstDay(d)["bytes"] = 1e30; })},
        {"share above the bytes", edited([](nlohmann::json& d) { firstDay(d)["roaming_bytes"] = 1ULL << 40; })},
        {"a day that does not exist", edited([](nlohmann::json& d) { firstDay(d)["date"] = "2026-02-30"; })},
        {"a date in the future", edited([](nlohmann::json& d) { firstDay(d)["date"] = "2099-01-01"; })},
        {"a day twice", edited([](nlohmann::json& d) {
             d.at("months").back().at("days").push_back(firstDay(d));
         })},
        {"another schema", R"({"vnstatversion":"2.10","interfaces":[]})"},
        {"a list", "[1,2,3]"},
    };
    const std::string before = readFile(stateFile());
    ASSERT_FALSE(before.empty());
    for (const auto& [what, text] : files) {
        EXPECT_EQ(runCtl(target.path(), {"import", write("bad.json", text).string()}, out, err), 1) << what;
        EXPECT_NE(err.find("nothing was changed"), std::string::npos) << what << ": " << err;
        EXPECT_EQ(readFile(stateFile()), before) << what;
    }
    const std::vector<std::pair<std::string, std::string>> csvFiles = {
        {"another header", "day,bytes\n2026-11-01,5\n"},
        {"cut short", "date,cellular_bytes,kind,free_bytes\n2026-11-01,5,da"},
        {"negative", "date,cellular_bytes,kind,free_bytes\n2026-11-01,-5,day,0\n"},
        {"overflowing", "date,cellular_bytes,kind,free_bytes\n2026-11-01,99999999999999999999999,day,0\n"},
        {"missing column", "date,cellular_bytes,kind,free_bytes\n2026-11-01,5,day\n"},
    };
    for (const auto& [what, text] : csvFiles) {
        EXPECT_EQ(runCtl(target.path(), {"import", "--csv", write("bad.csv", text).string()}, out, err), 1) << what;
        EXPECT_EQ(readFile(stateFile()), before) << what;
    }
    EXPECT_EQ(runCtl(target.path(), {"import", (target.path() / "missing.json").string()}, out, err), 1);
    EXPECT_EQ(runCtl(target.path(), {"import", write("old.json", R"({"months":[]})").string(), "--settings"}, out, err), 1)
        << "settings asked of a file without them";
    EXPECT_EQ(readFile(stateFile()), before);
}

}  // namespace

namespace {

constexpr const char* kFakeTime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

// The same homes with the clock moved on by `offset` (libfaketime's "+75d").
struct CtlMonthTotals : CtlImport {
    void SetUp() override
    {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "faketime preloads itself ahead of the sanitizer runtime; the plain build runs this";
#endif
        if (!fs::exists(kFakeTime)) {
            GTEST_SKIP() << "libfaketime is not installed";
        }
        CtlImport::SetUp();
    }
    std::string later(const TempDir& home, const std::string& offset, const std::vector<std::string>& args)
    {
        std::vector<std::string> argv = {QUORVEL_CTL};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> env = quorvel::clitest::ctlEnvironment(home.path());
        env.push_back("LD_PRELOAD=" + std::string(kFakeTime));
        env.push_back("FAKETIME=" + offset);
        EXPECT_EQ(quorvel::clitest::runProcess(argv, env, out, err), 0) << err;
        return out;
    }
    // The month's used bytes as its day records and corrections give them.
    static std::uint64_t used(const nlohmann::json& month)
    {
        std::int64_t sum = 0;
        for (const auto& d : month.at("days")) {
            sum += d.at("bytes").get<std::int64_t>() - d.at("free_bytes").get<std::int64_t>();
        }
        for (const auto& c : month.at("corrections")) {
            sum += c.at("bytes").get<std::int64_t>();
        }
        return static_cast<std::uint64_t>(std::max<std::int64_t>(sum, 0));
    }
};

TEST_F(CtlMonthTotals, AMonthLeavingTheDayRecordsKeepsItsTotalsInTheExportOnly)
{
    const nlohmann::json before = nlohmann::json::parse(ctl(source, {"export", "--json"}));
    ASSERT_EQ(before.at("months").size(), 3u);
    EXPECT_TRUE(before.at("month_totals").empty());
    const nlohmann::json& oldest = before.at("months").at(0);

    // The first sample takes the counters' baseline; the second books a day of a new month.
    std::ofstream(source.path() / "counters") << "wwan0 900000 900000\n";
    later(source, "+75d", {"sample"});
    std::ofstream(source.path() / "counters") << "wwan0 1900000 1900000\n";
    later(source, "+75d", {"sample"});
    const nlohmann::json after = nlohmann::json::parse(later(source, "+75d", {"export", "--json"}));
    ASSERT_EQ(after.at("month_totals").size(), 1u) << after.at("month_totals").dump();
    const nlohmann::json& total = after.at("month_totals").at(0);
    EXPECT_EQ(total.at("used_bytes"), used(oldest));
    EXPECT_EQ(total.at("plan"), oldest.at("plan"));
    EXPECT_EQ(after.at("months").size(), 3u);
    EXPECT_EQ(later(source, "+75d", {"status", "--json"}).find("month_total"), std::string::npos);
    EXPECT_NE(later(source, "+75d", {"export", "--csv"}).find(total.at("month").get<std::string>() + "," +
                                                               std::to_string(used(oldest)) + ",month_total,"),
              std::string::npos);

    // Still there a year on; gone with the previous months.
    std::ofstream(source.path() / "counters") << "wwan0 2900000 2900000\n";
    later(source, "+440d", {"sample"});
    EXPECT_FALSE(nlohmann::json::parse(later(source, "+440d", {"export", "--json"})).at("month_totals").empty());
    later(source, "+440d", {"reset", "previous-months"});
    EXPECT_TRUE(nlohmann::json::parse(later(source, "+440d", {"export", "--json"})).at("month_totals").empty());
}

TEST_F(CtlMonthTotals, ImportedMonthsOlderThanTheKeptDaysBecomeTotals)
{
    const std::string exported = ctl(source, {"export", "--json"});
    const nlohmann::json months = nlohmann::json::parse(exported).at("months");
    TempDir moved;  // a phone set up two months on: its own month and the two newest of the backup stay days
    std::ofstream(moved.path() / "counters") << "wwan0 1000 1000\n";
    later(moved, "+62d", {"setup", "--plan", "500", "--start-day", "1"});
    const std::string said = later(moved, "+62d", {"import", write("backup.json", exported).string()});
    EXPECT_NE(said.find(" in month totals; "), std::string::npos) << said;
    const nlohmann::json after = nlohmann::json::parse(later(moved, "+62d", {"export", "--json"}));
    ASSERT_FALSE(after.at("month_totals").empty()) << said;
    EXPECT_EQ(after.at("month_totals").back().at("used_bytes"), used(months.at(0)));
    // Imported again: the totals are not added twice.
    later(moved, "+62d", {"import", (target.path() / "backup.json").string()});
    EXPECT_EQ(nlohmann::json::parse(later(moved, "+62d", {"export", "--json"})), after);
}

}  // namespace
