// SPDX-License-Identifier: GPL-3.0-or-later
// The application controller without windows: preferences, the first start, when updates run,
// location events, resets and the one-writer rule between two processes on the same files.
#include <gtest/gtest.h>

#include "engine/AppShell.hpp"
#include "engine/CAppController.hpp"
#include "model/DefaultsKeys.hpp"
#include "model/Messages.hpp"
#include "platform/LocationService.hpp"
#include "platform/MainQueue.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;

struct RecordingShell final : AppShell {
    void createInterface() override { ++interfaces; }
    void runFirstStartWizard() override { ++wizards; }
    void showAutoSubscription() override { ++offers; }
    void updateTrafficInterface(const SharedSummary& s) override { summaries.push_back(s); }
    void onResetLocationsHandler(const void*) override { ++locationResets; }
    void onResetPrevMonthsInfoHandler(const void*) override { ++monthResets; }
    void didReceiveLocalNotification(const LocalNotification& n, bool launched) override
    {
        received.push_back(n);
        launchedFromNotification = launched;
    }
    void showFileProblem(const std::string& why) override { fileProblems.push_back(why); }
    int interfaces = 0, wizards = 0, offers = 0, locationResets = 0, monthResets = 0;
    bool launchedFromNotification = false;
    std::vector<std::string> fileProblems;
    std::vector<SharedSummary> summaries;
    std::vector<LocalNotification> received;
};

struct ManualTimers final : TimerSource {
    struct Handle final : TimerSource::Handle {
        explicit Handle(ManualTimers& o) : owner(o) { ++owner.running; }
        ~Handle() override { --owner.running; }
        ManualTimers& owner;
    };
    // The minute's timer is `tick`; any other (the free hours' edge) is `edgeTick`.
    std::unique_ptr<TimerSource::Handle> scheduleRepeating(double seconds, std::function<void()> t) override
    {
        (seconds == 60.0 ? interval : edgeInterval) = seconds;
        (seconds == 60.0 ? tick : edgeTick) = std::move(t);
        return std::make_unique<Handle>(*this);
    }
    int running = 0;
    double interval = 0;
    std::function<void()> tick;
    double edgeInterval = 0;
    std::function<void()> edgeTick;
};

struct FakeLocation final : LocationService {
    void setDelegate(Delegate d) override { delegate = std::move(d); }
    void configure(double distance, double accuracy, const std::string& why) override
    {
        filter = distance;
        desired = accuracy;
        purpose = why;
    }
    void startMonitoringSignificantLocationChanges() override { ++starts; }
    void stopMonitoringSignificantLocationChanges() override { ++monitoringStops; }
    void stopUpdatingLocation() override { ++stops; }
    Delegate delegate;
    double filter = 0, desired = 0;
    std::string purpose;
    int starts = 0, stops = 0, monitoringStops = 0;
};

struct ControllerTest : ::testing::Test {
    test::TestEnv t;
    ManualQueue queue;
    NoBackgroundTasks tasks;
    ManualTimers timers;
    FakeLocation location;
    RecordingShell shell;
    std::unique_ptr<CAppController> app = makeApp(t);

    std::unique_ptr<CAppController> makeApp(test::TestEnv& e)
    {
        return std::make_unique<CAppController>(
            e.env, CAppController::Platform{queue, tasks, &timers, &location, e.paths.stateLock, e.paths.debugLog}, &shell);
    }
    // The set-up as a user finishes it: the used data entered last sets the counter baseline.
    void finishSetUp()
    {
        app->initPrefs();
        app->CreateTraffManager();
        app->resetWizardFinished();
        app->onResetThisMonthDataInfo(0);
        queue.drain();
        shell.summaries.clear();
    }
    void traffic(std::uint32_t total) { t.counters.set("wwan0", total, 0); }
};

TEST_F(ControllerTest, AStateFileThatCannotBeOpenedIsSaidOnceAndNeverWrittenOver)
{
    finishSetUp();
    std::filesystem::remove(t.paths.stateFile);
    std::filesystem::create_directory(t.paths.stateFile);  // opens for nobody, root included

    auto window = makeApp(t);
    window->didFinishLaunching({});
    ASSERT_EQ(shell.fileProblems.size(), 1u);
    EXPECT_NE(shell.fileProblems[0].find(t.paths.stateFile.string()), std::string::npos);
    EXPECT_NE(shell.fileProblems[0].find("Is a directory"), std::string::npos);
    EXPECT_FALSE(shell.summaries.empty()) << "the window keeps running";

    traffic(5000);
    window->timerFireMethod();
    window->onResetThisMonthDataInfo(7);
    queue.drain();
    EXPECT_EQ(shell.fileProblems.size(), 1u) << "said once";
    EXPECT_TRUE(std::filesystem::is_directory(t.paths.stateFile));
    EXPECT_EQ(window->pmodule()->getDataUsed(), 7u) << "counting goes on in memory";
}

TEST_F(ControllerTest, InitPrefsWritesTheSixDefaultsOnce)
{
    app->initPrefs();
    UserDefaults onDisk(t.paths.defaultsFile);
    EXPECT_EQ(onDisk.unsigned64ForKey("pkeyDataPlanULL"), 1'000'000'000u);
    for (const char* key : {"pkeyAutoResetBool", "pkeyAlertMonthLimitBool", "pkeyAlertDayLimitBool",
                            "pkeyAlertUsageOverboundBool"}) {
        EXPECT_EQ(onDisk.boolForKey(key), true) << key;
    }
    EXPECT_EQ(onDisk.objectForKey("pkeyAlertMonthLimitLong")->get<int>(), 80);
    EXPECT_FALSE(onDisk.hasKey("pkeyStartedBefore"));

    const auto before = std::filesystem::last_write_time(t.paths.defaultsFile);
    std::filesystem::last_write_time(t.paths.defaultsFile, before - std::chrono::hours(1));
    app->initPrefs();
    EXPECT_EQ(std::filesystem::last_write_time(t.paths.defaultsFile), before - std::chrono::hours(1))
        << "a second launch writes nothing";
}

TEST_F(ControllerTest, ThePreferencePlanWinsOverTheArchivedOne)
{
    app->CreateTraffManager();
    EXPECT_EQ(app->pmodule()->getMonthPlan(), 1'000'000'000u) << "no state file: the default plan";
    app->pmodule()->setPMonthPlan(500'000'000);
    app->pmodule()->saveState();
    t.defaults->setObject("pkeyDataPlanULL", 2'000'000'000u);
    app->CreateTraffManager();
    EXPECT_EQ(app->pmodule()->getMonthPlan(), 2'000'000'000u);
}

TEST_F(ControllerTest, NothingIsSampledDuringTheFirstStart)
{
    app->didFinishLaunching({});
    EXPECT_TRUE(app->isFirstStart());
    traffic(5000);
    app->applicationDidBecomeActive();
    ASSERT_EQ(timers.running, 1) << "the timer runs during the set-up too";
    timers.tick();
    location.delegate.didUpdateToLocation(Location{1, 2, 10, Date{}});
    app->onResetPlanStartDay(9);
    EXPECT_EQ(queue.pending(), 0u);
    EXPECT_EQ(t.counters.reads, 0) << "no counter was read";
    EXPECT_EQ(shell.offers, 0) << "no subscription offer before the set-up";
    EXPECT_EQ(shell.wizards, 1);
}

TEST_F(ControllerTest, TheSetUpEndsTheFirstStartForGoodAndSamplingBegins)
{
    app->didFinishLaunching({});
    traffic(7000);
    app->resetWizardFinished();
    EXPECT_FALSE(app->isFirstStart());
    EXPECT_FALSE(UserDefaults(t.paths.defaultsFile).boolForKey("pkeyStartedBefore").value_or(true))
        << "written through, so a crash does not ask again";
    app->onResetThisMonthDataInfo(250'000'000);
    queue.drain();
    EXPECT_EQ(app->pmodule()->getDataTodayUsed() > 0, true);
    EXPECT_EQ(app->pmodule()->history().getTotalTraffic(), 250'000'000u) << "the counters so far are included";
}

TEST_F(ControllerTest, ALocationLaunchRunsOneBackgroundUpdateAndBuildsNoInterface)
{
    finishSetUp();
    traffic(100);
    app->didFinishLaunching(CAppController::LaunchOptions{true, std::nullopt});
    EXPECT_EQ(shell.interfaces, 0);
    ASSERT_EQ(queue.pending(), 1u);
    queue.drain();
    EXPECT_TRUE(shell.summaries.empty()) << "background updates never reach the screens";
    EXPECT_EQ(app->pmodule()->history().getTotalTraffic(), 100u);
}

TEST_F(ControllerTest, ALaunchFromANotificationShowsItAfterTheFirstFullUpdate)
{
    finishSetUp();
    app->didFinishLaunching(CAppController::LaunchOptions{false, LocalNotification{"body", "T", "NotificationDataChanged"}});
    EXPECT_EQ(shell.interfaces, 1);
    EXPECT_EQ(shell.summaries.size(), 1u) << "the full update at launch ran synchronously";
    ASSERT_EQ(shell.received.size(), 1u);
    EXPECT_TRUE(shell.launchedFromNotification);
}

TEST_F(ControllerTest, TheForegroundTimerRunsBetweenBecomingActiveAndEnteringTheBackground)
{
    finishSetUp();
    app->applicationDidBecomeActive();
    EXPECT_EQ(timers.running, 1);
    EXPECT_EQ(timers.interval, 60.0);
    queue.drain();
    EXPECT_EQ(shell.summaries.size(), 1u);
    traffic(42);
    timers.tick();
    queue.drain();
    EXPECT_EQ(shell.summaries.size(), 2u);
    EXPECT_EQ(shell.summaries.back()->pTodayDataUsed(), 42u);
    app->applicationDidEnterBackground();
    EXPECT_EQ(timers.running, 0);
    app->applicationWillEnterForeground();
    app->applicationDidBecomeActive();
    EXPECT_EQ(timers.running, 1);
    EXPECT_EQ(shell.offers, 2);
}

TEST_F(ControllerTest, OnlyTheActiveWindowSamplesOnATimer)
{
    finishSetUp();
    app->withStateLock([](CTrafficManager& m) { m.setFreeHours(DataPlan::FreeHours{0, 6 * 60}); });
    app->applicationDidBecomeActive();
    queue.drain();
    ASSERT_EQ(timers.running, 2) << "the minute's timer and the free-hours edge";
    const std::size_t shown = shell.summaries.size();
    app->applicationWillResignActive();
    EXPECT_EQ(timers.running, 0) << "visible but not active: the resident counter counts";
    traffic(42);
    queue.drain();
    EXPECT_EQ(shell.summaries.size(), shown);
    const int reads = t.counters.reads;
    app->applicationDidBecomeActive();
    queue.drain();
    EXPECT_EQ(timers.running, 2);
    EXPECT_GT(t.counters.reads, reads) << "becoming active samples at once";
    EXPECT_EQ(shell.summaries.back()->pTodayDataUsed(), 42u);
}

TEST_F(ControllerTest, FinishingTheSetUpStartsTheTimerOnlyInTheActiveWindow)
{
    app->didFinishLaunching({});
    app->resetWizardFinished();
    EXPECT_EQ(timers.running, 0);
    app->applicationDidBecomeActive();
    EXPECT_EQ(timers.running, 1);
}

TEST_F(ControllerTest, TheWindowSamplesAtTheFreeHoursEdgeSoTheBytesBeforeItAreFree)
{
    finishSetUp();
    t.clock.set(localDate(2026, 3, 10, 5, 59, 30));
    app->withStateLock([](CTrafficManager& m) { m.setFreeHours(DataPlan::FreeHours{0, 6 * 60}); });
    app->applicationDidBecomeActive();
    queue.drain();
    EXPECT_EQ(timers.running, 2) << "the minute's timer and the edge's";
    EXPECT_EQ(timers.edgeInterval, 31.0) << "a second past 06:00";

    traffic(500);
    t.clock.set(localDate(2026, 3, 10, 6, 0, 1));
    timers.edgeTick();
    queue.drain();
    traffic(800);
    t.clock.set(localDate(2026, 3, 10, 6, 0, 50));
    timers.tick();
    queue.drain();
    const CTrafficPoint* today = app->pmodule()->getTrafficToday();
    ASSERT_NE(today, nullptr);
    EXPECT_EQ(today->getFreeTraffic(), 500u) << "booked at the edge, as the time before it was";
    EXPECT_EQ(today->getChargedTraffic(), 300u);
    EXPECT_EQ(timers.edgeInterval, 18.0 * 3600 - 49) << "armed again for midnight";
    app->applicationDidEnterBackground();
    EXPECT_EQ(timers.running, 0);
}

TEST_F(ControllerTest, LocationEventsSetThePlaceAndWakeABackgroundUpdate)
{
    finishSetUp();
    app->createLocationManager();
    EXPECT_EQ(location.filter, 10.0);
    EXPECT_EQ(location.purpose, "Application Uses Locations to create a map of Mobile Data Usage");
    app->applicationDidEnterBackground();
    traffic(300);
    const Location here{50.0, 8.0, 10, Date{}};
    location.delegate.didUpdateToLocation(here);
    ASSERT_EQ(queue.pending(), 1u);
    queue.drain();
    ASSERT_EQ(app->pmodule()->history().deltas().size(), 1u);
    EXPECT_EQ(app->pmodule()->history().deltas()[0]->delta(), 300);

    app->startTimerUpdate();
    location.delegate.didUpdateToLocation(Location{51.0, 8.0, 10, Date{}});
    EXPECT_EQ(queue.pending(), 0u) << "in the foreground the timer samples";
    EXPECT_EQ(app->pmodule()->pLastLocation()->latitude, 51.0);
}

TEST_F(ControllerTest, RecordPlacesOffStopsAskingAndBooksToNoPlaceUntilTurnedOnAgain)
{
    finishSetUp();
    app->createLocationManager();
    app->applicationDidEnterBackground();
    EXPECT_TRUE(app->recordPlaces()) << "on by default";
    traffic(300);
    location.delegate.didUpdateToLocation(Location{50.0, 8.0, 10, t.clock.now()});
    queue.drain();

    const int starts = location.starts;
    app->setRecordPlaces(false);
    EXPECT_EQ(location.monitoringStops, 1);
    EXPECT_EQ(UserDefaults(t.paths.defaultsFile).boolForKey("pkeyRecordPlacesBool"), false);
    app->beginUpdatingSelfPosition();
    location.delegate.didUpdateToLocation(Location{51.0, 8.0, 10, t.clock.now()});
    EXPECT_EQ(queue.pending(), 0u) << "a fix that was under way is ignored";
    EXPECT_EQ(location.starts, starts) << "nothing asks for the location while off";
    traffic(500);
    app->doGetTrafficInfoTask(false);
    ASSERT_EQ(app->pmodule()->history().deltas().size(), 1u) << "the place recorded before stays";
    EXPECT_EQ(app->pmodule()->history().deltas()[0]->delta(), 300);
    EXPECT_FALSE(app->pmodule()->pLastLocation());

    app->setRecordPlaces(true);
    EXPECT_EQ(location.starts, starts + 1);
    location.delegate.didUpdateToLocation(Location{52.0, 8.0, 10, t.clock.now()});
    traffic(600);
    queue.drain();
    EXPECT_EQ(app->pmodule()->history().deltas().size(), 2u);
}

TEST_F(ControllerTest, ResetsReachTheModelTheScreensAndTheFile)
{
    finishSetUp();
    test::NotificationCounter planChanges(t.center, std::string(messages::kMonthPlanSettingWasChanged));
    std::optional<std::uint64_t> announced;
    auto reg = t.center.addObserver(std::string(messages::kMonthPlanSettingWasChanged),
                                    [&](const Notification& n) { announced = n.number; });
    app->onResetPlanValue(3'000'000'000);
    EXPECT_EQ(announced, 3'000'000'000u);
    EXPECT_EQ(queue.pending(), 0u) << "a new plan requests no update";
    EXPECT_EQ(UserDefaults(t.paths.defaultsFile).unsigned64ForKey("pkeyDataPlanULL"), 3'000'000'000u);
    EXPECT_EQ(CTrafficManager::decode(t.env, *StoredFile(t.paths.stateFile).read())->getMonthPlan(), 3'000'000'000u);

    app->onResetPlanStartDay(12);
    EXPECT_EQ(queue.pending(), 1u) << "a new start day requests a full update";
    queue.drain();
    app->onResetLocations(this);
    app->onResetPrevMonthsInfo(this);
    EXPECT_EQ(shell.locationResets, 1);
    EXPECT_EQ(shell.monthResets, 1);
}

TEST_F(ControllerTest, AlertSwitchesChangeTheLimitsAndTheirKeys)
{
    finishSetUp();
    app->setAlertSwitch(CAppController::AlertSwitch::Month, false);
    app->setAlertSwitch(CAppController::AlertSwitch::Overbound, false);
    EXPECT_FALSE(app->alertSwitch(CAppController::AlertSwitch::Month));
    EXPECT_EQ(app->pmodule()->limits().size(), 1u);
    app->setAlertSwitch(CAppController::AlertSwitch::Month, true);
    EXPECT_EQ(app->pmodule()->limits().front()->className(), "CTrafficLimitMonth");
    EXPECT_EQ(CTrafficManager::decode(t.env, *StoredFile(t.paths.stateFile).read())->limits().size(), 2u);
}

// A state that cannot be saved (a full data folder): the window goes on with what it was told,
// but the defaults on disk keep what goes with the state on disk until the state is saved.
TEST_F(ControllerTest, WhileTheStateCannotBeSavedTheDefaultsOnDiskStayWithIt)
{
    finishSetUp();
    const auto onDisk = [&] { return UserDefaults(t.paths.defaultsFile); };
    const std::string before = onDisk().objectForKey(DefaultsKeys::kPlan)->dump();
    t.env.stateFile.refuseWrites("No space left on device");
    app->setAlertSwitch(CAppController::AlertSwitch::Day, false);
    app->onResetPlanValue(3'000'000'000);
    EXPECT_EQ(onDisk().boolForKey(DefaultsKeys::kDayLimit), true);
    EXPECT_EQ(onDisk().objectForKey(DefaultsKeys::kPlan)->dump(), before);
    EXPECT_FALSE(app->alertSwitch(CAppController::AlertSwitch::Day)) << "the window shows what it was told";
    EXPECT_EQ(app->pmodule()->getMonthPlan(), 3'000'000'000u);
    ASSERT_EQ(shell.fileProblems.size(), 1u);

    t.env.stateFile.refuseWrites(std::nullopt);  // room again: the next sample saves both
    traffic(1000);
    app->timerFireMethod();
    queue.drain();
    EXPECT_EQ(onDisk().boolForKey(DefaultsKeys::kDayLimit), false);
    EXPECT_EQ(onDisk().unsigned64ForKey(DefaultsKeys::kPlan), 3'000'000'000u);
    EXPECT_EQ(CTrafficManager::decode(t.env, *StoredFile(t.paths.stateFile).read())->getMonthPlan(), 3'000'000'000u);
}

// Two processes on the same files: each update first takes what the other saved.
TEST_F(ControllerTest, TwoControllersOnTheSameFilesBookEachByteOnce)
{
    finishSetUp();
    test::TestEnv other;
    other.paths = t.paths;
    other.defaults = std::make_unique<UserDefaults>(t.paths.defaultsFile);
    other.stateFile = std::make_unique<StoredFile>(t.paths.stateFile);
    test::FakeCounters shared;
    Env otherEnv{t.clock, shared, t.uptime, other.center, *other.defaults, other.notifier, *other.stateFile, t.boot, t.networkDevices};
    Env firstEnv{t.clock, shared, t.uptime, t.center, *t.defaults, t.notifier, *t.stateFile, t.boot, t.networkDevices};
    CAppController a(firstEnv, {queue, tasks, nullptr, nullptr, t.paths.stateLock, t.paths.debugLog}, nullptr);
    CAppController b(otherEnv, {queue, tasks, nullptr, nullptr, t.paths.stateLock, t.paths.debugLog}, nullptr);
    a.CreateTraffManager();
    b.CreateTraffManager();
    std::uint32_t total = 0;
    for (int round = 0; round < 20; ++round) {
        total += 1000;
        shared.set("wwan0", total, 0);
        (round % 2 == 0 ? a : b).doGetTrafficInfoTask(false);
        (round % 3 == 0 ? b : a).doGetTrafficInfoTask(true);
    }
    a.doGetTrafficInfoTask(true);
    b.doGetTrafficInfoTask(true);
    EXPECT_EQ(a.pmodule()->history().getTotalTraffic(), 20000u);
    EXPECT_EQ(b.pmodule()->history().getTotalTraffic(), 20000u);

    // What one saves, the other's next update keeps instead of writing its stale state over it.
    a.onResetPlanValue(7'000'000);
    a.onResetLocations(nullptr);
    b.doGetTrafficInfoTask(false);
    const auto onDisk = CTrafficManager::decode(t.env, *StoredFile(t.paths.stateFile).read());
    EXPECT_EQ(onDisk->getMonthPlan(), 7'000'000u);
    EXPECT_EQ(onDisk->history().getTotalTraffic(), 20000u);
}

// A position that arrives between another process's save and this process's next update is the
// newer one and must not be replaced by the older position in the file.
TEST_F(ControllerTest, ANewerPositionSurvivesTakingAnotherProcesssSave)
{
    finishSetUp();
    test::TestEnv other;
    other.defaults = std::make_unique<UserDefaults>(t.paths.defaultsFile);
    other.stateFile = std::make_unique<StoredFile>(t.paths.stateFile);
    Env otherEnv{t.clock, t.counters, t.uptime, other.center, *other.defaults, other.notifier, *other.stateFile, t.boot, t.networkDevices};
    CAppController b(otherEnv, {queue, tasks, nullptr, nullptr, t.paths.stateLock, t.paths.debugLog}, nullptr);
    b.CreateTraffManager();

    const Location before{50.0, 8.0, 10, t.clock.now()};
    app->pmodule()->setPLastLocation(before);
    app->SaveState();
    b.doGetTrafficInfoTask(false);  // takes `before`
    t.clock.advance(600);
    const Location now{51.0, 9.0, 10, t.clock.now()};
    app->pmodule()->setPLastLocation(now);
    b.doGetTrafficInfoTask(false);  // saves `before` again
    traffic(400);
    app->doGetTrafficInfoTask(false);

    ASSERT_EQ(app->pmodule()->history().deltas().size(), 1u);
    EXPECT_EQ(app->pmodule()->history().deltas()[0]->pLocation->latitude, 51.0);
    EXPECT_EQ(app->pmodule()->pLastLocation()->latitude, 51.0);

    // A position the other process learnt later than this one's wins in turn.
    t.clock.advance(600);
    b.pmodule()->setPLastLocation(Location{52.0, 10.0, 10, t.clock.now()});
    b.SaveState();
    app->doGetTrafficInfoTask(false);
    EXPECT_EQ(app->pmodule()->pLastLocation()->latitude, 52.0);

    // Places turned off by the other process: this one's next update forgets its position too.
    b.setRecordPlaces(false);
    traffic(900);
    app->doGetTrafficInfoTask(false);
    EXPECT_FALSE(app->pmodule()->pLastLocation());
    EXPECT_EQ(app->pmodule()->history().deltas()[0]->delta(), 400) << "nothing new went to a place";
}

}  // namespace
}  // namespace quorvel
