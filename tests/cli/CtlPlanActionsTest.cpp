// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's side of acting on the plan: the cut-off switch, refused where no
// NetworkManager can act on it, and the roaming figures of status and export, also for a state
// file written before roaming was counted.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "CtlProcess.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using clitest::readFile;

class CtlPlanActions : public ::testing::Test {
protected:
    int ctl(const std::vector<std::string>& args, std::string* out = nullptr)
    {
        std::string o;
        const int code = clitest::runCtl(home.path(), args, o, err);
        if (out != nullptr) {
            *out = o;
        }
        return code;
    }
    nlohmann::json json(const std::vector<std::string>& args)
    {
        std::string out;
        EXPECT_EQ(ctl(args, &out), 0) << err;
        return nlohmann::json::parse(out, nullptr, false);
    }
    fs::path stateFile() const { return home.path() / "data/quorvel/statestg"; }

    test::TempDir home;
    std::string err;
};

TEST_F(CtlPlanActions, TheCutoffIsRefusedWithTheReasonWhereNetworkManagerCannotAct)
{
    std::ofstream(home.path() / "counters") << "wwan0 1000 1000\n";
    ASSERT_EQ(ctl({"setup", "--plan", "500", "--start-day", "1"}), 0) << err;
    const std::string before = readFile(stateFile());

    EXPECT_EQ(ctl({"limits", "--day", "off", "--cutoff", "on"}), 1);
    EXPECT_THAT(err, ::testing::HasSubstr("mobile data cannot be turned off at the plan: "));
    EXPECT_THAT(err, ::testing::HasSubstr("nothing was changed"));
    EXPECT_EQ(readFile(stateFile()), before) << "the day alert stays as it was too";

    EXPECT_EQ(ctl({"limits", "--cutoff", "maybe"}), 1);
    EXPECT_THAT(err, ::testing::HasSubstr("invalid cutoff switch 'maybe'"));
    // Off needs nobody's help.
    EXPECT_EQ(ctl({"limits", "--cutoff", "off"}), 0) << err;
    std::string out;
    ASSERT_EQ(ctl({"limits"}, &out), 0) << err;
    EXPECT_THAT(out, ::testing::HasSubstr("mobile data off at the plan off"));
}

TEST_F(CtlPlanActions, AnOldStateFileReportsNoRoaming)
{
    const fs::path data = fs::path(QUORVEL_TEST_DATA) / "before-per-interface-baselines";
    fs::create_directories(stateFile().parent_path());
    fs::create_directories(home.path() / "config/quorvel");
    fs::copy_file(data / "defaults.json", home.path() / "config/quorvel/defaults.json");
    fs::copy_file(data / "statestg", stateFile());

    const nlohmann::json exported = json({"export", "--json"});
    std::size_t days = 0;
    for (const auto& month : exported.at("months")) {
        for (const auto& day : month.at("days")) {
            EXPECT_EQ(day.at("roaming_bytes"), 0) << day.dump();
            ++days;
        }
    }
    EXPECT_GT(days, 0u);
    std::string out;
    ASSERT_EQ(ctl({"limits"}, &out), 0) << err;
    EXPECT_THAT(out, ::testing::HasSubstr("mobile data off at the plan off"));
    EXPECT_EQ(json({"status", "--json"}).at("roaming"), 0);
}

}  // namespace
}  // namespace quorvel
