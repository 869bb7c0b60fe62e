// SPDX-License-Identifier: GPL-3.0-or-later
// `plan` and `addon` run as the program under pinned dates: each shape's period turns on the
// right day and hour, packs are spent first and lose what they had when they expire, rollover
// carries one period's unused plan into the next, and refused values change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "CtlProcess.hpp"
#include "TestEnv.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::test::TempDir;
constexpr std::uint64_t MB = 1'000'000;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CtlPlan : public ::testing::Test {
protected:
    void SetUp() override
    {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "faketime preloads itself ahead of the sanitizer runtime; the plain build runs this";
#endif
        std::string probe;
        if (quorvel::clitest::runProcess({"faketime", "2027-01-01 12:00:00", "true"}, {}, probe, probe) != 0) {
            GTEST_SKIP() << "faketime is not installed";
        }
        counters(0);
    }

    // Runs quorvelctl at local time `when` (Europe/Berlin, as every test here).
    int ctl(const std::string& when, std::vector<std::string> args, std::string* out = nullptr)
    {
        std::vector<std::string> argv = {"faketime", when, QUORVEL_CTL};
        argv.insert(argv.end(), args.begin(), args.end());
        std::string o;
        err.clear();
        const int code = quorvel::clitest::runProcess(argv, quorvel::clitest::ctlEnvironment(home.path()), o, err);
        if (out != nullptr) {
            *out = o;
        }
        return code;
    }
    nlohmann::json status(const std::string& when)
    {
        std::string out;
        EXPECT_EQ(ctl(when, {"status", "--json"}, &out), 0) << err;
        return nlohmann::json::parse(out, nullptr, false);
    }
    // The cellular counters as the total bytes received so far.
    void counters(std::uint64_t total)
    {
        std::ofstream(home.path() / "counters.tmp") << "wwan0 " << total << " 0\n";
        fs::rename(home.path() / "counters.tmp", home.path() / "counters");
    }
    void useAt(const std::string& when, std::uint64_t bytes)
    {
        total_ += bytes;
        counters(total_);
        std::string out;
        ASSERT_EQ(ctl(when, {"sample"}, &out), 0) << err;
    }
    void setUp(const std::string& when)
    {
        ASSERT_EQ(ctl(when, {"setup", "--plan", "1000", "--start-day", "1"}), 0) << err;
    }

    TempDir home;
    std::string err;
    std::uint64_t total_ = 0;
};

TEST_F(CtlPlan, EachShapesPeriodTurnsOnTheRightDayAndHour)
{
    setUp("2027-03-20 12:00:00");
    struct Step {
        std::vector<std::string> plan;
        const char* when;
        const char* kind;
        const char* first;
        const char* last;
        bool expired;
    };
    const Step steps[] = {
        {{"--every", "28", "--from", "2027-03-01"}, "2027-03-28 23:59:00", "every", "2027-03-01", "2027-03-28", false},
        {{"--every", "28", "--from", "2027-03-01"}, "2027-03-29 00:00:30", "every", "2027-03-29", "2027-04-25", false},
        {{"--daily"}, "2027-03-28 01:30:00", "daily", "2027-03-28", "2027-03-28", false},  // the spring change
        {{"--daily"}, "2027-03-28 23:59:00", "daily", "2027-03-28", "2027-03-28", false},
        {{"--prepaid", "--from", "2027-03-01", "--until", "2027-03-31"}, "2027-03-31 23:59:00", "prepaid",
         "2027-03-01", "2027-03-31", false},
        {{"--prepaid", "--from", "2027-03-01", "--until", "2027-03-31"}, "2027-04-01 00:00:30", "prepaid",
         "2027-03-01", "2027-03-31", true},
        {{"--monthly", "--start-day", "31"}, "2027-04-30 12:00:00", "monthly", "2027-03-31", "2027-04-30", false},
        {{"--monthly", "--start-day", "31"}, "2027-05-01 00:00:30", "monthly", "2027-05-01", "2027-05-30", false},
    };
    for (const Step& s : steps) {
        std::vector<std::string> args = {"plan"};
        args.insert(args.end(), s.plan.begin(), s.plan.end());
        ASSERT_EQ(ctl(s.when, args), 0) << err;
        const nlohmann::json j = status(s.when);
        EXPECT_EQ(j.at("plan_kind"), s.kind) << s.when;
        EXPECT_EQ(j.at("period_first_day"), s.first) << s.kind << " at " << s.when;
        EXPECT_EQ(j.at("period_last_day"), s.last) << s.kind << " at " << s.when;
        EXPECT_EQ(j.at("expired"), s.expired) << s.kind << " at " << s.when;
        // A monthly plan's start day stays the one set, even when a short month moves the first day.
        const int startDay = std::string(s.kind) == "monthly" ? 31 : std::stoi(std::string(s.first).substr(8));
        EXPECT_EQ(j.at("start_day"), startDay) << s.kind << " at " << s.when;
    }
}

TEST_F(CtlPlan, AnExpiredPrepaidPlanHasNothingLeftAndSaysSoWhileCountingGoesOn)
{
    setUp("2027-03-02 12:00:00");
    ASSERT_EQ(ctl("2027-03-02 12:00:00", {"plan", "--prepaid", "--from", "2027-03-01", "--until", "2027-03-10"}), 0) << err;
    useAt("2027-03-05 12:00:00", 100 * MB);
    useAt("2027-03-12 12:00:00", 50 * MB);
    const nlohmann::json j = status("2027-03-12 12:00:00");
    EXPECT_EQ(j.at("expired"), true);
    EXPECT_EQ(j.at("left"), 0u);
    EXPECT_EQ(j.at("used"), 100 * MB) << "the prepaid period ended on the 10th";
    std::string out;
    ASSERT_EQ(ctl("2027-03-12 12:00:00", {"status", "--oneline"}, &out), 0) << err;
    EXPECT_NE(out.find("expired"), std::string::npos) << out;
    ASSERT_EQ(ctl("2027-03-12 12:00:00", {"status"}, &out), 0) << err;
    EXPECT_NE(out.find("expired"), std::string::npos) << out;
    ASSERT_EQ(ctl("2027-03-12 12:00:00", {"export", "--json"}, &out), 0);
    EXPECT_NE(out.find("2027-03-12"), std::string::npos) << "counting goes on after the plan expired";
}

TEST_F(CtlPlan, APackIsSpentFirstAndWhatItHadLeftGoesWhenItExpires)
{
    setUp("2027-03-01 08:00:00");
    ASSERT_EQ(ctl("2027-03-01 09:00:00", {"addon", "add", "--size", "300", "--days", "3"}), 0) << err;
    useAt("2027-03-01 20:00:00", 100 * MB);
    nlohmann::json j = status("2027-03-01 21:00:00");
    EXPECT_EQ(j.at("allowance"), 1300 * MB);
    EXPECT_EQ(j.at("left"), 1200 * MB);
    ASSERT_EQ(j.at("addons").size(), 1u);
    EXPECT_EQ(j.at("addons")[0].at("left"), 200 * MB) << "spent before the plan";
    EXPECT_EQ(j.at("addons")[0].at("first_day"), "2027-03-01");
    EXPECT_EQ(j.at("addons")[0].at("last_day"), "2027-03-03") << "3 days from the 1st";

    useAt("2027-03-05 12:00:00", 50 * MB);  // the pack ended on the 3rd with 200 MB unused
    j = status("2027-03-05 12:30:00");
    EXPECT_EQ(j.at("used"), 150 * MB);
    EXPECT_EQ(j.at("left"), 950 * MB) << "the plan alone, less the 50 MB after the pack";
    std::string out;
    ASSERT_EQ(ctl("2027-03-05 12:30:00", {"addon", "list"}, &out), 0);
    EXPECT_NE(out.find("1. 300 MB, expired, 2027-03-01 to 2027-03-03"), std::string::npos) << out;
    ASSERT_EQ(ctl("2027-03-05 12:30:00", {"addon", "remove", "1"}), 0) << err;
    EXPECT_EQ(status("2027-03-05 12:31:00").at("addons").size(), 0u);
}

TEST_F(CtlPlan, RolloverCarriesThePlansUnusedPartIntoTheNextPeriodOnly)
{
    setUp("2027-01-03 12:00:00");
    ASSERT_EQ(ctl("2027-01-03 12:00:00", {"plan", "--every", "10", "--from", "2027-01-01", "--rollover", "on"}), 0)
        << err;
    useAt("2027-01-05 12:00:00", 300 * MB);  // period 1: 700 MB of the plan unused
    useAt("2027-01-12 12:00:00", 100 * MB);  // period 2: spends the rollover first
    nlohmann::json j = status("2027-01-12 13:00:00");
    EXPECT_EQ(j.at("rollover"), 700 * MB);
    EXPECT_EQ(j.at("allowance"), 1700 * MB);
    EXPECT_EQ(j.at("left"), 1600 * MB);
    useAt("2027-01-13 12:00:00", 900 * MB);  // rollover gone, 300 MB of the plan used
    useAt("2027-01-22 12:00:00", 10 * MB);   // period 3: only period 2's own plan rolls over
    j = status("2027-01-22 13:00:00");
    EXPECT_EQ(j.at("rollover"), 700 * MB) << "the plan's unused part, never the rollover it had";
    EXPECT_EQ(j.at("left"), 1690 * MB);

    ASSERT_EQ(ctl("2027-01-22 14:00:00", {"plan", "--rollover", "off"}), 0) << err;
    EXPECT_EQ(status("2027-01-22 14:01:00").at("rollover"), 0u);
}

TEST_F(CtlPlan, ALongPrepaidPeriodKeepsEveryDayItNeedsBeyondThreeMonths)
{
    setUp("2027-01-05 12:00:00");
    ASSERT_EQ(ctl("2027-01-05 12:00:00", {"plan", "--prepaid", "--from", "2027-01-05", "--until", "2027-05-04"}), 0)
        << err;
    useAt("2027-01-10 12:00:00", 100 * MB);
    useAt("2027-02-10 12:00:00", 10 * MB);
    useAt("2027-03-10 12:00:00", 10 * MB);
    useAt("2027-04-10 12:00:00", 10 * MB);
    useAt("2027-05-01 12:00:00", 1 * MB);
    const nlohmann::json j = status("2027-05-01 13:00:00");
    EXPECT_EQ(j.at("used"), 131 * MB) << "January's days are still part of the period";
    EXPECT_EQ(j.at("days_used"), 116);

    // Back to a monthly plan, nothing is dropped by the change itself; from the next calendar
    // month on, the three months are all that is kept, as ever.
    ASSERT_EQ(ctl("2027-05-01 13:00:00", {"set", "start-day", "1"}), 0) << err;
    std::string out;
    ASSERT_EQ(ctl("2027-05-01 13:00:00", {"export", "--csv"}, &out), 0);
    EXPECT_NE(out.find("2027-01-10"), std::string::npos) << out;
    useAt("2027-06-02 12:00:00", 1 * MB);
    ASSERT_EQ(ctl("2027-06-02 13:00:00", {"export", "--csv"}, &out), 0);
    EXPECT_EQ(out.find("2027-03-10"), std::string::npos) << out;
    EXPECT_NE(out.find("2027-04-10"), std::string::npos) << out;
}

TEST_F(CtlPlan, RefusedValuesExitWith1AndChangeNothing)
{
    setUp("2027-03-02 12:00:00");
    ASSERT_EQ(ctl("2027-03-02 12:00:00", {"addon", "add", "--size", "100", "--days", "7"}), 0) << err;
    const std::string before = readFile(home.path() / "data/quorvel/statestg");
    const std::vector<std::vector<std::string>> refused = {
        {"plan", "--monthly", "--start-day", "32"},
        {"plan", "--monthly", "--start-day", "0"},
        {"plan", "--every", "0", "--from", "2027-03-01"},
        {"plan", "--every", "367", "--from", "2027-03-01"},
        {"plan", "--every", "28"},
        {"plan", "--every", "28", "--from", "2027-02-30"},
        {"plan", "--prepaid", "--from", "2027-03-10", "--until", "2027-03-09"},
        {"plan", "--prepaid", "--from", "2027-03-10"},
        {"plan", "--daily", "--monthly", "--start-day", "3"},
        {"plan", "--free-hours", "24:00-06:00"},
        {"plan", "--free-hours", "06:00-06:00"},
        {"plan", "--free-hours", "6:00-07:00"},
        {"plan", "--rollover", "maybe"},
        {"plan", "--size", "0"},
        {"plan", "--size", "99999999999999999999"},
        {"plan", "--daily", "--size", "-5"},
        {"addon", "add", "--size", "0", "--days", "7"},
        {"addon", "add", "--size", "100", "--days", "0"},
        {"addon", "add", "--size", "100", "--days", "7", "--from", "2027-13-01"},
        {"addon", "add", "--size", "100"},
        {"addon", "remove", "2"},
        {"addon", "remove", "0"},
        {"addon", "remove", "one"},
    };
    for (const auto& args : refused) {
        std::string joined;
        for (const auto& a : args) {
            joined += a + " ";
        }
        EXPECT_EQ(ctl("2027-03-02 12:00:00", args), 1) << joined << err;
        EXPECT_NE(err.find("nothing was changed"), std::string::npos) << joined << err;
        EXPECT_EQ(readFile(home.path() / "data/quorvel/statestg"), before) << joined;
    }
}

TEST_F(CtlPlan, PlanJsonTellsTheShapeAndAMonthlyStartDaySetsTheMonthlyShapeAgain)
{
    setUp("2027-03-02 12:00:00");
    std::string out;
    ASSERT_EQ(ctl("2027-03-02 12:00:00", {"plan", "--every", "28", "--from", "2027-02-20", "--free-hours",
                                          "23:00-06:00", "--json"}, &out), 0) << err;
    nlohmann::json j = nlohmann::json::parse(out);
    EXPECT_EQ(j.at("plan_kind"), "every");
    EXPECT_EQ(j.at("every_days"), 28);
    EXPECT_EQ(j.at("from"), "2027-02-20");
    EXPECT_EQ(j.at("free_hours"), "23:00-06:00");
    ASSERT_EQ(ctl("2027-03-02 12:00:00", {"set", "start-day", "5"}), 0) << err;
    j = status("2027-03-02 12:00:00");
    EXPECT_EQ(j.at("plan_kind"), "monthly");
    EXPECT_EQ(j.at("period_first_day"), "2027-02-05");
}

}  // namespace
