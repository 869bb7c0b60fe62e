// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CAppController.hpp"

#include <algorithm>
#include <optional>

#include "engine/AppShell.hpp"
#include "engine/PlanActionsRunner.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/DefaultsKeys.hpp"
#include "model/Messages.hpp"
#include "platform/Calendar.hpp"
#include "platform/Clock.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/Env.hpp"
#include "platform/FileLock.hpp"
#include "platform/LocationService.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/MobileDataSwitch.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/RoamingSource.hpp"
#include "platform/StoredFile.hpp"
#include "platform/Translation.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

class CAppController::LockScope {
public:
    explicit LockScope(CAppController& c) : c_(c), guard_(c.lock_)
    {
        if (c_.lockDepth_++ == 0) {
            fileLock_.emplace(c_.platform_.stateLock);
            // A lock that is not ours to trust guards nothing: the state is then not written.
            if (fileLock_->problem() != c_.lockProblem_) {
                if (fileLock_->problem()) {
                    Log::line(*fileLock_->problem());  // once, not at every update
                }
                c_.lockProblem_ = fileLock_->problem();
                c_.env_.stateFile.refuseWrites(c_.lockProblem_);
            }
            c_.syncFromDisk();
        }
    }
    ~LockScope() { --c_.lockDepth_; }
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;

private:
    CAppController& c_;
    std::lock_guard<std::recursive_mutex> guard_;
    std::optional<FileLock> fileLock_;
};

CAppController::CAppController(const Env& env, Platform platform, AppShell* shell)
    : env_(env), platform_(std::move(platform)), shell_(shell)
{
}

CAppController::~CAppController() = default;

void CAppController::syncFromDisk()
{
    env_.defaults.reloadIfChanged();
    if (!pmodule_ || !env_.stateFile.changedSinceLastSync()) {
        return;
    }
    // Another process saved, or the file vanished: take its state when there is one; otherwise
    // keep ours, which the next save writes back.
    std::optional<std::string> bytes = env_.stateFile.read();
    if (!bytes) {
        return;
    }
    try {
        pmodule_->adoptState(std::move(*CTrafficManager::decode(env_, *bytes)));
    } catch (const ArchiveError& e) {
        env_.stateFile.moveAside(e.what());
    }
}

void CAppController::withStateLock(const std::function<void(CTrafficManager&)>& change)
{
    LockScope scope(*this);
    // The defaults a change touches are written only once the state it goes with is on disk;
    // until then the process keeps both in memory (the hold withholds them from the file).
    UserDefaults::Hold defaults(env_.defaults);
    change(*pmodule());
    pmodule_->saveState();
    if (!env_.stateFile.problem()) {
        defaults.commit();
    }
    reportFileProblem();
}

std::optional<std::string> CAppController::fileProblem() const
{
    if (lockProblem_) {
        return lockProblem_;
    }
    if (std::optional<std::string> state = env_.stateFile.problem()) {
        return state;
    }
    return env_.defaults.problem();
}

void CAppController::reportFileProblem()
{
    if (fileProblemShown_ || shell_ == nullptr) {
        return;
    }
    if (std::optional<std::string> why = fileProblem()) {
        fileProblemShown_ = true;
        shell_->showFileProblem(*why);
    }
}

void CAppController::CreateTraffManager()
{
    LockScope scope(*this);
    pmodule_ = CTrafficManager::createTrafficManager(env_);
    if (platform_.timers != nullptr) {
        pmodule_->knownSims().askEachSample(true);  // the window hears none of the modems' signals
    }
    if (std::optional<std::uint64_t> plan = env_.defaults.unsigned64ForKey(DefaultsKeys::kPlan)) {
        pmodule_->setPMonthPlan(*plan);  // the preference wins over the archived plan
    }
}

void CAppController::SaveState()
{
    LockScope scope(*this);
    pmodule_->saveState();
}

void CAppController::initPrefs()
{
    LockScope scope(*this);
    bool wrote = false;
    const auto ensure = [&](const char* key, nlohmann::json value) {
        if (!env_.defaults.hasKey(key)) {
            env_.defaults.setObject(key, std::move(value));
            wrote = true;
        }
    };
    ensure(DefaultsKeys::kPlan, CTrafficManager::kDefaultPlan);
    ensure(DefaultsKeys::kAutoReset, true);
    ensure(DefaultsKeys::kMonthLimit, true);
    ensure(DefaultsKeys::kMonthLimitLevel, 80);
    ensure(DefaultsKeys::kDayLimit, true);
    ensure(DefaultsKeys::kOverbound, true);
    if (wrote) {
        env_.defaults.synchronize();
    }
}

void CAppController::SavePrefs()
{
    env_.defaults.synchronize();
}

void CAppController::setThresholdKoeff(double k, double dkDay)
{
    pmodule_->setThresholdKoeff(k, dkDay);
}

void CAppController::onResetLocations(const void* sender)
{
    withStateLock([](CTrafficManager& m) { m.resetLocations(); });
    if (shell_ != nullptr) {
        shell_->onResetLocationsHandler(sender);
    }
}

void CAppController::onResetPrevMonthsInfo(const void* sender)
{
    withStateLock([](CTrafficManager& m) { m.resetPrevMonthsInfo(); });
    if (shell_ != nullptr) {
        shell_->onResetPrevMonthsInfoHandler(sender);
    }
}

void CAppController::onResetPlanStartDay(std::int32_t day)
{
    withStateLock([day](CTrafficManager& m) { m.setPlanStartDay(day); });
    getTrafficInformation(true);
}

void CAppController::onResetPlanValue(std::uint64_t plan)
{
    withStateLock([plan](CTrafficManager& m) { m.setNewPlanValue(plan); });
    env_.center.post(Notification{messages::kMonthPlanSettingWasChanged, nullptr, plan});
}

const DataPlan& CAppController::dataPlan() const
{
    return pmodule()->dataPlan();
}

PlanShape CAppController::planShape() const
{
    return pmodule()->planShape();
}

LocalDay CAppController::today() const
{
    return pmodule()->currentDay();
}

std::vector<std::uint64_t> CAppController::packsLeft() const
{
    return pmodule()->allowanceNow().packLeft;
}

void CAppController::changePlanAndUpdate(const std::function<void(CTrafficManager&)>& change)
{
    withStateLock(change);
    getTrafficInformation(true);
}

void CAppController::setPlanShape(const PlanShape& shape)
{
    changePlanAndUpdate([&](CTrafficManager& m) { m.setPlanShape(shape); });
}

void CAppController::setRollover(bool on)
{
    changePlanAndUpdate([on](CTrafficManager& m) { m.setRollover(on); });
}

void CAppController::setFreeHours(std::optional<DataPlan::FreeHours> hours)
{
    changePlanAndUpdate([hours](CTrafficManager& m) {
        if (!m.isSimPlan()) {  // the screens offer them for This device's plan only
            m.setFreeHours(hours);
        }
    });
}

bool CAppController::addPack(const AddonPack& pack)
{
    bool added = false;
    changePlanAndUpdate([&](CTrafficManager& m) {
        // Counted under the lock: another process may have added packs since the screen read them.
        added = m.dataPlan().packs().size() < DataPlan::kMaxPacks;
        if (added) {
            m.addPack(pack);
        }
    });
    return added;
}

void CAppController::removePack(std::size_t index)
{
    changePlanAndUpdate([index](CTrafficManager& m) {
        if (index < m.dataPlan().packs().size()) {  // another process may have removed it meanwhile
            m.removePack(index);
        }
    });
}

bool CAppController::onResetThisMonthDataInfo(std::uint64_t used)
{
    bool done = false;
    withStateLock([&](CTrafficManager& m) { done = m.correctUsedData(used); });
    getTrafficInformation(true);
    return done;
}

namespace {
const char* keyOf(CAppController::AlertSwitch which)
{
    switch (which) {
    case CAppController::AlertSwitch::Day:
        return DefaultsKeys::kDayLimit;
    case CAppController::AlertSwitch::Month:
        return DefaultsKeys::kMonthLimit;
    case CAppController::AlertSwitch::Overbound:
        return DefaultsKeys::kOverbound;
    }
    return DefaultsKeys::kDayLimit;
}
}  // namespace

void CAppController::setAlertSwitch(AlertSwitch which, bool on)
{
    withStateLock([&](CTrafficManager& m) {
        if (!m.isSimPlan()) {
            env_.defaults.setObject(keyOf(which), on);
            env_.defaults.synchronize();
        }
        switch (which) {
        case AlertSwitch::Day:
            m.setDayLimit(on);
            break;
        case AlertSwitch::Month:
            m.setMonthLimit(on ? 0.9 : -1.0);
            break;
        case AlertSwitch::Overbound:
            m.setOverBoundLimit(on);
            break;
        }
    });
}

bool CAppController::alertSwitch(AlertSwitch which) const
{
    const CTrafficManager* m = pmodule();
    if (m == nullptr || !m->isSimPlan()) {
        return env_.defaults.boolForKey(keyOf(which)).value_or(false);
    }
    // A SIM's switches are its own limits; the defaults keep the device's.
    return std::any_of(m->limits().begin(), m->limits().end(), [&](const auto& l) {
        switch (which) {
        case AlertSwitch::Day:
            return dynamic_cast<const CTrafficLimitDay*>(l.get()) != nullptr;
        case AlertSwitch::Month:
            return dynamic_cast<const CTrafficLimitMonth*>(l.get()) != nullptr;
        case AlertSwitch::Overbound:
            return dynamic_cast<const CTrafficLimitOverbound*>(l.get()) != nullptr;
        }
        return false;
    });
}

CTrafficManager* CAppController::pmodule() const
{
    if (pmodule_ == nullptr || !selected_) {
        return pmodule_.get();
    }
    // Looked up each time: a state another process saved brings its own SIMs' plans.
    const KnownSims::Entry* e = pmodule_->knownSims().find(*selected_);
    return e != nullptr ? e->plan.get() : pmodule_.get();
}

void CAppController::selectPlan(std::optional<std::string> simKey)
{
    selected_ = std::move(simKey);
}

std::optional<std::string> CAppController::selectedSim() const
{
    const CTrafficManager* m = pmodule();
    if (m == nullptr || !m->isSimPlan()) {
        return std::nullopt;
    }
    return m->device().knownSims().entryOf(*m)->record.key();
}

void CAppController::selectActivePlan()
{
    KnownSims& sims = pmodule_->knownSims();
    if (!sims.entries().empty()) {
        sims.renewRoute();  // which SIM is active now, not at the last sample
    }
    const std::optional<std::string> active = sims.activeKey();
    const KnownSims::Entry* e = active ? sims.find(*active) : nullptr;
    selectPlan(e != nullptr && e->record.setUp() ? active : std::nullopt);
}

std::vector<AppActions::PlanChoice> CAppController::planChoices() const
{
    std::vector<PlanChoice> out{{std::nullopt, _("This device")}};
    for (const KnownSims::Entry& e : pmodule_->knownSims().entries()) {
        if (e.record.setUp()) {
            out.push_back({e.record.key(), e.record.displayName()});
        }
    }
    return out;
}

void CAppController::showPlan(std::optional<std::string> sim)
{
    selectPlan(std::move(sim));
    pmodule()->screensShowedAnotherPlan();
    getTrafficInformation(true);
}

std::vector<AppActions::KnownSim> CAppController::knownSims() const
{
    std::vector<KnownSim> out;
    for (const KnownSims::Entry& e : pmodule_->knownSims().entries()) {
        out.push_back({e.record, e.record.setUp() ? std::optional<std::uint64_t>(e.plan->getMonthPlan()) : std::nullopt});
    }
    return out;
}

bool CAppController::renameSim(const std::string& key, const std::string& name)
{
    if (!SimRecord::validName(name)) {
        return false;
    }
    withStateLock([&](CTrafficManager& m) {
        if (const std::optional<std::size_t> i = m.knownSims().indexOf(key)) {
            m.knownSims().rename(*i, name);
        }
    });
    env_.center.post(Notification{messages::kDataUsageWasChanged, nullptr, std::nullopt});
    return true;
}

void CAppController::forgetSim(const std::string& key)
{
    const bool shown = selectedSim() == key;
    if (shown) {
        selectPlan(std::nullopt);  // the plan goes: This device's is shown instead
    }
    withStateLock([&](CTrafficManager& m) {
        if (const std::optional<std::size_t> i = m.knownSims().indexOf(key)) {
            m.knownSims().forget(*i);
        }
    });
    if (shown) {
        pmodule()->screensShowedAnotherPlan();
    }
    getTrafficInformation(true);
}

std::optional<SimRecord> CAppController::simAwaitingSetUp() const
{
    for (const KnownSims::Entry& e : pmodule_->knownSims().entries()) {
        if (!e.record.setUp() && e.history().countedBytes() > 0) {
            return e.record;
        }
    }
    return std::nullopt;
}

bool CAppController::noSimHasAPlan() const
{
    const auto& entries = pmodule_->knownSims().entries();
    return std::none_of(entries.begin(), entries.end(), [](const auto& e) { return e.record.setUp(); });
}

bool CAppController::takeOverBy(const std::string& key)
{
    bool taken = false;
    withStateLock([&](CTrafficManager& m) {
        KnownSims& sims = m.knownSims();
        const std::optional<std::size_t> i = sims.indexOf(key);
        taken = i && !sims.entries()[*i].record.setUp();
        if (taken) {
            sims.entries()[*i].plan->takeOverDevicePlan();
            sims.markSetUp(*i);
        }
    });
    return taken;
}

bool CAppController::planSetUp() const
{
    const CTrafficManager* m = pmodule();
    if (m != nullptr && m->isSimPlan()) {
        return m->device().knownSims().entryOf(*m)->record.setUp();
    }
    return !isFirstStart();
}

void CAppController::finishSimSetUp()
{
    const std::optional<std::string> sim = selectedSim();
    QV_REQUIRE(sim.has_value(), "a SIM's set-up ends with that SIM's plan chosen");
    withStateLock([&](CTrafficManager& m) { m.knownSims().markSetUp(*m.knownSims().indexOf(*sim)); });
    resetWizardFinished();  // counting begins with the first plan set up, whichever it is
}

void CAppController::setCutoffAtPlan(bool on)
{
    withStateLock([on](CTrafficManager& m) { m.setCutoffAtPlan(on); });
}

bool CAppController::cutoffAtPlan() const
{
    return pmodule() != nullptr && pmodule()->cutoffAtPlan();
}

std::optional<std::string> CAppController::cutoffUnavailable() const
{
    return env_.mobileData != nullptr ? env_.mobileData->unavailable() : NoMobileDataSwitch::kReason;
}

void CAppController::setRecordPlaces(bool on)
{
    withStateLock([&](CTrafficManager& m) {
        env_.defaults.setObject(DefaultsKeys::kRecordPlaces, on);
        env_.defaults.synchronize();
        if (!on) {
            m.setPLastLocation(std::nullopt);
        }
    });
    if (platform_.location == nullptr) {
        return;
    }
    if (on) {
        beginUpdatingSelfPosition();
    } else {
        platform_.location->stopMonitoringSignificantLocationChanges();
    }
}

bool CAppController::recordPlaces() const
{
    return env_.defaults.boolForKey(DefaultsKeys::kRecordPlaces).value_or(true);
}

std::optional<std::string> CAppController::operatorName() const
{
    return env_.roaming != nullptr ? env_.roaming->operatorName() : std::nullopt;
}

std::vector<InterfaceState> CAppController::interfaceReport()
{
    return pmodule_->interfaceReport();
}

void CAppController::countInterface(const std::string& name, bool on)
{
    withStateLock([&](CTrafficManager& m) {
        // Counting starts from now, never with the interface's earlier traffic.
        m.setInterfaceChoice(name, on);
        m.setInterfaceChoice(name, std::nullopt);
        for (const auto& i : m.interfaceReport()) {
            if (i.decision.name == name && i.decision.counted != on) {
                m.setInterfaceChoice(name, on);
            }
        }
    });
}

void CAppController::setCountMetered(bool on)
{
    withStateLock([on](CTrafficManager& m) { m.setCountMetered(on); });
}

bool CAppController::countMetered() const
{
    return pmodule_ != nullptr && pmodule_->countMetered();
}

SwitchOutcome CAppController::turnMobileDataBackOn()
{
    return PlanActionsRunner::turnBackOn(env_);
}

void CAppController::resetFirstStart()
{
    // Written through at once: a set-up that was answered must not be asked again after a crash.
    env_.defaults.setObject(DefaultsKeys::kStartedBefore, false);
    env_.defaults.synchronize();
}

void CAppController::runSetUp()
{
    if (shell_ != nullptr && isFirstStart()) {
        shell_->resumeFirstStart();
    }
}

bool CAppController::isFirstStart() const
{
    const nlohmann::json* v = env_.defaults.objectForKey(DefaultsKeys::kStartedBefore);
    if (v == nullptr || !(v->is_boolean() || v->is_number())) {
        return true;
    }
    return v->is_boolean() ? v->get<bool>() : v->get<double>() != 0.0;
}

void CAppController::getTrafficInformation(bool full)
{
    if (isFirstStart()) {
        return;  // nothing is sampled before the set-up is complete
    }
    startBackgroundUpdates();
    platform_.queue.dispatchAsync([this, full] {
        doGetTrafficInfoTask(full);
        stopBackgroundUpdates();
    });
}

std::shared_ptr<FTrafficDataInformation> CAppController::doGetTrafficInfoTask(bool full)
{
    LockScope scope(*this);
    if (!recordPlaces()) {
        // Turned off here or by another program: whatever place was last known gets nothing new.
        pmodule_->setPLastLocation(std::nullopt);
    }
    std::shared_ptr<FTrafficDataInformation> summary = pmodule()->updateTrafficInformation(full);
    if (!env_.stateFile.problem()) {
        env_.defaults.releaseWithheld();  // what a change could not save goes out with the state
    }
    reportFileProblem();
    if (full && summary && appState_ != AppState::Background) {
        updateTrafficInterface(summary);
    }
    if (updateObserver_) {
        updateObserver_(summary, full);
    }
    return summary;
}

void CAppController::updateTrafficInterface(const SharedSummary& summary)
{
    if (summary && shell_ != nullptr) {
        shell_->updateTrafficInterface(summary);
    }
}

void CAppController::startBackgroundUpdates()
{
    const BackgroundTasks::TaskId previous = bgtaskTrafficInfo_;
    bgtaskTrafficInfo_ = platform_.tasks.beginBackgroundTask([this] {
        platform_.tasks.endBackgroundTask(bgtaskTrafficInfo_);
        bgtaskTrafficInfo_ = BackgroundTasks::kInvalid;
    });
    if (previous != BackgroundTasks::kInvalid) {
        platform_.tasks.endBackgroundTask(previous);
    }
}

void CAppController::stopBackgroundUpdates()
{
    platform_.tasks.endBackgroundTask(bgtaskTrafficInfo_);
    bgtaskTrafficInfo_ = BackgroundTasks::kInvalid;
}

void CAppController::startTimerUpdate()
{
    stopTimerUpdate();
    if (platform_.timers != nullptr) {
        pTimer_ = platform_.timers->scheduleRepeating(kTimerInterval, [this] { timerFireMethod(); });
    }
    armFreeEdge();
}

void CAppController::stopTimerUpdate()
{
    pTimer_.reset();
    pFreeEdge_.reset();
}

void CAppController::armFreeEdge()
{
    pFreeEdge_.reset();
    const std::optional<DataPlan::FreeHours>& hours = pmodule_ ? pmodule_->dataPlan().freeHours() : std::nullopt;
    if (!hours || !pTimer_ || platform_.timers == nullptr) {
        return;
    }
    const DateComponents c = Calendar::components(env_.clock.now());
    const int seconds = hours->secondsToNextEdge(c.hour, c.minute, c.second) + 1;
    // A one-shot: the sample and the next arming run from the queue, outside the timer's own tick.
    pFreeEdge_ = platform_.timers->scheduleRepeating(seconds, [this] {
        platform_.queue.dispatchAsync([this] {
            if (pFreeEdge_) {
                pmodule_->history().sampler().nextSampleEndsAtFreeEdge();
                getTrafficInformation(true);
                armFreeEdge();
            }
        });
    });
}

void CAppController::createLocationManager()
{
    if (platform_.location == nullptr) {
        return;
    }
    platform_.location->setDelegate(LocationService::Delegate{
        [this](const Location& l) { didUpdateToLocation(l); },
        [this](const std::string& e) { didFailWithError(e); }});
    platform_.location->configure(10.0, 10.0, "Application Uses Locations to create a map of Mobile Data Usage");
    beginUpdatingSelfPosition();
}

void CAppController::beginUpdatingSelfPosition()
{
    if (platform_.location != nullptr && recordPlaces()) {
        platform_.location->startMonitoringSignificantLocationChanges();
    }
}

void CAppController::didUpdateToLocation(const Location& location)
{
    if (!recordPlaces()) {
        return;  // a fix that was under way when places were turned off
    }
    if (!timerRunning()) {
        if (!pmodule_->pLastLocation()) {
            pmodule_->setPLastLocation(location);
        }
        getTrafficInformation(false);
    }
    pmodule_->setPLastLocation(location);
    beginUpdatingSelfPosition();
}

void CAppController::didFailWithError(const std::string& error)
{
    Log::line("didFailWithError: " + error);
}

void CAppController::readWriteFile()
{
    std::lock_guard guard(lock_);
    StoredFile(platform_.debugLog).write(std::string());  // the debug log is kept empty
}

void CAppController::resetWizardFinished()
{
    if (!isFirstStart()) {
        return;
    }
    resetFirstStart();
    if (appState_ == AppState::Active) {
        startTimerUpdate();  // otherwise the resident counter counts until the window is active
    }
    beginUpdatingSelfPosition();
}

bool CAppController::didFinishLaunching(const LaunchOptions& options)
{
    bgtaskLocation_ = BackgroundTasks::kInvalid;
    bgtaskTrafficInfo_ = BackgroundTasks::kInvalid;
    appState_ = options.locationEvent ? AppState::Background : AppState::Inactive;
    initPrefs();
    CreateTraffManager();
    selectActivePlan();
    createLocationManager();
    readWriteFile();
    if (options.locationEvent) {
        getTrafficInformation(false);
        return true;
    }
    if (shell_ != nullptr) {
        shell_->createInterface();
    }
    reportFileProblem();
    if (!isFirstStart()) {
        doGetTrafficInfoTask(true);
    }
    if (options.notification && shell_ != nullptr) {
        shell_->didReceiveLocalNotification(*options.notification, true);
    }
    return true;
}

void CAppController::applicationDidBecomeActive()
{
    appState_ = AppState::Active;
    if (shell_ != nullptr) {
        shell_->runFirstStartWizard();
        shell_->createInterface();
    }
    getTrafficInformation(true);
    readWriteFile();
    startTimerUpdate();
    if (shell_ != nullptr && !isFirstStart()) {
        shell_->showAutoSubscription();
    }
}

void CAppController::applicationWillResignActive()
{
    appState_ = AppState::Inactive;
    // Visible but not in use: the resident counter keeps counting, so the window stops waking
    // every minute (and its free-hours edge) until it is active again.
    stopTimerUpdate();
    readWriteFile();
}

void CAppController::applicationDidEnterBackground()
{
    appState_ = AppState::Background;
    beginUpdatingSelfPosition();
    stopTimerUpdate();
    readWriteFile();
}

void CAppController::applicationWillEnterForeground()
{
    appState_ = AppState::Inactive;
    if (shell_ != nullptr) {
        shell_->createInterface();
    }
    readWriteFile();
    if (platform_.location != nullptr) {
        platform_.location->stopUpdatingLocation();
    }
    beginUpdatingSelfPosition();
}

HistoryTransfer::Outcome CAppController::importHistory(const std::string& path,
                                                       const std::optional<std::string>& interface, bool dryRun)
{
    if (isFirstStart()) {
        return {"there is no plan to import it into yet: set up Quorvel first", {}};
    }
    const HistoryTransfer::Source source{HistoryTransfer::formatOf(path), path, interface};
    HistoryTransfer::Outcome outcome = HistoryTransfer::importInto(*this, source, false, dryRun);
    if (!dryRun && outcome.refusal.empty()) {
        getTrafficInformation(true);
    }
    return outcome;
}

std::optional<std::string> CAppController::exportHistory(const std::string& path) const
{
    return HistoryTransfer::exportTo(*this, path);
}

void CAppController::applicationWillTerminate()
{
    readWriteFile();
}

}  // namespace quorvel
