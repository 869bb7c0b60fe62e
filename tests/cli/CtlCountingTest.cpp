// SPDX-License-Identifier: GPL-3.0-or-later
// What quorvelctl books from interface counters it reads from a file: 64-bit counters, interfaces
// that come and go, boots, the points from which set-up, `set used` and `interfaces --count`
// measure, the `interfaces` command itself, and a state file written before per-interface
// baselines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"

#include "CtlProcess.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::test::TempDir;

constexpr std::uint64_t kGiB = 1ull << 30;

// One interface line of the counters file: rx, tx and the kernel's index.
struct Link {
    std::uint64_t rx = 0;
    std::uint64_t tx = 0;
    int index = 0;
};

class CountingHome {
public:
    const fs::path& home() const { return dir_.path(); }
    fs::path stateFile() const { return home() / "data/quorvel/statestg"; }

    int ctl(const std::vector<std::string>& args, std::string* out = nullptr) const
    {
        std::string o;
        std::string e;
        const int code = quorvel::clitest::runCtl(home(), args, o, e);
        if (out != nullptr) {
            *out = o;
        }
        lastError = e;
        return code;
    }
    void run(const std::vector<std::string>& args) const
    {
        ASSERT_EQ(ctl(args), 0) << ::testing::PrintToString(args) << ": " << lastError;
    }

    // Every interface at once, written whole so that no run reads half a file.
    void links(const std::map<std::string, Link>& all) const
    {
        const fs::path tmp = home() / "counters.tmp";
        {
            std::ofstream out(tmp);
            for (const auto& [name, l] : all) {
                out << name << " " << l.rx << " " << l.tx;
                if (l.index != 0) {
                    out << " " << l.index;
                }
                out << "\n";
            }
        }
        fs::rename(tmp, home() / "counters");
    }
    void boot(const std::string& id) const { std::ofstream(home() / "boot_id") << id << "\n"; }
    // The set-up on these interfaces, in boot "a".
    void setUp(const std::map<std::string, Link>& all) const
    {
        boot("a");
        links(all);
        run({"setup", "--plan", "2000", "--start-day", "1", "--used", "0"});
    }

    std::uint64_t booked() const
    {
        std::string out;
        EXPECT_EQ(ctl({"export", "--json"}, &out), 0) << lastError;
        return quorvel::clitest::exportedBytes(nlohmann::json::parse(out));
    }
    // What one more sample books.
    std::uint64_t sampled() const
    {
        const std::uint64_t before = booked();
        run({"sample"});
        return booked() - before;
    }

    nlohmann::json interfaces(const std::vector<std::string>& extra = {}) const
    {
        std::vector<std::string> args = {"interfaces", "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::string out;
        EXPECT_EQ(ctl(args, &out), 0) << lastError;
        return nlohmann::json::parse(out, nullptr, false);
    }

    mutable std::string lastError;

private:
    TempDir dir_;
};

TEST(CtlCounting, SixtyFourBitCountersAreBookedExactlyWhateverTheyCarried)
{
    CountingHome h;
    h.setUp({{"wwan0", {1000, 1000}}, {"wlan0", {5, 5}}});
    EXPECT_EQ(h.booked(), 0u) << "the counters before the set-up are not this plan's";

    h.links({{"wwan0", {1000 + 5 * kGiB, 1000}}, {"wlan0", {6 * kGiB, 5}}});
    EXPECT_EQ(h.sampled(), 5 * kGiB);
    h.links({{"wwan0", {1000 + 9 * kGiB, 1000 + 4 * kGiB + 17}}, {"wlan0", {6 * kGiB, 5}}});
    EXPECT_EQ(h.sampled(), 8 * kGiB + 17) << "more than 8 GiB between two samples";
}

TEST(CtlCounting, InterfacesThatGoAndComeBackBookOnlyTheirOwnTraffic)
{
    CountingHome h;
    h.setUp({{"wwan0", {300'000'000, 0, 10}}, {"wwan1", {1000, 0, 11}}});

    h.links({{"wwan1", {1500, 0, 11}}});
    EXPECT_EQ(h.sampled(), 500u) << "the one that remained; nothing for the one that went";

    h.links({{"wwan0", {64, 36, 12}}, {"wwan1", {1500, 0, 11}}});
    EXPECT_EQ(h.sampled(), 100u) << "made again under the same name: it counts from zero";
}

TEST(CtlCounting, ABootIsToldByItsIdentityAndSetUsedMeasuresFromItsOwnMoment)
{
    CountingHome h;
    h.boot("first");
    h.links({{"wwan0", {900'000'000, 100'000'000}}});
    h.run({"setup", "--plan", "2000", "--start-day", "1", "--used", "0"});

    h.boot("second");
    h.links({{"wwan0", {30'000'000, 20'000'000}}});
    EXPECT_EQ(h.sampled(), 50'000'000u) << "the counters since the new boot";

    h.boot("third");
    h.links({{"wwan0", {40'000'000, 10'000'000}}});
    h.run({"set", "used", "100"});
    EXPECT_EQ(h.booked(), 100'000'000u) << "traffic before `set used` is in what the user entered";
    EXPECT_EQ(h.sampled(), 0u);
    h.links({{"wwan0", {40'000'123, 10'000'000}}});
    EXPECT_EQ(h.sampled(), 123u);
}

TEST(CtlCounting, InterfacesListsEveryLinkAndChoicesTakeEffect)
{
    CountingHome h;
    h.setUp({{"wwan0", {10, 20}}, {"eth1", {5'000'000, 1'000'000}}});

    const nlohmann::json listed = h.interfaces();
    ASSERT_EQ(listed.size(), 1u);
    ASSERT_EQ(listed.at("interfaces").size(), 2u);
    std::map<std::string, nlohmann::json> byName;
    for (const auto& i : listed.at("interfaces")) {
        std::vector<std::string> keys;
        for (const auto& [k, v] : i.items()) {
            keys.push_back(k);
        }
        EXPECT_THAT(keys, ::testing::UnorderedElementsAre("name", "counted", "reason", "rx_bytes", "tx_bytes"));
        byName[i.at("name")] = i;
    }
    EXPECT_EQ(byName["wwan0"].at("counted"), true);
    EXPECT_EQ(byName["wwan0"].at("reason"), "name");
    EXPECT_EQ(byName["eth1"].at("counted"), false);
    EXPECT_EQ(byName["eth1"].at("reason"), "none");
    EXPECT_EQ(byName["eth1"].at("rx_bytes"), 5'000'000u);

    // `--count` measures from the moment it runs: what wwan0 carried since the last sample is
    // not booked.
    h.links({{"wwan0", {5000, 20}}, {"eth1", {5'000'000, 1'000'000}}});
    h.interfaces({"--count", "wwan0"});
    EXPECT_EQ(h.sampled(), 0u);
    h.links({{"wwan0", {5400, 20}}, {"eth1", {5'000'000, 1'000'000}}});
    EXPECT_EQ(h.sampled(), 400u);
}

// Needs the user's choices in the interface selection rules; enabled once they are in.
TEST(CtlCounting, TheUsersChoicesDecideWhatIsCounted)
{
    CountingHome h;
    h.setUp({{"wwan0", {10, 20}}, {"eth1", {5'000'000, 1'000'000}}});

    // A tethered phone on eth1, counted from the moment the user says so: none of its history.
    h.links({{"wwan0", {10, 20}}, {"eth1", {7'000'000, 1'000'000}}});
    const nlohmann::json counted = h.interfaces({"--count", "eth1"});
    for (const auto& i : counted.at("interfaces")) {
        if (i.at("name") == "eth1") {
            EXPECT_EQ(i.at("counted"), true);
            EXPECT_EQ(i.at("reason"), "user");
        }
    }
    EXPECT_EQ(h.sampled(), 0u);
    h.links({{"wwan0", {10, 20}}, {"eth1", {7'000'400, 1'000'000}}});
    EXPECT_EQ(h.sampled(), 400u);

    h.interfaces({"--ignore", "wwan0"});
    h.links({{"wwan0", {999, 20}}, {"eth1", {7'000'400, 1'000'000}}});
    EXPECT_EQ(h.sampled(), 0u) << "an ignored interface books nothing";
    h.interfaces({"--auto", "wwan0"});
    h.links({{"wwan0", {1999, 20}}, {"eth1", {7'000'400, 1'000'000}}});
    EXPECT_EQ(h.sampled(), 1000u) << "back to detection: counted by its name again";
}

TEST(CtlCounting, RefusedInterfaceValuesExitWith1AndChangeNothing)
{
    CountingHome h;
    h.setUp({{"wwan0", {10, 20}}});
    const std::string before = readFile(h.stateFile());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"interfaces", "--metered", "maybe"},
             {"interfaces", "--count", "much/too"},
             {"interfaces", "--ignore", "a-name-longer-than-15"},
             {"interfaces", "--count", "wwan0", "--auto", ""},
             {"interfaces", "--count", "wwan0", "--metered", "yes"}}) {
        EXPECT_EQ(h.ctl(args), 1) << ::testing::PrintToString(args);
        EXPECT_THAT(h.lastError, ::testing::HasSubstr("invalid")) << ::testing::PrintToString(args);
    }
    EXPECT_EQ(readFile(h.stateFile()), before);
    EXPECT_EQ(h.ctl({"interfaces", "wwan0"}), 2) << "a name needs its option";

    h.run({"interfaces", "--metered", "on"});
    std::string text;
    h.ctl({"interfaces"}, &text);
    EXPECT_THAT(text, ::testing::HasSubstr("Counting metered connections: on"));
}

// A state file and preferences written by quorvelctl before it kept a baseline per interface:
// it summed wwan0 and rmnet_data1 as 32-bit counters into 4,100,004,000 bytes, and had booked
// 100 MB from the set-up plus 610,001,000 bytes on 10 March 2026.
class CtlOldState : public ::testing::Test {
protected:
    void SetUp() override
    {
        const fs::path data = fs::path(QUORVEL_TEST_DATA) / "before-per-interface-baselines";
        fs::create_directories(h.stateFile().parent_path());
        fs::create_directories(h.home() / "config/quorvel");
        fs::copy_file(data / "defaults.json", h.home() / "config/quorvel/defaults.json");
        nlohmann::json state = nlohmann::json::parse(readFile(data / "statestg"));
        state["$root"]["pTraffics"]["trafficObtainer"]["SystemUpTime"] = storedUptime;
        std::ofstream(h.stateFile()) << state.dump();
    }
    std::string exported() const
    {
        std::string out;
        EXPECT_EQ(h.ctl({"export"}, &out), 0) << h.lastError;
        return out;
    }

    CountingHome h;
    double storedUptime = 1.0;  // below any uptime now: the same boot
};

TEST_F(CtlOldState, LoadsWithEveryFigureAndItsFirstSampleBooksWhatCanBeKnown)
{
    const std::string before = exported();
    EXPECT_THAT(before, ::testing::HasSubstr("2026-03-10,610001000,day,0\n"));
    EXPECT_THAT(before, ::testing::HasSubstr("2026-03-01,10000000,day,0\n"));
    std::string out;
    ASSERT_EQ(h.ctl({"limits"}, &out), 0) << h.lastError;
    EXPECT_THAT(out, ::testing::HasSubstr("Monthly limit at 90% of the plan: 1.8 GB")) << "the 2000 MB plan";

    // wwan0 went past 2^32 since (5,000,000,000 is 705,032,704 modulo 2^32): 1,000 bytes grew
    // on rmnet_data1 and the old sum cannot see more.
    h.links({{"wwan0", {3'500'000'000, 600'000'000}}, {"wlan0", {77, 88}}, {"rmnet_data1", {2500, 2500}}});
    EXPECT_EQ(h.sampled(), 1000u);
    h.links({{"wwan0", {5'000'000'000, 600'000'000}}, {"wlan0", {77, 88}}, {"rmnet_data1", {2500, 2500}}});
    EXPECT_EQ(h.sampled(), 1'500'000'000u) << "from then on every interface's own 64-bit growth";
    EXPECT_THAT(exported(), ::testing::HasSubstr("2026-03-01,10000000,day,0\n"));
}

class CtlOldStateAfterReboot : public CtlOldState {
protected:
    CtlOldStateAfterReboot() { storedUptime = 1e12; }
};

TEST_F(CtlOldStateAfterReboot, BooksTheWholeCountersSinceTheBoot)
{
    h.links({{"wwan0", {3000, 2000}}, {"wlan0", {77, 88}}});
    EXPECT_EQ(h.sampled(), 5000u);
}

}  // namespace
