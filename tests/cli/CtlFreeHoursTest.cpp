// SPDX-License-Identifier: GPL-3.0-or-later
// The resident watcher splits the plan's free hours exactly: it samples at the window's end, so
// the bytes before it are booked free and those after it charged. Real traffic through a veth
// pair in a network namespace, the local time pinned with libfaketime. Needs root.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "CtlProcess.hpp"
#include "NetNamespaces.hpp"
#include "TestEnv.hpp"
#include "cli/CtlStateWatch.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::clitest::Namespaces;
constexpr const char* kFakeTime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

class FreeHours : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "network namespaces need root";
        }
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "faketime preloads itself ahead of the sanitizer runtime; the plain build runs this";
#endif
        if (!fs::exists(kFakeTime)) {
            GTEST_SKIP() << "libfaketime is not installed";
        }
        ::testing::AssertionResult made = ns.create();
        if (made) {
            made = ns.link("wwan0", "qv-peer0", "10.213.81");
        }
        if (!made) {
            GTEST_SKIP() << "cannot build the namespaces here: " << made.message();
        }
        std::ofstream(home.path() / "boot_id") << "boot-one\n";
    }

    // quorvelctl in the first namespace, its clock starting at `when` and running on. Only
    // quorvelctl is given the clock: a running clock's start is kept in shared memory that the
    // process removes when it ends, and `ip` never ends, it becomes quorvelctl. Left behind, the
    // memory's name would be taken when the process number comes round again.
    std::vector<std::string> command(const std::string& when, const std::vector<std::string>& args) const
    {
        std::vector<std::string> argv = {"ip", "netns", "exec", ns.a(), "env", "LD_PRELOAD=" + std::string(kFakeTime),
                                         "FAKETIME=@" + when, QUORVEL_CTL};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
    std::vector<std::string> environment() const
    {
        std::vector<std::string> env = quorvel::clitest::ctlEnvironment(home.path());
        std::erase_if(env, [](const std::string& v) { return v.starts_with("QUORVEL_COUNTERS="); });
        return env;
    }
    std::string ctl(const std::string& when, const std::vector<std::string>& args) const
    {
        std::string out;
        std::string err;
        EXPECT_EQ(quorvel::clitest::runProcess(command(when, args), environment(), out, err), 0) << err;
        return out;
    }

    Namespaces ns;
    quorvel::test::TempDir home;
};

TEST_F(FreeHours, TheWatcherSamplesAtTheWindowsEndSoTheSplitIsExact)
{
    ctl("2027-01-10 05:00:00", {"setup", "--plan", "20000", "--start-day", "1"});
    ctl("2027-01-10 05:00:00", {"plan", "--free-hours", "00:00-06:00"});
    const std::uint64_t atSetUp = ns.counters("wwan0");

    // The watcher's clock starts 6 s before the window ends and runs on from there.
    const auto started = std::chrono::steady_clock::now();
    const pid_t watcher = quorvel::clitest::startProcess(
        command("2027-01-10 05:59:54", {"watch"}), environment(),
        (home.path() / "out").string(), (home.path() / "err").string());
    ASSERT_GT(watcher, 0);
    ASSERT_TRUE(quorvel::clitest::waitForText(home.path() / "out", quorvel::clitest::kWatcherReady));

    ASSERT_TRUE(ns.transfer("10.213.81.2", 2'000'000, 0));
    const std::uint64_t beforeTheEdge = ns.counters("wwan0");
    ASSERT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << "the machine is too slow";
    // The window ends 6 s after the start; its edge is sampled a second after it.
    std::this_thread::sleep_until(started + std::chrono::seconds(9));
    ASSERT_TRUE(ns.transfer("10.213.81.2", 3'000'000, 0));
    const std::uint64_t atTheEnd = ns.counters("wwan0");
    ::kill(watcher, SIGTERM);
    EXPECT_EQ(quorvel::clitest::waitForProcess(watcher), 0) << quorvel::clitest::readFile(home.path() / "err");

    const nlohmann::json exported = nlohmann::json::parse(ctl("2027-01-10 07:00:00", {"export", "--json"}));
    const nlohmann::json& day = exported.at("months").back().at("days").back();
    EXPECT_EQ(day.at("date"), "2027-01-10");
    EXPECT_EQ(day.at("bytes"), atTheEnd - atSetUp) << "every byte booked";
    // The free share is what was counted up to the edge's sample: the first transfer and what its
    // connection's last packets added after its counters were read (a few hundred bytes).
    const std::uint64_t free = day.at("free_bytes").get<std::uint64_t>();
    EXPECT_GE(free, beforeTheEdge - atSetUp);
    EXPECT_LT(free, beforeTheEdge - atSetUp + 4096);

    const nlohmann::json status = nlohmann::json::parse(ctl("2027-01-10 07:00:00", {"status", "--json"}));
    EXPECT_EQ(status.at("free_used"), free);
    EXPECT_EQ(status.at("used"), atTheEnd - atSetUp - free) << "the rest is charged";
}

}  // namespace
