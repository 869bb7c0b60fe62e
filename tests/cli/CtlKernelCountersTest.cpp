// SPDX-License-Identifier: GPL-3.0-or-later
// quorvelctl on the kernel's own counters: a network namespace whose cellular interfaces are
// ends of veth pairs, real TCP traffic through them, and the growth of their counters booked to
// the byte, across interfaces removed and made again, boots and stacked links. Needs root and
// `ip netns`; skipped otherwise.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"

#include "CtlProcess.hpp"
#include "NetNamespaces.hpp"
#include "platform/Fd.hpp"


namespace {

namespace fs = std::filesystem;
using quorvel::Fd;
using quorvel::test::TempDir;

using quorvel::clitest::ip;
using quorvel::clitest::Namespaces;

class KernelCounters : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "network namespaces need root";
        }
        if (!ip({"netns", "list"})) {
            GTEST_SKIP() << "ip netns is not available";
        }
    }

    // quorvelctl inside the first namespace, on the kernel's counters there.
    std::string ctl(const std::vector<std::string>& args) const
    {
        std::vector<std::string> argv = {"ip", "netns", "exec", ns.a()};
        if (!pinnedDate.empty()) {
            argv.insert(argv.end(), {"faketime", pinnedDate});
        }
        argv.push_back(QUORVEL_CTL);
        argv.insert(argv.end(), args.begin(), args.end());
        return inNamespace(argv, ::testing::PrintToString(args));
    }

    // A program run with quorvelctl's files below the test's home; its standard output.
    std::string inNamespace(const std::vector<std::string>& argv, const std::string& what,
                            const std::vector<std::string>& moreEnv = {}) const
    {
        const fs::path& h = home.path();
        std::string out;
        std::string err;
        std::vector<std::string> env = {"HOME=" + h.string(), "XDG_DATA_HOME=" + (h / "data").string(),
                                        "XDG_CONFIG_HOME=" + (h / "config").string(),
                                        "XDG_STATE_HOME=" + (h / "state").string(),
                                        "QUORVEL_BOOT_ID_FILE=" + (h / "boot_id").string()};
        env.insert(env.end(), moreEnv.begin(), moreEnv.end());
        EXPECT_EQ(quorvel::clitest::runProcess(argv, env, out, err), 0)
            << what << ": " << err;
        EXPECT_EQ(err, "");
        return out;
    }

    // Runs `status --waybar` `times` times in the first namespace under strace, and returns the
    // traced calls that write, replace or flush the state file or the user defaults.
    std::vector<std::string> writesOfIdleStatus(int times) const
    {
        const fs::path trace = home.path() / "trace";
        const std::string loop = "i=0; while [ $i -lt " + std::to_string(times) + " ]; do \"" QUORVEL_CTL
                                 "\" status --waybar >/dev/null || exit 1; i=$((i + 1)); done";
        inNamespace({"ip", "netns", "exec", ns.a(), "strace", "-f", "-qq", "-o", trace.string(), "-e",
                     "trace=openat,rename,renameat,renameat2,fsync,fdatasync,sync_file_range", "sh", "-c", loop},
                    "the traced status runs",
                    // LeakSanitizer refuses to run under ptrace; the untraced runs keep the leak check.
                    {"ASAN_OPTIONS=detect_leaks=0"});
        std::vector<std::string> writes;
        std::istringstream lines(quorvel::clitest::readFile(trace));
        for (std::string line; std::getline(lines, line);) {
            const bool ours = line.find("/statestg") != std::string::npos ||
                              line.find("/defaults.json") != std::string::npos;
            const bool forWriting = line.find("O_WRONLY") != std::string::npos ||
                                    line.find("O_RDWR") != std::string::npos;
            const bool opened = line.find("openat(") != std::string::npos;
            // The one-writer lock beside the state is opened for writing to be locked, never written.
            const bool lock = line.find("statestg.lock") != std::string::npos;
            if ((opened && ours && forWriting && !lock) || (!opened && line.find('(') != std::string::npos)) {
                writes.push_back(line);
            }
        }
        return writes;
    }

    std::uint64_t bookedBytes() const
    {
        return quorvel::clitest::exportedBytes(nlohmann::json::parse(ctl({"export", "--json"})));
    }

    // Samples while the named interfaces' counters stand still, so that the sample saw exactly
    // the values read before and after it. Returns their sum.
    std::optional<std::uint64_t> bracketedSample(const std::vector<std::string>& names = {"wwan0"}) const
    {
        const auto sum = [&] {
            std::uint64_t s = 0;
            for (const std::string& n : names) {
                s += ns.counters(n);
            }
            return s;
        };
        for (int attempt = 0; attempt < 20; ++attempt) {
            const std::uint64_t before = sum();
            ctl({"sample"});
            if (sum() == before) {
                return before;
            }
        }
        return std::nullopt;
    }

    // The namespaces with the veth pairs (name in the first, peer, /30 network); false skips.
    bool build(const std::vector<std::array<std::string, 3>>& links)
    {
        ::testing::AssertionResult made = ns.create();
        for (const auto& [name, peer, net] : links) {
            if (made) {
                made = ns.link(name, peer, net);
            }
        }
        if (!made) {
            skipWhy = made.message();
        }
        return made;
    }
    void setUp() const
    {
        std::ofstream(home.path() / "boot_id") << "boot-one\n";
        ctl({"setup", "--plan", "20000", "--start-day", "1", "--used", "0"});
    }

    // The local time quorvelctl runs at ("2024-05-25 12:00:00"); empty: the real time.
    std::string pinnedDate;
    Namespaces ns;
    TempDir home;
    std::string skipWhy;
};

TEST_F(KernelCounters, TheGrowthOfTheCellularInterfaceIsBookedToTheByte)
{
    // A host that cannot make namespaces or veth pairs (a container without the rights, a kernel
    // without veth) cannot run this test; that says nothing about quorvelctl.
    ::testing::AssertionResult made = ns.create();
    if (made) {
        made = ns.link("wwan0", "qv-peer0", "10.213.77");
    }
    if (made) {
        made = ns.link("eth7", "qv-peer1", "10.213.78");  // not cellular: never counted
    }
    if (!made) {
        GTEST_SKIP() << "cannot build the namespaces here: " << made.message();
    }

    ctl({"setup", "--plan", "2000", "--start-day", "1", "--used", "0"});
    const std::optional<std::uint64_t> first = bracketedSample();
    ASSERT_TRUE(first) << "wwan0's counters never stood still";
    const std::uint64_t bookedFirst = bookedBytes();

    ASSERT_TRUE(ns.transfer("10.213.77.2", 300'000, 120'000));
    const std::optional<std::uint64_t> second = bracketedSample();
    ASSERT_TRUE(second) << "wwan0's counters never stood still";
    const std::uint64_t bookedSecond = bookedBytes();
    EXPECT_GT(*second - *first, 420'000u) << "the traffic did not go through wwan0";
    EXPECT_EQ(bookedSecond - bookedFirst, *second - *first);
    RecordProperty("wwan0_growth", std::to_string(*second - *first));

    // Traffic over another interface moves wwan0's counters by nothing, and books nothing more.
    const std::uint64_t eth7 = ns.counters("eth7");
    ASSERT_TRUE(ns.transfer("10.213.78.2", 200'000, 50'000));
    EXPECT_GT(ns.counters("eth7") - eth7, 250'000u);
    const std::optional<std::uint64_t> third = bracketedSample();
    ASSERT_TRUE(third) << "wwan0's counters never stood still";
    EXPECT_EQ(bookedBytes() - bookedSecond, *third - *second);
}

TEST_F(KernelCounters, ALinkThatWentAwayBooksNothingMoreAndOneMadeAgainCountsFromZero)
{
    if (!build({{"wwan0", "qv-peer0", "10.213.81"}, {"wwan1", "qv-peer1", "10.213.82"}})) {
        GTEST_SKIP() << "cannot build the namespaces here: " << skipWhy;
    }
    setUp();
    ASSERT_TRUE(ns.transfer("10.213.81.2", 2'000'000, 100'000));  // wwan0 carries a lot
    ASSERT_TRUE(ns.transfer("10.213.82.2", 50'000, 10'000));
    const auto first = bracketedSample({"wwan0", "wwan1"});
    ASSERT_TRUE(first);
    const std::uint64_t wwan1 = ns.counters("wwan1");
    const std::uint64_t booked = bookedBytes();

    ASSERT_TRUE(ns.inA({"link", "del", "wwan0"}));
    ASSERT_TRUE(ns.transfer("10.213.82.2", 70'000, 30'000));
    const auto second = bracketedSample({"wwan1"});
    ASSERT_TRUE(second);
    EXPECT_EQ(bookedBytes() - booked, *second - wwan1) << "only wwan1's growth";

    ASSERT_TRUE(ns.link("wwan0", "qv-peer0", "10.213.81"));
    ASSERT_TRUE(ns.transfer("10.213.81.2", 40'000, 5'000));
    const std::uint64_t bookedBefore = bookedBytes();
    const auto third = bracketedSample({"wwan0", "wwan1"});
    ASSERT_TRUE(third);
    EXPECT_EQ(bookedBytes() - bookedBefore, *third - *second) << "the new wwan0's whole counter, wwan1's growth";
    EXPECT_LT(ns.counters("wwan0"), 1'000'000u) << "the new wwan0 began from zero";
}

TEST_F(KernelCounters, ANewBootBooksTheWholeCountersSinceIt)
{
    if (!build({{"wwan0", "qv-peer0", "10.213.83"}})) {
        GTEST_SKIP() << "cannot build the namespaces here: " << skipWhy;
    }
    ASSERT_TRUE(ns.transfer("10.213.83.2", 300'000, 0));
    setUp();
    ASSERT_TRUE(bracketedSample());
    const std::uint64_t booked = bookedBytes();
    // A counter that ran since an earlier sample would be growth; after a new boot it is all new.
    ASSERT_TRUE(ns.transfer("10.213.83.2", 20'000, 0));
    std::ofstream(home.path() / "boot_id") << "boot-two\n";
    const auto now = bracketedSample();
    ASSERT_TRUE(now);
    EXPECT_EQ(bookedBytes() - booked, *now);
}

// Needs the rule that skips a lower link carrying counted upper links (interface selection);
// enabled once that rule is in. A kernel without VLANs gets a macvlan, stacked the same way.
TEST_F(KernelCounters, AVlanOverACountedLinkIsBookedOnce)
{
    if (!build({{"wwan0", "qv-peer0", "10.213.84"}})) {
        GTEST_SKIP() << "cannot build the namespaces here: " << skipWhy;
    }
    const bool vlan = ns.inA({"link", "add", "link", "wwan0", "name", "wwan0.7", "type", "vlan", "id", "7"});
    if (vlan) {
        ASSERT_TRUE(ns.inB({"link", "add", "link", "qv-peer0", "name", "qv-peer0.7", "type", "vlan", "id", "7"}));
        ASSERT_TRUE(ns.inB({"link", "set", "qv-peer0.7", "up"}));
    } else {
        ASSERT_TRUE(ns.inA({"link", "add", "link", "wwan0", "name", "wwan0.7", "type", "macvlan", "mode", "bridge"}));
    }
    ASSERT_TRUE(ns.inA({"addr", "add", "10.213.85.1/30", "dev", "wwan0.7"}));
    ASSERT_TRUE(ns.inA({"link", "set", "wwan0.7", "up"}));
    ASSERT_TRUE(ns.inB({"addr", "add", "10.213.85.2/30", "dev", vlan ? "qv-peer0.7" : "qv-peer0"}));
    setUp();
    const auto first = bracketedSample({"wwan0.7"});
    ASSERT_TRUE(first);
    const std::uint64_t booked = bookedBytes();
    ASSERT_TRUE(ns.transfer("10.213.85.2", 400'000, 100'000));
    const auto second = bracketedSample({"wwan0.7", "wwan0"});
    ASSERT_TRUE(second);
    EXPECT_EQ(bookedBytes() - booked, ns.counters("wwan0.7") - *first) << "the VLAN's bytes, not twice";
}

TEST_F(KernelCounters, MoreThan4GiBBetweenTwoSamplesIsBookedExactly)
{
    if (!build({{"wwan0", "qv-peer0", "10.213.86"}})) {
        GTEST_SKIP() << "cannot build the namespaces here: " << skipWhy;
    }
    setUp();
    const auto first = bracketedSample();
    ASSERT_TRUE(first);
    const std::uint64_t booked = bookedBytes();
    ASSERT_TRUE(ns.transfer("10.213.86.2", 4'400'000'000, 0));
    const auto second = bracketedSample();
    ASSERT_TRUE(second);
    EXPECT_GT(*second - *first, 1ull << 32);
    EXPECT_EQ(bookedBytes() - booked, *second - *first);
}

// Billing periods from the 15th with a plan of 10 MB, on real traffic: each period warns at
// 90 % and over the plan once, whichever calendar month its days fall in.
TEST_F(KernelCounters, WarningsFollowTheBillingPeriod)
{
    ::testing::AssertionResult made = ns.create();
    if (made) {
        made = ns.link("wwan0", "qv-peer0", "10.213.79");
    }
    if (!made) {
        GTEST_SKIP() << "cannot build the namespaces here: " << made.message();
    }
    std::string probe;
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "faketime preloads itself ahead of the sanitizer runtime; the plain build runs this";
#endif
    if (quorvel::clitest::runProcess({"faketime", "2024-05-11 12:00:00", "true"}, {}, probe, probe) != 0) {
        GTEST_SKIP() << "faketime is not installed";
    }
    // What one byte sent costs on wwan0, headers and acknowledgements included.
    const std::uint64_t before = ns.counters("wwan0");
    ASSERT_TRUE(ns.transfer("10.213.79.2", 1'000'000, 0));
    const double perByte = static_cast<double>(ns.counters("wwan0") - before) / 1e6;
    const auto send = [&](double counted) {
        ASSERT_TRUE(ns.transfer("10.213.79.2", static_cast<std::size_t>(counted / perByte), 0));
    };
    const auto sampleAt = [&](const std::string& when) {
        pinnedDate = when;
        const nlohmann::json doc = nlohmann::json::parse(ctl({"sample", "--json"}), nullptr, false);
        EXPECT_TRUE(doc.is_object());
        return doc.is_object() && doc.at("alert").is_object() ? doc.at("alert").at("title").get<std::string>()
                                                               : std::string("none");
    };

    pinnedDate = "2024-05-11 12:00:00";
    ctl({"setup", "--plan", "10", "--start-day", "15", "--used", "11"});  // the period from 15 April: over
    send(20'000);
    EXPECT_EQ(sampleAt("2024-05-11 12:30:00"), "Monthly Data Usage");

    send(9'500'000);  // 95 % of the period from 15 May
    EXPECT_EQ(sampleAt("2024-05-25 12:00:00"), "Data Usage Warning");
    send(1'500'000);  // 110 %
    EXPECT_EQ(sampleAt("2024-05-26 12:00:00"), "Monthly Data Usage");
    send(20'000);     // the same period in June, below the day's share: nothing new
    EXPECT_EQ(sampleAt("2024-06-01 12:00:00"), "none");
}

// A phone that boots with its clock at 1970, or a clock set a week back, while three months are
// stored: the kernel's growth is held, no month is evicted, and all of it is booked once the clock
// is right again, to the byte.
TEST_F(KernelCounters, AClockAt1970OrAWeekBackLosesNoByteAndEvictsNoMonth)
{
    if (!build({{"wwan0", "qv-peer0", "10.213.87"}})) {
        GTEST_SKIP() << "cannot build the namespaces here: " << skipWhy;
    }
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "faketime preloads itself ahead of the sanitizer runtime; the plain build runs this";
#endif
    std::string probe;
    if (quorvel::clitest::runProcess({"faketime", "2024-05-11 12:00:00", "true"}, {}, probe, probe) != 0) {
        GTEST_SKIP() << "faketime is not installed";
    }
    std::ofstream(home.path() / "boot_id") << "boot-one\n";
    pinnedDate = "2026-10-05 12:00:00";
    ctl({"setup", "--plan", "20000", "--start-day", "1", "--used", "0"});
    for (const char* when : {"2026-10-05 13:00:00", "2026-11-05 12:00:00", "2026-12-05 12:00:00"}) {
        ASSERT_TRUE(ns.transfer("10.213.87.2", 200'000, 50'000));
        pinnedDate = when;
        ASSERT_TRUE(bracketedSample());
    }
    const auto months = [&] { return nlohmann::json::parse(ctl({"export", "--json"})).at("months").size(); };
    ASSERT_EQ(months(), 3u);
    const std::uint64_t booked = bookedBytes();
    const std::uint64_t counter = ns.counters("wwan0");

    for (const char* wrong : {"1970-01-02 08:00:00", "2026-11-28 12:00:00"}) {
        ASSERT_TRUE(ns.transfer("10.213.87.2", 300'000, 20'000));
        pinnedDate = wrong;
        const std::string said = ctl({"sample"});
        EXPECT_NE(said.find("held"), std::string::npos) << wrong << ": the message says why: " << said;
        EXPECT_EQ(bookedBytes(), booked) << wrong << ": nothing booked into the past";
        EXPECT_EQ(months(), 3u) << wrong << ": no month evicted";
    }
    pinnedDate = "2026-12-05 18:00:00";
    const auto now = bracketedSample();
    ASSERT_TRUE(now);
    EXPECT_EQ(bookedBytes() - booked, *now - counter) << "the kernel's growth, to the byte";
    EXPECT_EQ(months(), 3u);
}

// A laptop running containers: thousands of links that are not counted. The state keeps no
// counters for them, stays small, and the counted link's history stays whole.
TEST_F(KernelCounters, ThousandsOfLinksKeepTheStateSmallAndTheHistoryWhole)
{
    if (!build({{"wwan0", "qv-peer0", "10.213.88"}})) {
        GTEST_SKIP() << "cannot build the namespaces here: " << skipWhy;
    }
    const fs::path batch = home.path() / "links";
    {
        std::ofstream out(batch);
        for (int i = 0; i < 2500; ++i) {  // veth pairs: every kernel that runs these tests has them
            out << "link add qvd" << i << " type veth peer name qve" << i << "\n";
        }
    }
    ASSERT_TRUE(ns.inA({"-batch", batch.string()}));
    setUp();
    ASSERT_TRUE(bracketedSample());
    const std::uint64_t booked = bookedBytes();
    const std::uint64_t counter = ns.counters("wwan0");
    ASSERT_TRUE(ns.transfer("10.213.88.2", 500'000, 100'000));
    const auto now = bracketedSample();
    ASSERT_TRUE(now);
    EXPECT_EQ(bookedBytes() - booked, *now - counter);
    const auto size = fs::file_size(home.path() / "data" / "quorvel" / "statestg");
    EXPECT_LT(size, 64u * 1024) << "far below the 1 MiB a file may have to be read back";
    RecordProperty("state_bytes_with_5000_links", std::to_string(size));
}

TEST_F(KernelCounters, IdleStatusRunsWriteNothingAndTheNextGrowthIsBookedWhole)
{
    if (!build({{"wwan0", "qv-peer0", "10.213.91"}})) {
        GTEST_SKIP() << "cannot build the namespaces here: " << skipWhy;
    }
    setUp();
    const std::optional<std::uint64_t> first = bracketedSample();
    ASSERT_TRUE(first) << "wwan0's counters never stood still";
    const std::uint64_t booked = bookedBytes();
    const fs::path state = home.path() / "data" / "quorvel" / "statestg";
    const std::string stored = quorvel::clitest::readFile(state);

    const std::vector<std::string> writes = writesOfIdleStatus(100);
    ASSERT_EQ(ns.counters("wwan0"), *first) << "wwan0 carried traffic: the runs were not idle";
    EXPECT_TRUE(writes.empty()) << writes.size() << " writes, the first: " << writes.front();
    EXPECT_EQ(quorvel::clitest::readFile(state), stored);

    ASSERT_TRUE(ns.transfer("10.213.91.2", 200'000, 80'000));
    const std::optional<std::uint64_t> second = bracketedSample();
    ASSERT_TRUE(second) << "wwan0's counters never stood still";
    EXPECT_GT(*second - *first, 280'000u) << "the traffic did not go through wwan0";
    EXPECT_EQ(bookedBytes() - booked, *second - *first) << "exactly the growth since the last booking";
}

}  // namespace
