// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/CTrafficManager.hpp"
#include "engine/GlobalAppProtocol.hpp"
#include "platform/BackgroundTasks.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/Location.hpp"
#include "platform/MobileDataSwitch.hpp"
#include "platform/TimerSource.hpp"

namespace quorvel {

class AppShell;
class LocationService;
class MainQueue;

// The application controller without its windows: preferences, the traffic manager, when
// traffic is sampled (timer, location events, life cycle), the queued update with a background
// task around it, the resets the settings ask for, and the one-writer rule across processes.
// The GUI gives it a shell with screens; the command line drives it without one.
class CAppController : public GlobalAppProtocol {
public:
    // What the controller drives besides the model's services.
    struct Platform {
        MainQueue& queue;
        BackgroundTasks& tasks;
        TimerSource* timers = nullptr;        // none: no foreground timer
        LocationService* location = nullptr;  // none: no location events
        std::filesystem::path stateLock;
        std::filesystem::path debugLog;
    };
    enum class AppState { Active, Inactive, Background };
    struct LaunchOptions {
        bool locationEvent = false;  // started in the background for a location event
        std::optional<LocalNotification> notification;
    };
    using UpdateObserver = std::function<void(const SharedSummary& summary, bool full)>;

    static constexpr double kTimerInterval = 60.0;

    CAppController(const Env& env, Platform platform, AppShell* shell);
    ~CAppController() override;

    // GlobalAppProtocol.
    void CreateTraffManager() override;
    void SaveState() override;
    void initPrefs() override;
    void SavePrefs() override;
    void checkTraffic() override {}  // does nothing by design: every update checks the limits itself
    void setThresholdKoeff(double k, double dkDay) override;
    void onResetLocations(const void* sender) override;
    void onResetPrevMonthsInfo(const void* sender) override;
    bool onResetThisMonthDataInfo(std::uint64_t used) override;
    void onResetPlanValue(std::uint64_t plan) override;
    void onResetPlanStartDay(std::int32_t day) override;
    void resetFirstStart() override;
    // The plan the screens and commands act on: the chosen SIM's, else the device's.
    CTrafficManager* pmodule() const override;
    void setPmodule(std::unique_ptr<CTrafficManager> manager) override { pmodule_ = std::move(manager); }

    bool isFirstStart() const override;
    void runSetUp() override;
    // Chooses the plan `pmodule` gives: a SIM's by its key, none for the device's ("This
    // device"). A key no SIM has (forgotten meanwhile) gives the device's.
    void selectPlan(std::optional<std::string> simKey);
    // The key of the SIM whose plan is chosen; none for the device's.
    std::optional<std::string> selectedSim() const override;
    // The active SIM's plan when it is set up, else the device's; asks the modem manager first
    // once any SIM was seen.
    void selectActivePlan();
    std::vector<PlanChoice> planChoices() const override;
    // The screens' choice: selected, and the screens updated with its figures.
    void showPlan(std::optional<std::string> sim) override;
    std::vector<KnownSim> knownSims() const override;
    bool renameSim(const std::string& key, const std::string& name) override;
    void forgetSim(const std::string& key) override;
    HistoryTransfer::Outcome importHistory(const std::string& path, const std::optional<std::string>& interface,
                                           bool dryRun) override;
    std::optional<std::string> exportHistory(const std::string& path) const override;
    // The first SIM that is not set up and has traffic counted for it: its set-up is offered.
    std::optional<SimRecord> simAwaitingSetUp() const;
    // Whether the device's plan is still one no SIM took over or set up beside: the first SIM
    // is asked whether it is that plan's.
    bool noSimHasAPlan() const;
    // The device's plan and history go to that SIM, which has none yet; false, with nothing
    // changed, when it has one.
    bool takeOverBy(const std::string& key);
    // Whether the chosen plan is set up: the device's after the first start, a SIM's once its
    // own set-up ended.
    bool planSetUp() const;
    // Ends the chosen SIM's set-up (and the first start, when this is the first plan).
    void finishSimSetUp();
    // Requests an update: none during the first start; otherwise queued with a background task.
    void getTrafficInformation(bool full);
    // Runs one update now, under the lock; a full summary goes to the screens.
    std::shared_ptr<FTrafficDataInformation> doGetTrafficInfoTask(bool full);
    void updateTrafficInterface(const SharedSummary& summary);
    // Runs `change` on the model under the one-writer lock, after taking what another process
    // saved, and saves afterwards. The defaults it touched are written only after the state was:
    // when that fails they are kept from the file until a later save of the state succeeds.
    void withStateLock(const std::function<void(CTrafficManager&)>& change);
    // AppActions beyond the resets.
    void setAlertSwitch(AlertSwitch which, bool on) override;
    bool alertSwitch(AlertSwitch which) const override;
    void setCutoffAtPlan(bool on) override;  // kept in the state beside the plan
    bool cutoffAtPlan() const override;
    std::optional<std::string> cutoffUnavailable() const override;
    void setRecordPlaces(bool on) override;  // a preference, shared by every program of the user
    bool recordPlaces() const override;
    std::optional<std::string> operatorName() const override;
    std::vector<InterfaceState> interfaceReport() override;
    void countInterface(const std::string& name, bool on) override;
    void setCountMetered(bool on) override;
    bool countMetered() const override;
    const DataPlan& dataPlan() const override;
    PlanShape planShape() const override;
    void setPlanShape(const PlanShape& shape) override;
    void setRollover(bool on) override;
    void setFreeHours(std::optional<DataPlan::FreeHours> hours) override;
    bool addPack(const AddonPack& pack) override;
    void removePack(std::size_t index) override;
    std::vector<std::uint64_t> packsLeft() const override;
    LocalDay today() const override;
    // The answer to the cut-off notification's button; the outcome for the caller to show.
    SwitchOutcome turnMobileDataBackOn();
    void setUpdateObserver(UpdateObserver observer) { updateObserver_ = std::move(observer); }

    // Life cycle.
    bool didFinishLaunching(const LaunchOptions& options);
    void applicationDidBecomeActive();
    void applicationWillResignActive();
    void applicationDidEnterBackground();
    void applicationWillEnterForeground();
    void applicationWillTerminate();
    AppState applicationState() const { return appState_; }

    // Location events. A location while places are not recorded is ignored.
    void didUpdateToLocation(const Location& location);
    void didFailWithError(const std::string& error);

    void startTimerUpdate();
    void stopTimerUpdate();
    bool timerRunning() const { return pTimer_ != nullptr; }
    void timerFireMethod()
    {
        getTrafficInformation(true);
        armFreeEdge();  // a change of the free hours is followed within a tick
    }
    // While the window samples, the next edge of the plan's free hours is sampled at too, so
    // that their split is exact; none without free hours.
    void armFreeEdge();
    void createLocationManager();
    void beginUpdatingSelfPosition();
    void readWriteFile();
    // The end of the first-start set-up: sampling begins.
    void resetWizardFinished();

    const Env& env() const { return env_; }
    // Why the state or defaults file cannot be read or saved (it is left as it is), or nothing.
    std::optional<std::string> fileProblem() const;

private:
    // A change of the plan's settings under the lock, then an update for the screens.
    void changePlanAndUpdate(const std::function<void(CTrafficManager&)>& change);
    void startBackgroundUpdates();
    void stopBackgroundUpdates();
    // Takes what another process saved since this one last read or wrote the files.
    void syncFromDisk();
    // Tells the shell about a file problem, once per process.
    void reportFileProblem();
    // Holds the controller's lock and, at the outermost level, the lock file across processes
    // (a second flock on a new descriptor in the same process would wait for ever).
    class LockScope;
    friend class LockScope;

    const Env& env_;
    Platform platform_;
    AppShell* shell_;
    std::unique_ptr<CTrafficManager> pmodule_;
    std::unique_ptr<TimerSource::Handle> pTimer_;
    std::unique_ptr<TimerSource::Handle> pFreeEdge_;
    BackgroundTasks::TaskId bgtaskLocation_ = BackgroundTasks::kInvalid;
    BackgroundTasks::TaskId bgtaskTrafficInfo_ = BackgroundTasks::kInvalid;
    AppState appState_ = AppState::Inactive;
    UpdateObserver updateObserver_;
    std::recursive_mutex lock_;
    int lockDepth_ = 0;
    bool fileProblemShown_ = false;
    std::optional<std::string> lockProblem_;  // why the one-writer lock was refused last time
    std::optional<std::string> selected_;     // the chosen SIM's key
};

}  // namespace quorvel
