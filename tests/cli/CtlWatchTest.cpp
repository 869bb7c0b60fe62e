// SPDX-License-Identifier: GPL-3.0-or-later
// quorvelctl watch as a user meets it: one per user, the login entry, the last sample at
// termination, the wait for the set-up; and on the kernel's own links (a network namespace with a
// veth pair whose counted end is wwan0): the last traffic of a link deleted before any sample,
// and samples of other processes running at the same time, all booked to the byte.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"

#include "CtlProcess.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::clitest::waitForText;
using quorvel::test::TempDir;

using quorvel::clitest::kWatcherReady;
constexpr const char* kReady = kWatcherReady;

// The sum of every day's cellular bytes in `quorvelctl export --json`.
std::uint64_t bookedIn(const std::string& exportJson)
{
    const nlohmann::json doc = nlohmann::json::parse(exportJson);
    std::uint64_t sum = 0;
    for (const auto& month : doc.at("months")) {
        for (const auto& day : month.at("days")) {
            sum += day.at("bytes").get<std::uint64_t>();
        }
    }
    return sum;
}

int terminate(pid_t pid)
{
    ::kill(pid, SIGTERM);
    return quorvel::clitest::waitForProcess(pid);
}

// ---- On counters from a file: one home directory, no kernel involved. ----

class Watcher : public ::testing::Test {
protected:
    int ctl(const std::vector<std::string>& args)
    {
        return quorvel::clitest::runCtl(home(), args, out, err);
    }
    void setCounters(std::uint64_t rx, std::uint64_t tx) const
    {
        std::ofstream(home() / "counters.tmp") << "wwan0 " << rx << " " << tx << "\n";
        fs::rename(home() / "counters.tmp", home() / "counters");
    }
    pid_t startWatch(const std::string& name)
    {
        return quorvel::clitest::startCtl(home(), {"watch"}, (home() / (name + ".out")).string(),
                                          (home() / (name + ".err")).string());
    }
    std::uint64_t booked()
    {
        EXPECT_EQ(ctl({"export", "--json"}), 0) << err;
        return bookedIn(out);
    }
    const fs::path& home() const { return dir_.path(); }
    fs::path entry() const { return home() / "config" / "autostart" / "org.quorvel.Quorvel.Watch.desktop"; }

    std::string out;
    std::string err;

private:
    TempDir dir_;
};

TEST_F(Watcher, OnePerUserAndItsLastSampleAtTermination)
{
    setCounters(1000, 1000);
    ASSERT_EQ(ctl({"setup", "--plan", "2000", "--start-day", "1"}), 0) << err;
    const pid_t first = startWatch("first");
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitForText(home() / "first.out", kReady));

    // A second watcher of the same user says so and leaves with success.
    EXPECT_EQ(ctl({"watch"}), 0) << err;
    EXPECT_NE(out.find("already running"), std::string::npos) << out;

    // Traffic since the watcher's first sample is booked by the one it takes when told to end.
    setCounters(6000, 2500);
    EXPECT_EQ(terminate(first), 0) << readFile(home() / "first.err");
    EXPECT_EQ(booked(), 6500u);

    // With the first one gone, the next watcher runs (the lock went with the process).
    const pid_t next = startWatch("next");
    ASSERT_TRUE(waitForText(home() / "next.out", kReady));
    ::kill(next, SIGINT);
    EXPECT_EQ(quorvel::clitest::waitForProcess(next), 0);
}

TEST_F(Watcher, StopEndsTheRunningWatcherAfterItsLastSampleAndSaysWhenThereIsNone)
{
    setCounters(1000, 1000);
    ASSERT_EQ(ctl({"setup", "--plan", "2000", "--start-day", "1"}), 0) << err;
    EXPECT_EQ(ctl({"watch", "--stop"}), 0) << err;
    EXPECT_NE(out.find("No Quorvel watcher is running"), std::string::npos) << out;

    const pid_t watcher = startWatch("stopped");
    ASSERT_GT(watcher, 0);
    ASSERT_TRUE(waitForText(home() / "stopped.out", kReady));
    setCounters(4000, 1000);
    EXPECT_EQ(ctl({"watch", "--stop"}), 0) << err;
    EXPECT_NE(out.find("Stopped the Quorvel watcher (process " + std::to_string(watcher) + ")"), std::string::npos)
        << out;
    EXPECT_EQ(quorvel::clitest::waitForProcess(watcher), 0) << readFile(home() / "stopped.err");
    EXPECT_EQ(booked(), 3000u) << "its last sample was taken before it ended";

    EXPECT_EQ(ctl({"watch", "--stop"}), 0) << err;
    EXPECT_NE(out.find("No Quorvel watcher is running"), std::string::npos) << "an id left in the file is not believed";
}

TEST_F(Watcher, WaitsForTheSetUpAndBooksNothingBeforeIt)
{
    setCounters(1000, 1000);
    const pid_t watcher = startWatch("w");
    ASSERT_TRUE(waitForText(home() / "w.out", kReady));
    ASSERT_TRUE(waitForText(home() / "w.err", "not set up"));

    setCounters(40'000, 9000);  // before the set-up: never booked
    ASSERT_EQ(ctl({"setup", "--plan", "2000", "--start-day", "1", "--used", "0"}), 0) << err;
    setCounters(41'000, 9500);
    EXPECT_EQ(terminate(watcher), 0);
    EXPECT_EQ(booked(), 1500u);
}

TEST_F(Watcher, TheLoginEntryFollowsSetUpAndTheSwitch)
{
    setCounters(0, 0);
    ASSERT_EQ(ctl({"setup", "--plan", "2000", "--start-day", "1"}), 0) << err;
    const std::string written = readFile(entry());
    EXPECT_NE(written.find("[Desktop Entry]"), std::string::npos);
    EXPECT_NE(written.find("\nExec=" + std::string(QUORVEL_CTL) + " watch\n"), std::string::npos) << written;

    EXPECT_EQ(ctl({"watch", "--autostart", "off"}), 0) << err;
    EXPECT_FALSE(fs::exists(entry()));
    EXPECT_EQ(ctl({"watch", "--autostart", "off"}), 0) << "turning off what is off is no failure: " << err;

    EXPECT_EQ(ctl({"watch", "--autostart", "maybe"}), 1);
    EXPECT_FALSE(fs::exists(entry())) << "a refused value changes nothing";

    EXPECT_EQ(ctl({"watch", "--autostart", "on"}), 0) << err;
    EXPECT_EQ(ctl({"watch", "--autostart", "on"}), 0) << err;
    EXPECT_EQ(readFile(entry()), written);
}

// ---- On the kernel's links. ----
//
// The counted link wwan0 is a macvlan over one end of a veth pair, as a modem's multiplexed data
// link sits on its lower link: it keeps its own counters, which its removal notice carries
// (a veth end's received bytes live in its peer and are gone from that notice).

// Runs `ip`; false with the reason when it fails.
::testing::AssertionResult ip(const std::vector<std::string>& args, std::string* output = nullptr)
{
    std::vector<std::string> argv = {"ip"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string o;
    std::string e;
    const int code = quorvel::clitest::runProcess(argv, {}, o, e);
    if (output != nullptr) {
        *output = o;
    }
    if (code != 0) {
        return ::testing::AssertionFailure() << ::testing::PrintToString(argv) << " exited with " << code << ": " << e;
    }
    return ::testing::AssertionSuccess();
}

// A network namespace holding veth pairs (both ends inside it), removed however the test ends.
class LinkSpace {
public:
    LinkSpace() : name_("quorvel-w-" + std::to_string(::getpid())) {}
    ~LinkSpace()
    {
        if (created_) {
            ip({"netns", "del", name_});
        }
    }
    LinkSpace(const LinkSpace&) = delete;
    LinkSpace& operator=(const LinkSpace&) = delete;

    const std::string& name() const { return name_; }

    ::testing::AssertionResult create()
    {
        if (auto r = ip({"netns", "add", name_}); !r) {
            return r;
        }
        created_ = true;
        // Without IPv6 nothing but the test's own frames moves the counters.
        return ip({"netns", "exec", name_, "sh", "-c",
                   "for f in /proc/sys/net/ipv6/conf/default/disable_ipv6 "
                   "/proc/sys/net/ipv6/conf/all/disable_ipv6; do [ -e $f ] && echo 1 > $f; done; true"});
    }

    ::testing::AssertionResult pair(const std::string& a, const std::string& b)
    {
        for (const auto& step : std::vector<std::vector<std::string>>{
                 {"-n", name_, "link", "add", a, "type", "veth", "peer", "name", b},
                 {"-n", name_, "link", "set", a, "up"},
                 {"-n", name_, "link", "set", b, "up"}}) {
            if (auto r = ip(step); !r) {
                return r;
            }
        }
        return ::testing::AssertionSuccess();
    }

    // Received plus sent bytes of a link, as the kernel counts them.
    std::uint64_t counters(const std::string& link) const
    {
        std::istringstream in(read("/sys/class/net/" + link + "/statistics/rx_bytes") +
                              read("/sys/class/net/" + link + "/statistics/tx_bytes"));
        std::uint64_t rx = 0;
        std::uint64_t tx = 0;
        in >> rx >> tx;
        return rx + tx;
    }

    ::testing::AssertionResult macvlan(const std::string& name, const std::string& lower)
    {
        if (auto r = ip({"-n", name_, "link", "add", "link", lower, "name", name, "type", "macvlan"}); !r) {
            return r;
        }
        return ip({"-n", name_, "link", "set", name, "up"});
    }

    std::string read(const std::string& file) const
    {
        std::string text;
        EXPECT_TRUE(ip({"netns", "exec", name_, "cat", file}, &text));
        return text;
    }

    // Sends `count` raw Ethernet frames of `size` bytes out of `link` to the hardware address
    // `to` ("aa:bb:cc:dd:ee:ff"; broadcast when empty).
    ::testing::AssertionResult send(const std::string& link, int count, std::size_t size, const std::string& to = {}) const
    {
        const int home = ::open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
        const int inside = ::open(("/run/netns/" + name_).c_str(), O_RDONLY | O_CLOEXEC);
        int fd = -1;
        unsigned index = 0;
        if (home >= 0 && inside >= 0 && ::setns(inside, CLONE_NEWNET) == 0) {
            fd = ::socket(AF_PACKET, SOCK_RAW | SOCK_CLOEXEC, 0);  // protocol 0: sends only
            index = ::if_nametoindex(link.c_str());
            ::setns(home, CLONE_NEWNET);
        }
        for (int f : {home, inside}) {
            if (f >= 0) {
                ::close(f);
            }
        }
        if (fd < 0 || index == 0) {
            return ::testing::AssertionFailure() << "no packet socket on " << link;
        }
        sockaddr_ll target{};
        target.sll_family = AF_PACKET;
        target.sll_ifindex = static_cast<int>(index);
        target.sll_halen = ETH_ALEN;
        std::vector<unsigned char> frame(size, 0x5a);
        unsigned mac[ETH_ALEN] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
        if (!to.empty()) {
            std::sscanf(to.c_str(), "%x:%x:%x:%x:%x:%x", &mac[0], &mac[1], &mac[2], &mac[3], &mac[4], &mac[5]);
        }
        for (int i = 0; i < ETH_ALEN; ++i) {
            frame[i] = static_cast<unsigned char>(mac[i]);
            frame[ETH_ALEN + i] = 0x02;  // a locally administered sender
        }
        frame[12] = 0x88;  // the ether type for local experiments
        frame[13] = 0xb5;
        bool sent = true;
        for (int i = 0; i < count && sent; ++i) {
            sent = ::sendto(fd, frame.data(), frame.size(), 0, reinterpret_cast<const sockaddr*>(&target), sizeof target) ==
                   static_cast<ssize_t>(frame.size());
        }
        ::close(fd);
        return sent ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "sendto failed";
    }

private:
    std::string name_;
    bool created_ = false;
};

class WatcherOnLinks : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "network namespaces need root";
        }
        ::testing::AssertionResult made = space.create();
        if (made) {
            made = space.pair("qv-low", "qv-peer0");
        }
        if (made) {
            made = space.macvlan("wwan0", "qv-low");
        }
        if (!made) {
            GTEST_SKIP() << "cannot build the namespace here: " << made.message();
        }
    }

    std::vector<std::string> inside(const std::vector<std::string>& args) const
    {
        std::vector<std::string> argv = {"ip", "netns", "exec", space.name(), QUORVEL_CTL};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
    // The home's files, and the kernel's counters instead of a file.
    std::vector<std::string> environment() const
    {
        std::vector<std::string> env = quorvel::clitest::ctlEnvironment(home.path());
        std::erase_if(env, [](const std::string& e) { return e.starts_with("QUORVEL_COUNTERS="); });
        return env;
    }
    std::string ctl(const std::vector<std::string>& args) const
    {
        std::string out;
        std::string err;
        EXPECT_EQ(quorvel::clitest::runProcess(inside(args), environment(), out, err), 0)
            << ::testing::PrintToString(args) << ": " << err;
        return out;
    }
    pid_t start(const std::vector<std::string>& args, const std::string& name) const
    {
        return quorvel::clitest::startProcess(inside(args), environment(), (home.path() / (name + ".out")).string(),
                                              (home.path() / (name + ".err")).string());
    }
    // Traffic both ways through wwan0.
    void traffic(int frames)
    {
        const std::string address = space.read("/sys/class/net/wwan0/address");
        ASSERT_TRUE(space.send("wwan0", frames, 1400));
        ASSERT_TRUE(space.send("qv-peer0", frames / 2, 900, address.substr(0, address.find('\n'))));
    }
    std::uint64_t booked() const { return bookedIn(ctl({"export", "--json"})); }

    LinkSpace space;
    TempDir home;
};

TEST_F(WatcherOnLinks, TheLastTrafficOfALinkDeletedBeforeAnySampleIsBooked)
{
    ctl({"setup", "--plan", "2000", "--start-day", "1", "--used", "0"});
    const std::uint64_t atSetUp = space.counters("wwan0");
    const pid_t watcher = start({"watch"}, "watch");
    ASSERT_TRUE(waitForText(home.path() / "watch.out", kReady));

    traffic(300);
    const std::uint64_t last = space.counters("wwan0");
    ASSERT_GT(last - atSetUp, 500'000u) << "the frames did not go through wwan0";

    // Stopped, the watcher cannot read the link before it is gone: only the counters of the
    // removal notice can tell its traffic.
    ::kill(watcher, SIGSTOP);
    int status = 0;
    ASSERT_EQ(::waitpid(watcher, &status, WUNTRACED), watcher);
    ASSERT_TRUE(ip({"-n", space.name(), "link", "del", "wwan0"}));
    ::kill(watcher, SIGCONT);
    EXPECT_EQ(terminate(watcher), 0) << readFile(home.path() / "watch.err");

    EXPECT_EQ(booked(), last - atSetUp);
}

TEST_F(WatcherOnLinks, WatcherAndOtherSamplersAtOnceBookEveryByteOnce)
{
    ctl({"setup", "--plan", "2000", "--start-day", "1", "--used", "0"});
    const std::uint64_t atSetUp = space.counters("wwan0");
    const pid_t watcher = start({"watch"}, "watch");
    ASSERT_TRUE(waitForText(home.path() / "watch.out", kReady));

    // Each round: traffic, a sample loop of another process, and a link removal that makes the
    // watcher sample at the same time (the removed pair is not counted).
    for (int round = 0; round < 6; ++round) {
        const pid_t loop = quorvel::clitest::startProcess(
            {"sh", "-c", "for i in 1 2 3 4; do \"$@\" sample >/dev/null || exit 1; done", "loop",
             "ip", "netns", "exec", space.name(), QUORVEL_CTL},
            environment(), "/dev/null", (home.path() / "loop.err").string());
        traffic(40);
        const std::string other = "qv-x" + std::to_string(round);
        ASSERT_TRUE(space.pair(other, other + "p"));
        ASSERT_TRUE(ip({"-n", space.name(), "link", "del", other}));
        traffic(40);
        ASSERT_EQ(quorvel::clitest::waitForProcess(loop), 0) << readFile(home.path() / "loop.err");
    }
    const std::uint64_t last = space.counters("wwan0");
    EXPECT_EQ(terminate(watcher), 0) << readFile(home.path() / "watch.err");
    EXPECT_EQ(booked(), last - atSetUp);
}

}  // namespace
