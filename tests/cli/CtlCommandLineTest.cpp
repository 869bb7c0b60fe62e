// SPDX-License-Identifier: GPL-3.0-or-later
// quorvelctl as a user meets it: the real binary on a temporary home directory, its interface
// counters read from a file the test writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"

#include "CtlProcess.hpp"


namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::test::TempDir;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

struct CtlRun {
    int code = -1;
    std::string out;
    std::string err;
};

// One installation of quorvelctl: its files and its interface counters.
class CtlHome {
public:
    const fs::path& home() const { return dir_.path(); }
    fs::path stateFile() const { return home() / "data/quorvel/statestg"; }
    fs::path defaultsFile() const { return home() / "config/quorvel/defaults.json"; }

    CtlRun ctl(const std::vector<std::string>& args) const
    {
        CtlRun r;
        r.code = quorvel::clitest::runCtl(home(), args, r.out, r.err);
        return r;
    }

    // The output of a command that must succeed with one JSON document and nothing on stderr.
    nlohmann::json json(const std::vector<std::string>& args) const
    {
        const CtlRun r = ctl(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return nlohmann::json::parse(r.out, nullptr, false);
    }

    // The cellular interface's counters; written whole so that no run reads half a line.
    void setCounters(std::uint64_t rx, std::uint64_t tx) const
    {
        const fs::path tmp = home() / "counters.tmp";
        std::ofstream(tmp) << "lo 123456 123456\nwwan0 " << rx << " " << tx << "\neth0 777777 888888\n";
        fs::rename(tmp, home() / "counters");
    }

    // Every byte the day records hold, as `export --json` lists them.
    std::uint64_t bookedBytes() const
    {
        const nlohmann::json doc = json({"export", "--json"});
        std::uint64_t sum = 0;
        for (const auto& month : doc.at("months")) {
            for (const auto& day : month.at("days")) {
                sum += day.at("bytes").get<std::uint64_t>();
            }
        }
        return sum;
    }

    void setUp(const std::string& planMb, const std::string& startDay, const std::string& usedMb = "0") const
    {
        const CtlRun r = ctl({"setup", "--plan", planMb, "--start-day", startDay, "--used", usedMb});
        ASSERT_EQ(r.code, 0) << r.err;
    }

private:
    TempDir dir_;
};

// Every file below the home directory with its bytes, inode and modification time: a rewrite
// with the same bytes still shows.
std::map<std::string, std::string> snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file()) {
            continue;
        }
        struct stat st{};
        ::stat(e.path().c_str(), &st);
        out[e.path().string()] = std::to_string(st.st_ino) + "/" + std::to_string(st.st_mtim.tv_sec) + "." +
                                 std::to_string(st.st_mtim.tv_nsec) + "/" + readFile(e.path());
    }
    return out;
}

TEST(CtlUsage, UnknownCommandsAndOptionsPrintTheUsageAndExitWith2)
{
    const std::vector<std::vector<std::string>> lines = {
        {"frobnicate"},
        {"--version", "status"},
        {"status", "--frobnicate"},
        {"status", "--json=yes"},
        {"sample", "now"},
        {"setup", "--plan", "500"},
        {"setup", "--plan"},
        {"set", "colour", "5"},
        {"set", "plan"},
        {"reset", "everything"},
        {"export", "--json", "--csv"},
        {"limits", "--day"},
    };
    for (const auto& args : lines) {
        CtlHome h;
        const CtlRun r = h.ctl(args);
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_THAT(r.err, StartsWith("quorvelctl: "));
        EXPECT_THAT(r.err, HasSubstr("usage: quorvelctl"));
        EXPECT_FALSE(fs::exists(h.home() / "data")) << "a usage error touched the files";
        EXPECT_FALSE(fs::exists(h.home() / "config")) << "a usage error touched the files";
    }

    CtlHome h;
    const CtlRun help = h.ctl({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_THAT(help.out, HasSubstr("usage: quorvelctl"));
    EXPECT_EQ(help.err, "");
}

// A refused value: exit 1, one line on stderr that quotes it, and not one file touched.
void expectRefused(const CtlHome& h, const std::vector<std::string>& args, const std::string& value,
                   const std::string& what)
{
    SCOPED_TRACE(::testing::PrintToString(args));
    const auto before = snapshot(h.home());
    const CtlRun r = h.ctl(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr(what));
    EXPECT_THAT(r.err, HasSubstr("'" + value + "'"));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.err.ends_with("\n"));
    EXPECT_EQ(snapshot(h.home()), before);
}

TEST(CtlLimits, TheLimitsReadAsAlertsAtAShareOfAnAmountNotAsClassNames)
{
    CtlHome home;
    home.setCounters(1000, 1000);
    home.setUp("3000", "1");
    const CtlRun r = home.ctl({"limits"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_THAT(r.out, Not(HasSubstr("CTraffic")));
    EXPECT_THAT(r.out, HasSubstr("\nData limit exceeding at 200% of the plan: 6 GB\n"));
    EXPECT_THAT(r.out, HasSubstr("\nData limit exceeding at 120% of the plan: 3.6 GB\n"));
    EXPECT_THAT(r.out, HasSubstr("\nMonthly limit at 90% of the plan: 2.7 GB\n"));
    EXPECT_THAT(r.out, HasSubstr("\nDaily limit at 100% of a day's share of the plan: "));
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 13) << "the switches, then twelve limits";

    ASSERT_EQ(home.ctl({"limits", "--overbound", "off"}).code, 0);
    EXPECT_THAT(home.ctl({"limits"}).out, Not(HasSubstr("Data limit exceeding at")));
}

TEST(CtlValues, InvalidPlansAndStartDaysAreRefusedAndChangeNothing)
{
    // 18446744073710 MB is just above 2^64 bytes.
    const std::vector<std::string> plans = {"0", "-5", "abc", "", "18446744073710", "99999999999999999999999"};
    const std::vector<std::string> days = {"0", "32", "-1", "", "100"};

    CtlHome fresh;  // refused before any set-up: not even the files appear
    for (const std::string& plan : plans) {
        expectRefused(fresh, {"setup", "--plan", plan, "--start-day", "5"}, plan, "plan");
    }
    for (const std::string& day : days) {
        expectRefused(fresh, {"setup", "--plan", "500", "--start-day", day}, day, "start day");
    }
    EXPECT_FALSE(fs::exists(fresh.home() / "data"));
    EXPECT_FALSE(fs::exists(fresh.home() / "config"));

    CtlHome h;
    h.setCounters(1000, 1000);
    h.setUp("500", "5", "10");
    for (const std::string& plan : plans) {
        expectRefused(h, {"set", "plan", plan}, plan, "plan");
        expectRefused(h, {"setup", "--plan", plan, "--start-day", "5"}, plan, "plan");
    }
    for (const std::string& day : days) {
        expectRefused(h, {"set", "start-day", day}, day, "start day");
        expectRefused(h, {"setup", "--plan", "500", "--start-day", day}, day, "start day");
    }
    expectRefused(h, {"set", "used", "99999999999999999999999"}, "99999999999999999999999", "used");

    const nlohmann::json s = h.json({"status", "--json"});
    EXPECT_EQ(s.at("plan"), 500'000'000u);
    EXPECT_EQ(s.at("start_day"), 5);
}

TEST(CtlValues, NegativeUsedDataIsRefusedAndChangesNothing)
{
    CtlHome h;
    h.setCounters(1000, 1000);
    EXPECT_EQ(h.ctl({"setup", "--plan", "500", "--start-day", "1", "--used", "-5"}).code, 1);
    h.setUp("500", "1", "0");
    EXPECT_EQ(h.bookedBytes(), 0u);

    ASSERT_EQ(h.ctl({"set", "used", "10"}).code, 0);
    EXPECT_EQ(h.bookedBytes(), 10'000'000u);
    const CtlRun r = h.ctl({"set", "used", "-7"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(h.bookedBytes(), 10'000'000u);
}

TEST(CtlSetUp, NothingIsSampledBeforeTheSetUpAndItsTrafficIsNeverBooked)
{
    CtlHome h;
    h.setCounters(400'000, 100'000);
    for (const auto& args : std::vector<std::vector<std::string>>{{"status"}, {"status", "--json"}, {"sample"}}) {
        const CtlRun r = h.ctl(args);
        EXPECT_EQ(r.code, 3);
        EXPECT_EQ(r.out, "");
        EXPECT_THAT(r.err, HasSubstr("quorvelctl setup"));
    }
    EXPECT_FALSE(fs::exists(h.stateFile()));

    h.setCounters(900'000, 100'000);
    h.setUp("500", "1", "0");
    const nlohmann::json first = h.json({"status", "--json"});
    EXPECT_EQ(first.at("used"), 0u) << "the counters before the set-up were booked";
    EXPECT_EQ(first.at("booked"), false);

    h.setCounters(901'000, 100'234);
    const nlohmann::json second = h.json({"sample", "--json"});
    EXPECT_EQ(second.at("booked"), true);
    EXPECT_EQ(h.bookedBytes(), 1'234u);
}

TEST(CtlReport, StatusAndSampleReportTheSameFieldsAsJson)
{
    const std::vector<std::string> keys = {"plan",         "used",     "left",    "start_day",      "days_used",
                                           "days_left",    "today",    "avg_per_day", "per_day_left", "estimate",
                                           "roaming",      "booked",   "held",        "alert",          "billing_months", "locations",
                                           "plan_kind", "period_first_day", "period_last_day", "allowance", "rollover",
                                           "addons", "free_used", "expired", "sim"};
    CtlHome h;
    h.setCounters(10'000, 10'000);
    h.setUp("500", "1", "3");
    h.setCounters(15'000, 10'000);

    const nlohmann::json sample = h.json({"sample", "--json"});
    ASSERT_TRUE(sample.is_object());
    h.setCounters(15'000, 17'000);
    const nlohmann::json status = h.json({"status", "--json"});
    ASSERT_TRUE(status.is_object());

    for (const nlohmann::json* doc : {&sample, &status}) {
        std::vector<std::string> got;
        for (const auto& [key, value] : doc->items()) {
            got.push_back(key);
        }
        EXPECT_THAT(got, ::testing::UnorderedElementsAreArray(keys));
        for (const char* number : {"plan", "used", "left", "start_day", "days_used", "days_left", "today",
                                   "avg_per_day", "per_day_left", "estimate", "roaming", "allowance", "rollover",
                                   "free_used"}) {
            EXPECT_TRUE(doc->at(number).is_number_integer()) << number;
        }
        EXPECT_TRUE(doc->at("booked").is_boolean());
        EXPECT_TRUE(doc->at("alert").is_null());
        EXPECT_EQ(doc->at("plan"), 500'000'000u);
        EXPECT_EQ(doc->at("start_day"), 1);
        EXPECT_EQ(doc->at("left").get<std::uint64_t>() + doc->at("used").get<std::uint64_t>(), 500'000'000u);
    }
    EXPECT_EQ(sample.at("booked"), true);
    EXPECT_EQ(sample.at("billing_months"), nlohmann::json::array());
    EXPECT_EQ(sample.at("locations"), nlohmann::json::array());
    EXPECT_EQ(status.at("used").get<std::uint64_t>() - sample.at("used").get<std::uint64_t>(), 7'000u);

    // The current billing month's day list adds up to what the figures call used.
    const nlohmann::json& months = status.at("billing_months");
    ASSERT_FALSE(months.empty());
    for (const auto& m : months) {
        std::vector<std::string> got;
        for (const auto& [key, value] : m.items()) {
            got.push_back(key);
        }
        EXPECT_THAT(got, ::testing::UnorderedElementsAre("period", "first_day", "last_day", "days_count", "used",
                                                         "max_day", "days", "corrections"));
        EXPECT_TRUE(m.at("period").is_string());
        EXPECT_THAT(m.at("first_day").get<std::string>(), ::testing::MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2}"));
        EXPECT_THAT(m.at("last_day").get<std::string>(), ::testing::MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2}"));
        for (const char* number : {"days_count", "used", "max_day"}) {
            EXPECT_TRUE(m.at(number).is_number_integer()) << number;
        }
        for (const auto& d : m.at("days")) {
            EXPECT_EQ(d.size(), 2u) << d.dump();
            EXPECT_THAT(d.at("date").get<std::string>(), ::testing::MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2}"));
            EXPECT_TRUE(d.at("bytes").is_number_integer());
        }
    }
    std::uint64_t days = 0;
    for (const auto& d : months.back().at("days")) {
        days += d.at("bytes").get<std::uint64_t>();
    }
    EXPECT_EQ(days, status.at("used").get<std::uint64_t>());
}

TEST(CtlReport, TrafficIsAttributedToThePlaceGivenWithAt)
{
    CtlHome h;
    h.setCounters(0, 50'000);
    h.setUp("500", "1", "0");

    h.setCounters(10'000, 50'000);
    ASSERT_EQ(h.ctl({"sample", "--at", "52.52,13.405"}).code, 0);
    h.setCounters(15'000, 50'000);  // about 30 m away: the same place
    ASSERT_EQ(h.ctl({"sample", "--at=52.5203,13.405"}).code, 0);
    h.setCounters(15'000, 57'000);  // Munich: a new place
    const nlohmann::json s = h.json({"status", "--json", "--at", "48.137,11.575"});

    const nlohmann::json& places = s.at("locations");
    ASSERT_EQ(places.size(), 2u) << places.dump();
    std::map<std::uint64_t, std::pair<double, double>> byBytes;
    for (const auto& p : places) {
        EXPECT_EQ(p.size(), 4u) << p.dump();
        EXPECT_TRUE(p.at("latitude").is_number() && p.at("longitude").is_number() && p.at("bytes").is_number_integer());
        EXPECT_THAT(p.at("latest").get<std::string>(), ::testing::MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}"));
        byBytes[p.at("bytes").get<std::uint64_t>()] = {p.at("latitude").get<double>(), p.at("longitude").get<double>()};
    }
    ASSERT_EQ(byBytes.count(15'000u), 1u) << places.dump();
    ASSERT_EQ(byBytes.count(7'000u), 1u) << places.dump();
    EXPECT_NEAR(byBytes[15'000u].first, 52.52, 0.001);
    EXPECT_NEAR(byBytes[15'000u].second, 13.405, 0.001);
    EXPECT_DOUBLE_EQ(byBytes[7'000u].first, 48.137);
    EXPECT_DOUBLE_EQ(byBytes[7'000u].second, 11.575);

    for (const char* bad : {"abc", "91,0", "0,181", "1,2,3", "52.5", ""}) {
        const CtlRun r = h.ctl({"sample", "--at", bad});
        EXPECT_EQ(r.code, 1) << bad;
        EXPECT_THAT(r.err, HasSubstr(std::string("'") + bad + "'"));
    }
}

TEST(CtlReport, AnAlertPrintsAsTitleColonBody)
{
    // Two installations with the same history: one prints text, the other JSON.
    CtlHome text;
    CtlHome json;
    for (const CtlHome* h : {&text, &json}) {
        h->setCounters(1'000, 1'000);
        h->setUp("1", "1", "0");
        h->setCounters(2'001'000, 1'000);  // twice the plan
    }
    const CtlRun printed = text.ctl({"sample"});
    const nlohmann::json doc = json.json({"sample", "--json"});
    ASSERT_EQ(printed.code, 0) << printed.err;
    ASSERT_TRUE(doc.at("alert").is_object()) << doc.dump();
    const std::string title = doc.at("alert").at("title");
    const std::string body = doc.at("alert").at("body");
    EXPECT_FALSE(title.empty());
    EXPECT_THAT(body, HasSubstr("exceeded"));
    EXPECT_THAT(printed.out, StartsWith(title + ": " + body + "\n"));
}

// The background sample's alert as a desktop notification: watched on a private session bus.
TEST(CtlReport, WithNotifyTheAlertGoesOutAsADesktopNotificationOfTheApplication)
{
    CtlHome h;
    h.setCounters(1'000, 1'000);
    h.setUp("1", "1", "0");
    h.setCounters(2'001'000, 1'000);  // twice the plan
    const std::string script =
        "dbus-monitor --session \"interface='org.freedesktop.Notifications'\" > \"$HOME/bus\" 2>&1 &\n"
        "until grep -q NameAcquired \"$HOME/bus\" 2>/dev/null; do sleep 0.05; done\n"
        "\"$0\" sample --notify; code=$?\n"
        "sleep 0.3; kill $!; cat \"$HOME/bus\"; exit $code\n";
    std::string out;
    std::string err;
    const int code = quorvel::clitest::runProcess({"dbus-run-session", "--", "sh", "-c", script, QUORVEL_CTL},
                                                  quorvel::clitest::ctlEnvironment(h.home()), out, err);
    if (code == -1 || out.find("NameAcquired") == std::string::npos) {
        GTEST_SKIP() << "no dbus-run-session or dbus-monitor here: " << err;
    }
    ASSERT_EQ(code, 0) << err;
    EXPECT_THAT(out, HasSubstr("member=Notify"));
    EXPECT_THAT(out, HasSubstr("string \"Quorvel\""));
    EXPECT_THAT(out, HasSubstr("string \"Monthly Data Usage\""));
    EXPECT_THAT(out, HasSubstr("exceeded"));
    EXPECT_THAT(out, HasSubstr("string \"org.quorvel.Quorvel\"")) << "names the application to start";
}

TEST(CtlReport, WithoutASessionBusTheAlertIsStillBookedAndPrinted)
{
    CtlHome h;
    h.setCounters(1'000, 1'000);
    h.setUp("1", "1", "0");
    h.setCounters(2'001'000, 1'000);
    std::string out;
    std::string err;
    std::vector<std::string> env = quorvel::clitest::ctlEnvironment(h.home());
    env.push_back("DBUS_SESSION_BUS_ADDRESS=unix:path=" + (h.home() / "no-bus").string());
    const int code = quorvel::clitest::runProcess({QUORVEL_CTL, "sample", "--notify"}, env, out, err);
    EXPECT_EQ(code, 0);
    EXPECT_THAT(out, HasSubstr("exceeded"));
    EXPECT_THAT(err, HasSubstr("could not be sent as a desktop notification"));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

}  // namespace
