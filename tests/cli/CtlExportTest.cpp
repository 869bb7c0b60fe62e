// SPDX-License-Identifier: GPL-3.0-or-later
// `export --csv`: a header that names what each column holds, and the same days and bytes as the
// JSON export.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"

#include "CtlProcess.hpp"

namespace {

using quorvel::test::TempDir;

TEST(CtlExport, CsvHasADateAndACellularBytesColumnMatchingTheJsonExport)
{
    TempDir home;
    std::string out;
    std::string err;
    std::ofstream(home.path() / "counters") << "wwan0 1000 1000\n";
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"setup", "--plan", "500", "--start-day", "1", "--used", "3"}, out, err), 0);
    std::ofstream(home.path() / "counters") << "wwan0 6000 2000\n";
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"sample"}, out, err), 0);

    std::string csv;
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"export", "--csv"}, csv, err), 0) << err;
    std::string plain;
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"export"}, plain, err), 0) << err;
    EXPECT_EQ(plain, csv) << "CSV is the default";
    std::string json;
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"export", "--json"}, json, err), 0) << err;

    std::map<std::string, std::uint64_t> fromJson;
    const nlohmann::json doc = nlohmann::json::parse(json);
    for (const auto& month : doc.at("months")) {
        for (const auto& day : month.at("days")) {
            fromJson[day.at("date")] += day.at("bytes").get<std::uint64_t>();
        }
    }
    std::istringstream lines(csv);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "date,cellular_bytes,kind,free_bytes");
    std::map<std::string, std::uint64_t> fromCsv;
    std::uint64_t total = 0;
    while (std::getline(lines, line)) {
        const auto comma = line.find(',');
        ASSERT_NE(comma, std::string::npos) << line;
        const auto kind = line.find(',', comma + 1);
        ASSERT_NE(kind, std::string::npos) << line;
        EXPECT_EQ(line.substr(kind + 1), "day,0") << "no correction was entered, no free hours set: " << line;
        const std::uint64_t bytes = std::stoull(line.substr(comma + 1, kind - comma - 1));
        fromCsv[line.substr(0, comma)] += bytes;
        total += bytes;
    }
    EXPECT_EQ(fromCsv, fromJson);
    EXPECT_EQ(total, 3'000'000u + 6'000u);
}

TEST(CtlExport, JsonCarriesPlacesAndSettingsForAWholeBackup)
{
    TempDir home;
    std::string out;
    std::string err;
    std::ofstream(home.path() / "counters") << "wwan0 1000 1000\n";
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"setup", "--plan", "500", "--start-day", "7"}, out, err), 0) << err;
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"limits", "--day", "off"}, out, err), 0) << err;
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"addon", "add", "--size", "100", "--days", "30"}, out, err), 0) << err;
    std::ofstream(home.path() / "counters") << "wwan0 9000 2000\n";
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"sample", "--at", "52.5,13.4"}, out, err), 0) << err;

    std::string json;
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"export", "--json"}, json, err), 0) << err;
    const nlohmann::json doc = nlohmann::json::parse(json);
    const nlohmann::json& settings = doc.at("settings");
    EXPECT_EQ(settings.at("plan"), 500'000'000u);
    EXPECT_EQ(settings.at("start_day"), 7);
    EXPECT_EQ(settings.at("shape").at("kind"), "monthly");
    EXPECT_EQ(settings.at("alerts").at("day"), false);
    EXPECT_EQ(settings.at("alerts").at("month"), true);
    ASSERT_EQ(settings.at("packs").size(), 1u);
    EXPECT_EQ(settings.at("packs")[0].at("size"), 100'000'000u);
    EXPECT_EQ(settings.at("packs")[0].at("days"), 30);
    ASSERT_EQ(doc.at("places").size(), 1u);
    EXPECT_DOUBLE_EQ(doc.at("places")[0].at("latitude").get<double>(), 52.5);
    EXPECT_EQ(doc.at("places")[0].at("bytes"), 9000u);
}

}  // namespace
