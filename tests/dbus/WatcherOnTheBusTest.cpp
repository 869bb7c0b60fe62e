// SPDX-License-Identifier: GPL-3.0-or-later
// `quorvelctl watch` with NetworkManager and ModemManager on the bus: it follows the modem's
// registration from its poll loop, books what was used before each change under the state it
// had, and turns mobile data off once the plan is used up. And with the real GeoClue: it books
// each interval to the place reported at its end, stops GeoClue's client when places are turned
// off, and picks up a GeoClue started later without waking in between. It leaves GeoClue to the
// window while that owns the application's name on the session bus, and a GeoClue that refuses
// or hangs is said once and costs no wake-ups.
#include <gtest/gtest.h>

#include <chrono>

#include <signal.h>

#include <cmath>
#include <thread>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ModemManagerMock.hpp"
#include "PrivateSessionBus.hpp"
#include "RealGeoclue.hpp"
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
        // Never the machine's session bus, nor one started on demand.
        env.push_back("DBUS_SESSION_BUS_ADDRESS=" + test::PrivateSessionBus::instance().address());
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
        EXPECT_TRUE(clitest::waitForText(home.path() / "out", clitest::kWatcherReady));
        return watcher;
    }

    test::TempDir home;
    std::string err;
    std::unique_ptr<MockService> nm;
    std::unique_ptr<MockService> mm;
};

class WatcherFollowsGeoclueTest : public WatcherOnTheBusTest {
protected:
    void SetUp() override
    {
        std::ofstream(home.path() / "boot_id") << "a\n";
        counter(0);
        ASSERT_EQ(ctl({"setup", "--plan", "1000", "--start-day", "1"}), 0) << err;
    }
    // `traced`: strace will attach to it, and LeakSanitizer refuses to run its end-of-process
    // check under ptrace (the leak check of a sanitized build is left to the untraced runs).
    pid_t startWatcher(bool traced = false)
    {
        std::vector<std::string> env = environment();
        if (traced) {
            env.push_back("ASAN_OPTIONS=detect_leaks=0");
        }
        return clitest::startProcess({QUORVEL_CTL, "watch"}, env, (home.path() / "out").string(),
                                     (home.path() / "err").string());
    }
    // The latitude of the last location in the saved state; NaN when there is none.
    double lastLatitude() const
    {
        const nlohmann::json state = nlohmann::json::parse(clitest::readFile(home.path() / "data/quorvel/statestg"));
        const nlohmann::json& last = state.at("$root").at("pTraffics").value("pLastLocation", nlohmann::json());
        return last.is_object() ? last.at("latitude").get<double>() : std::nan("");
    }
    void untilLastLatitude(CtlStateWatch& saves, double latitude)
    {
        while (lastLatitude() != latitude) {
            ASSERT_EQ(saves.next(), CtlStateWatch::Event::Changed);
        }
    }
    // GeoClue started and `watch` following it, once its first fix (which only sets the
    // location) is saved.
    pid_t followingWatcher(CtlStateWatch& saves, bool traced = false)
    {
        geoclue.start();
        const pid_t watcher = startWatcher(traced);
        EXPECT_GT(watcher, 0);
        untilLastLatitude(saves, 50.0);
        return watcher;
    }
    // Each place's bytes by latitude, as `status --json` lists them.
    std::map<double, std::uint64_t> places()
    {
        std::string out;
        EXPECT_EQ(ctl({"status", "--json"}, &out), 0) << err;
        const nlohmann::json status = nlohmann::json::parse(out);
        std::map<double, std::uint64_t> byLatitude;
        for (const auto& place : status.at("locations")) {
            byLatitude[place.at("latitude").get<double>()] = place.at("bytes").get<std::uint64_t>();
        }
        return byLatitude;
    }
    void stopWatcher(pid_t watcher)
    {
        ::kill(watcher, SIGTERM);
        EXPECT_EQ(clitest::waitForProcess(watcher), 0) << clitest::readFile(home.path() / "err");
    }
    // The watcher's standard error once it has said a line.
    std::string firstLineSaid(pid_t watcher)
    {
        while (clitest::readFile(home.path() / "err").find("\n") == std::string::npos) {
            EXPECT_EQ(::kill(watcher, 0), 0) << "the watcher ended";
            std::this_thread::yield();
        }
        return clitest::readFile(home.path() / "err");
    }
    // strace on the watcher's waits into <home>/trace, once it is attached; ends with the watcher.
    pid_t traceWaits(pid_t watcher)
    {
        const pid_t strace = clitest::startProcess(
            {"strace", "-f", "-e", "trace=poll,ppoll", "-o", trace().string(), "-p", std::to_string(watcher)},
            environment(), (home.path() / "strace.out").string(), (home.path() / "strace.err").string());
        while (clitest::readFile(home.path() / "strace.err").find("attached") == std::string::npos) {
            EXPECT_EQ(::kill(strace, 0), 0) << "strace ended";
            std::this_thread::yield();
        }
        // A watcher that has just said its line may still be taking the events before it: it is
        // idle once its trace stands still (half a second, within ten), from where it is read.
        std::size_t size = 0;
        auto still = std::chrono::steady_clock::now();
        for (const auto end = still + std::chrono::seconds(10); std::chrono::steady_clock::now() < end;) {
            const std::size_t now = clitest::readFile(trace()).size();
            if (now != size) {
                size = now;
                still = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - still > std::chrono::milliseconds(500)) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        idleFrom_ = size;
        return strace;
    }
    fs::path trace() const { return home.path() / "trace"; }
    // Since the watcher sat idle in poll(), nothing has returned.
    void expectNoWakeUpTraced()
    {
        const std::string traced = clitest::readFile(trace());
        const std::string since = traced.substr(std::min(idleFrom_, traced.size()));
        EXPECT_EQ(since.find(" = "), std::string::npos) << traced;
    }
    std::size_t idleFrom_ = 0;

    // `watch` beside a GeoClue that does not serve it, traced once it has said why; nothing
    // wakes it for three of the receiver's seconds, and 1'000 bytes are booked beside it, to no
    // place.
    struct Unserved {
        pid_t pid = -1;
        pid_t strace = -1;
        std::string said;
    };
    void startUnserved(Unserved& watcher)
    {
        watcher.pid = startWatcher(true);
        ASSERT_GT(watcher.pid, 0);
        ASSERT_TRUE(clitest::waitForText(home.path() / "out", clitest::kWatcherReady));
        watcher.said = firstLineSaid(watcher.pid);
        watcher.strace = traceWaits(watcher.pid);
        geoclue.waitForSeconds(3);  // a watcher that asked again would have woken by now
        expectNoWakeUpTraced();
        counter(1'000);
        ASSERT_EQ(ctl({"sample"}), 0) << err;
    }
    // GeoClue started anew is asked; the 500 bytes that SIGTERM's sample takes go to its place,
    // and nothing more was said.
    void expectPickedUpUnderANewOwner(CtlStateWatch& saves, const Unserved& watcher)
    {
        geoclue.stop();
        geoclue.start();
        untilLastLatitude(saves, 50.0);
        counter(1'500);
        stopWatcher(watcher.pid);
        clitest::waitForProcess(watcher.strace);
        EXPECT_EQ(booked().first, 1'500u) << "SIGTERM still takes the last sample";
        EXPECT_EQ(places(), (std::map<double, std::uint64_t>{{50.0, 500}}));
        EXPECT_EQ(clitest::readFile(home.path() / "err"), watcher.said) << "said more than once";
    }

    test::RealGeoclue geoclue{home.path(), 50.0, 8.0};
};

// 0.01 degrees of latitude are 1.1 km: each move is a significant change.
TEST_F(WatcherFollowsGeoclueTest, BooksEachIntervalToThePlaceReportedAtItsEndAndTheLastOneAtSigterm)
{
    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    const pid_t watcher = followingWatcher(saves);

    counter(1'000);
    geoclue.moveTo(50.01, 8.0);
    untilBooked(saves, 1'000);
    EXPECT_EQ(lastLatitude(), 50.01);
    counter(3'000);
    geoclue.moveTo(50.02, 8.0);
    untilBooked(saves, 3'000);

    counter(3'500);
    stopWatcher(watcher);
    EXPECT_EQ(booked().first, 3'500u) << "SIGTERM still takes the last sample";
    EXPECT_EQ(places(), (std::map<double, std::uint64_t>{{50.01, 1'000}, {50.02, 2'500}}));
    EXPECT_EQ(clitest::readFile(home.path() / "err"), "");
}

// GeoClue renews its location's timestamp with each of the receiver's fixes, once a second: none
// of that may reach a watcher whose device stands still.
TEST_F(WatcherFollowsGeoclueTest, AReceiverStandingStillDoesNotWakeTheWatcher)
{
    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    const pid_t watcher = followingWatcher(saves, true);
    const pid_t strace = traceWaits(watcher);
    geoclue.waitForSeconds(3);
    expectNoWakeUpTraced();
    stopWatcher(watcher);
    clitest::waitForProcess(strace);
}

TEST_F(WatcherFollowsGeoclueTest, RecordPlacesOffBooksToNoPlaceAndStopsGeocluesClient)
{
    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    const pid_t watcher = followingWatcher(saves);
    counter(1'000);
    geoclue.moveTo(50.01, 8.0);
    untilBooked(saves, 1'000);

    ASSERT_EQ(ctl({"limits", "--places", "off"}), 0) << err;
    EXPECT_TRUE(std::isnan(lastLatitude()));
    geoclue.moveTo(50.02, 8.0);  // the next event the watcher wakes for
    EXPECT_TRUE(geoclue.waitUntilSourceStopped()) << "GeoClue still follows for the watcher";
    counter(4'000);
    stopWatcher(watcher);
    EXPECT_EQ(booked().first, 4'000u);
    EXPECT_EQ(places(), (std::map<double, std::uint64_t>{{50.01, 1'000}}));
    EXPECT_TRUE(std::isnan(lastLatitude()));
}

TEST_F(WatcherFollowsGeoclueTest, AGeoclueStartedLaterIsPickedUpWithoutWakingInBetween)
{
    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    const pid_t watcher = startWatcher(true);
    ASSERT_GT(watcher, 0);
    ASSERT_TRUE(clitest::waitForText(home.path() / "out", clitest::kWatcherReady));
    // Said once, after the first sample, and the watcher goes on counting.
    EXPECT_EQ(firstLineSaid(watcher), "quorvelctl: places are not recorded: GeoClue is not running\n");

    const pid_t strace = traceWaits(watcher);
    const std::string beforeGeoclue = clitest::readFile(trace());
    geoclue.start();
    untilLastLatitude(saves, 50.0);
    stopWatcher(watcher);  // strace ends with it (it inherited this program's blocked SIGTERM)
    clitest::waitForProcess(strace);

    // Attached while the watcher sat in poll(): nothing returned until GeoClue came.
    EXPECT_EQ(beforeGeoclue.find(" = "), std::string::npos) << beforeGeoclue;
    // Every wait is for an event: no poll has a timeout (0 only looks at what is ready).
    const std::string traced = clitest::readFile(trace());
    EXPECT_NE(traced.find("poll(["), std::string::npos) << "strace saw the wake-ups GeoClue caused";
    std::istringstream lines(traced);
    for (std::string line; std::getline(lines, line);) {
        const auto fds = line.find("poll([");
        const auto end = line.find("], ", fds);
        if (fds == std::string::npos || end == std::string::npos) {
            continue;
        }
        std::istringstream arguments(line.substr(end + 3));
        std::string count;
        std::string timeout;
        std::getline(arguments, count, ',');
        arguments >> timeout;
        timeout = timeout.substr(0, timeout.find_first_of(") <"));
        EXPECT_TRUE(timeout == "-1" || timeout == "0") << line;
    }
}

// The window takes over GeoClue while it runs; the watcher's client goes and a new one follows
// once the window has closed, on to the next move. (GeoClue's InUse leaves out a system
// application's clients, so the source's connections and the fixes tell.)
TEST_F(WatcherFollowsGeoclueTest, LeavesGeoclueToTheWindowWhileItOwnsTheApplicationsName)
{
    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    const pid_t watcher = followingWatcher(saves);

    test::PrivateSessionBus& session = test::PrivateSessionBus::instance();
    session.own("org.quorvel.Quorvel");  // the window opens
    EXPECT_TRUE(geoclue.waitUntilSourceStopped()) << "the watcher still follows GeoClue beside the window";
    geoclue.moveTo(50.02, 8.0);
    session.release("org.quorvel.Quorvel");  // and closes
    untilLastLatitude(saves, 50.02);  // the new client's first fix

    counter(3'000);
    geoclue.moveTo(50.04, 8.0);
    untilBooked(saves, 3'000);
    stopWatcher(watcher);
    EXPECT_EQ(places(), (std::map<double, std::uint64_t>{{50.04, 3'000}})) << "the second client stopped following";
    EXPECT_EQ(clitest::readFile(home.path() / "err"), "");
}

// Turned away by its configuration: said once, counted to no place, nothing asked until GeoClue
// comes back; then it is asked again.
TEST_F(WatcherFollowsGeoclueTest, AGeoclueThatRefusesIsSaidOnceAndAskedAgainOnlyWhenItComesBack)
{
    geoclue.allow(false);
    geoclue.start();
    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    Unserved watcher;
    ASSERT_NO_FATAL_FAILURE(startUnserved(watcher));
    EXPECT_TRUE(watcher.said.starts_with("quorvelctl: places are not recorded: GeoClue refused: ")) << watcher.said;

    geoclue.allow(true);
    expectPickedUpUnderANewOwner(saves, watcher);
}

// Owns its name and answers nothing: the watcher gives up after its timeout, says so once and
// counts on; it asks again when GeoClue's name has a new owner, not when the hung one wakes.
TEST_F(WatcherFollowsGeoclueTest, AGeoclueThatHangsIsSaidOnceAndAskedAgainOnlyUnderANewOwner)
{
    geoclue.start();
    geoclue.freeze();
    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    Unserved watcher;
    ASSERT_NO_FATAL_FAILURE(startUnserved(watcher));
    EXPECT_EQ(watcher.said, "quorvelctl: places are not recorded: GeoClue does not answer\n");

    geoclue.thaw();
    geoclue.waitForSeconds(3);
    EXPECT_TRUE(std::isnan(lastLatitude())) << "asked the same GeoClue again";
    expectPickedUpUnderANewOwner(saves, watcher);
}

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

TEST_F(WatcherOnTheBusTest, EveryLinkChangeAsksOverTheWatchersOneConnection)
{
    ASSERT_NO_FATAL_FAILURE(setUpOnTheBus("100"));
    CtlStateWatch saves(home.path() / "data/quorvel/statestg");
    const pid_t watcher = startWatcher(saves);
    ASSERT_FALSE(HasFailure());
    const unsigned long before = test::PrivateSystemBus::nextConnectionSerial();
    std::uint64_t bytes = 0;
    for (int change = 1; change <= 12; ++change) {
        // A link set NetworkManager was not asked about, sampled at the registration's change.
        bytes += 1000;
        const fs::path tmp = home.path() / "counters.tmp";
        std::ofstream(tmp) << "wwan0 " << bytes << " 0\nwlan" << change << " 5 5\n";
        fs::rename(tmp, home.path() / "counters");
        test::setRegistration(*mm, test::kModem0, change % 2 == 1 ? 5 : 1);
        ASSERT_EQ(saves.next(), CtlStateWatch::Event::Changed);
    }
    ::kill(watcher, SIGTERM);
    EXPECT_EQ(clitest::waitForProcess(watcher), 0) << clitest::readFile(home.path() / "err");
    EXPECT_EQ(test::PrivateSystemBus::nextConnectionSerial(), before + 1) << "only the probe itself connected";
    EXPECT_EQ(booked().first, bytes);
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
