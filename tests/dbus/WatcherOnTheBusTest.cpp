// `quorvelctl watch` with NetworkManager and ModemManager on the bus: it follows the modem's
// registration from its poll loop, books what was used before each change under the state it
// had, and turns mobile data off once the plan is used up.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <fstream>

#include "ModemManagerMock.hpp"
#include "TestEnv.hpp"
#include "cli/CtlProcess.hpp"
#include "cli/CtlStateWatch.hpp"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test::kNetworkManagerInterface;
using test::kNetworkManagerPath;
using test::MockService;

class WatcherOnTheBusTest : public test::SystemBusTest {
protected:
    std::vector<std::string> environment() const
    {
        std::vector<std::string> env = clitest::ctlEnvironment(home.path());
        std::erase_if(env, [](const std::string& e) { return e.starts_with("DBUS_SYSTEM_BUS_ADDRESS="); });
        env.push_back(std::string("DBUS_SYSTEM_BUS_ADDRESS=") + g_getenv("DBUS_SYSTEM_BUS_ADDRESS"));
        return env;
    }
    int ctl(const std::vector<std::string>& args, std::string* out = nullptr)
    {
        std::vector<std::string> argv = {QUORVEL_CTL};
        argv.insert(argv.end(), args.begin(), args.end());
        std::string o;
        const int code = clitest::runProcess(argv, environment(), o, err);
        if (out != nullptr) {
            *out = o;
        }
        return code;
    }
    void counter(std::uint64_t bytes) const
    {
        const fs::path tmp = home.path() / "counters.tmp";
        std::ofstream(tmp) << "wwan0 " << bytes << " 0\n";
        fs::rename(tmp, home.path() / "counters");
    }
    // Every day's bytes and roaming bytes as export gives them.
    std::pair<std::uint64_t, std::uint64_t> booked()
    {
        std::string out;
        EXPECT_EQ(ctl({"export", "--json"}, &out), 0) << err;
        const nlohmann::json exported = nlohmann::json::parse(out);
        std::pair<std::uint64_t, std::uint64_t> sum{0, 0};
        for (const auto& month : exported.at("months")) {
            for (const auto& day : month.at("days")) {
                sum.first += day.at("bytes").get<std::uint64_t>();
                sum.second += day.at("roaming_bytes").get<std::uint64_t>();
            }
        }
        return sum;
    }
    // Waits for the watcher's samples until `total` bytes are booked.
    void untilBooked(CtlStateWatch& saves, std::uint64_t total)
    {
        while (booked().first < total) {
            ASSERT_EQ(saves.next(), CtlStateWatch::Event::Changed);
        }
    }

    // NetworkManager and one registered modem on the bus, and Quorvel set up with `planMb`.
    void setUpOnTheBus(const std::string& planMb)
    {
        nm = MockService::networkManager(true);
        mm = test::startModemManager();
        test::addModem(*mm, test::kModem0, 1, "Tele Nord");
        std::ofstream(home.path() / "boot_id") << "a\n";
        counter(0);
        ASSERT_EQ(ctl({"setup", "--plan", planMb, "--start-day", "1"}), 0) << err;
    }
    // `watch` started, once its first sample is saved.
    pid_t startWatcher(CtlStateWatch& saves)
    {
        EXPECT_EQ(saves.error(), "");
        const pid_t watcher = clitest::startProcess({QUORVEL_CTL, "watch"}, environment(),
                                                    (home.path() / "out").string(), (home.path() / "err").string());
        EXPECT_GT(watcher, 0);
        EXPECT_EQ(saves.next(), CtlStateWatch::Event::Changed) << "the first sample";
        return watcher;
    }

    test::TempDir home;
    std::string err;
    std::unique_ptr<MockService> nm;
    std::unique_ptr<MockService> mm;
};

TEST_F(WatcherOnTheBusTest, BooksRoamingAtEachRegistrationChangeAndCutsOffAtThePlan)
{
    ASSERT_NO_FATAL_FAILURE(setUpOnTheBus("1"));
    ASSERT_EQ(ctl({"limits", "--cutoff", "on"}), 0) << err;

    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    const pid_t watcher = startWatcher(saves);
    ASSERT_FALSE(HasFailure());

    counter(400'000);  // used at home; the change to roaming books it first
    test::setRegistration(*mm, test::kModem0, 5);
    untilBooked(saves, 400'000);
    EXPECT_EQ(booked().second, 0u);
    EXPECT_EQ(nm->property(kNetworkManagerPath, kNetworkManagerInterface, "WwanEnabled"), "(<true>,)");

    counter(1'000'000);  // used abroad, up to the plan
    test::setRegistration(*mm, test::kModem0, 1);
    untilBooked(saves, 1'000'000);
    EXPECT_EQ(booked().second, 600'000u);

    // The cut-off follows the save of that sample; once the watcher has ended it is done.
    ::kill(watcher, SIGTERM);
    EXPECT_EQ(clitest::waitForProcess(watcher), 0) << clitest::readFile(home.path() / "err");
    EXPECT_EQ(nm->property(kNetworkManagerPath, kNetworkManagerInterface, "WwanEnabled"), "(<false>,)");
}

// The bus module's threads start with the watcher; a stop signal must still reach its loop.
TEST_F(WatcherOnTheBusTest, ASignalEndsTheWatcherWithItsLastSampleBooked)
{
    ASSERT_NO_FATAL_FAILURE(setUpOnTheBus("100"));
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        const std::uint64_t before = booked().first;
        CtlStateWatch saves(home.path() / "data/quorvel/statestg");
        const pid_t watcher = startWatcher(saves);
        ASSERT_FALSE(HasFailure());
        counter(before + 250'000);  // used since, booked only by the last sample
        ::kill(watcher, signal);
        EXPECT_EQ(clitest::waitForProcess(watcher), 0) << clitest::readFile(home.path() / "err");
        EXPECT_EQ(booked().first, before + 250'000);
    }
}

}  // namespace
}  // namespace quorvel
