// SPDX-License-Identifier: GPL-3.0-or-later
// A primary-slot switch mid-traffic on the kernel's own counters: quorvelctl's resident counter
// in a network namespace whose "wwan0" is one end of a veth pair, ModemManager played by dbusmock
// on the private system bus (a path socket, reachable from the namespace). Each SIM is booked
// exactly what the kernel counted while it was the active one.
#include "CtlSimsFixture.hpp"
#include "cli/NetNamespaces.hpp"

#include <signal.h>
#include <unistd.h>

namespace quorvel {
namespace {

using clitest::Namespaces;
using simtest::dualSimPhone;
using simtest::kIccidA;
using simtest::kIccidB;
using test::simPath;

class SimSwitchOnVeth : public simtest::CtlSimsTest {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "network namespaces need root";
        }
        ::testing::AssertionResult made = ns.create();
        if (made) {
            made = ns.link("wwan0", "qv-peer0", "10.213.90");
        }
        if (!made) {
            GTEST_SKIP() << "cannot build the namespaces here: " << made.message();
        }
    }
    // quorvelctl's environment without the file of counters: the kernel's are read.
    std::vector<std::string> kernelEnvironment() const
    {
        std::vector<std::string> env = environment();
        std::erase_if(env, [](const std::string& e) { return e.starts_with("QUORVEL_COUNTERS="); });
        return env;
    }
    std::vector<std::string> inNamespace(const std::vector<std::string>& args) const
    {
        std::vector<std::string> argv = {"ip", "netns", "exec", ns.a(), QUORVEL_CTL};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
    int ctlHere(const std::vector<std::string>& args)
    {
        out.clear();
        err.clear();
        return clitest::runProcess(inNamespace(args), kernelEnvironment(), out, err);
    }
    std::map<std::string, std::uint64_t> usedHere()
    {
        EXPECT_EQ(ctlHere({"sims", "--json"}), 0) << err;
        return usedIn(out);
    }
    Namespaces ns;
};

TEST_F(SimSwitchOnVeth, EachSimIsBookedWhatTheKernelCountedWhileItWasActive)
{
    auto mm = dualSimPhone();
    std::ofstream(home.path() / "boot_id") << "a\n";
    ASSERT_EQ(ctlHere({"setup", "--plan", "1000", "--start-day", "1"}), 0) << err;
    const pid_t watcher = clitest::startProcess(inNamespace({"watch"}), kernelEnvironment(),
                                                (home.path() / "out").string(), (home.path() / "err").string());
    ASSERT_GT(watcher, 0);
    ASSERT_TRUE(clitest::waitForText(home.path() / "out", clitest::kWatcherReady));
    // Nothing moves the counters but the transfers: what stands now is the watcher's baseline.
    const std::uint64_t start = ns.counters("wwan0");

    ASSERT_TRUE(ns.transfer("10.213.90.2", 300'000, 100'000));
    const std::uint64_t atSwitch = ns.counters("wwan0");
    test::switchPrimarySlot(*mm, test::kModem0, simPath(1), 3);  // the sample at the switch is A's
    ASSERT_TRUE(eventually([&] { return usedHere()[kIccidA] >= atSwitch - start; }));

    ASSERT_TRUE(ns.transfer("10.213.90.2", 150'000, 50'000));
    const std::uint64_t atSwitchBack = ns.counters("wwan0");
    test::switchPrimarySlot(*mm, test::kModem0, simPath(0), 1);
    ASSERT_TRUE(eventually([&] { return usedHere()[kIccidB] >= atSwitchBack - atSwitch; }));
    ::kill(watcher, SIGTERM);
    EXPECT_EQ(clitest::waitForProcess(watcher), 0) << clitest::readFile(home.path() / "err");

    const std::map<std::string, std::uint64_t> used = usedHere();
    EXPECT_GT(atSwitch - start, 400'000u) << "the traffic did not go through wwan0";
    EXPECT_EQ(used.at(kIccidA), atSwitch - start);
    EXPECT_EQ(used.at(kIccidB), atSwitchBack - atSwitch);
    ASSERT_EQ(ctlHere({"export", "--json", "--sim", "device"}), 0) << err;
    EXPECT_EQ(clitest::exportedBytes(nlohmann::json::parse(out)), 0u) << "no byte went to This device";
}

}  // namespace
}  // namespace quorvel
