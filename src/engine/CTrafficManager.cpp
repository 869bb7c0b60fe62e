// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CTrafficManager.hpp"

#include <limits>
#include <map>

#include "engine/ManagerArchive.hpp"
#include "engine/PlanActionsRunner.hpp"
#include "model/BillingPeriod.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/DateDay.hpp"
#include "model/DayRange.hpp"
#include "model/DefaultsKeys.hpp"
#include "model/PeriodMonths.hpp"
#include "model/PlanActions.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/Calendar.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/Log.hpp"
#include "platform/StoredFile.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

CTrafficManager::CTrafficManager(const Env& env, bool initDefaults)
    : traffics_(std::make_unique<CTraffics>(env)),
      dispatcher_(NMDispatcher::createMsgDispatcher(env.defaults, env.notifier, env.clock)),
      pPlanStartDay_(1),
      sims_(env),
      env_(&env)
{
    wireRoute();
    setPMonthPlan(kDefaultPlan);
    if (initDefaults) {
        setDayLimit(true);
        setMonthLimit(0.9);
        setOverBoundLimit(true);
    }
}

void CTrafficManager::wireRoute()
{
    traffics_->setRoute(&sims_);
    sims_.setOwner(this);
}

std::unique_ptr<CTrafficManager> CTrafficManager::forSim(CTrafficManager& owner, std::unique_ptr<CTraffics> history,
                                                         std::string subject)
{
    QV_REQUIRE(history != nullptr && owner.owner_ == nullptr, "a SIM's plan needs a history and the device's manager");
    auto m = std::make_unique<CTrafficManager>(*owner.env_, false);
    m->owner_ = &owner;
    m->traffics_ = std::move(history);
    m->traffics_->setRoute(nullptr);  // never sampled itself: the device's sampler books its share
    m->dispatcher_ = std::make_unique<NMDispatcher>(nlohmann::json::object(), std::move(subject), owner.env_->notifier,
                                                    owner.env_->clock);
    m->limitsFromSwitches();
    m->keepHistoryForPeriod();
    return m;
}

void CTrafficManager::takeOverDevicePlan()
{
    QV_REQUIRE(owner_ != nullptr, "only a SIM's plan takes over the device's");
    CTrafficManager& d = *owner_;
    std::unique_ptr<CTraffics> counted = std::exchange(traffics_, d.traffics_->handOverRecords());
    traffics_->setRoute(nullptr);
    traffics_->absorbDays(*counted);
    pMonthPlan_ = d.pMonthPlan_;
    traffics_->setPMonthPlan(pMonthPlan_);
    pPlanStartDay_ = d.pPlanStartDay_;
    dataPlan_ = d.dataPlan_;
    cutoffAtPlan_ = d.cutoffAtPlan_;
    cutoffPeriod_ = d.cutoffPeriod_;
    limits_ = std::move(d.limits_);
    initLimitsWithSelf();
    dispatcher_ = std::make_unique<NMDispatcher>(d.dispatcher_->dictrops(), "", env_->notifier, env_->clock);
    d.limitsFromSwitches();
    d.initLimitsWithSelf();
    d.cutoffPeriod_.reset();
    d.dispatcher_->resetNotificationsHistory();
    keepHistoryForPeriod();
}

std::unique_ptr<CTrafficManager> CTrafficManager::createTrafficManager(const Env& env)
{
    if (std::optional<std::string> bytes = env.stateFile.read()) {
        try {
            return decode(env, *bytes);
        } catch (const ArchiveError& e) {
            env.stateFile.moveAside(e.what());
        }
    }
    auto fresh = std::make_unique<CTrafficManager>(env, true);
    // Without a stored baseline the counters' whole total since boot is not this model's to
    // book: the first sample only takes the baseline. (The set-up sets one anyway.)
    fresh->traffics_->sampler().setPrevTrafficSize(CTrafficObtainer::kNoBaseline);
    return fresh;
}

std::unique_ptr<CTrafficManager> CTrafficManager::decode(const Env& env, const std::string& bytes)
{
    try {
        return ArchiveDecoder::unarchiveRootObject<CTrafficManager>(bytes, &env);
    } catch (const nlohmann::json::exception& e) {
        throw ArchiveError(e.what());  // a value the shape checks let through but JSON cannot give
    }
}

void CTrafficManager::adoptState(CTrafficManager&& other)
{
    const std::optional<Location> own = traffics_->lastLocation();
    traffics_ = std::move(other.traffics_);
    // A position this process learnt after the other one saved is where the device is now;
    // the file's older one would attribute the next traffic to a place already left.
    const std::optional<Location>& stored = traffics_->lastLocation();
    if (own && (!stored || own->timestamp.seconds > stored->timestamp.seconds)) {
        traffics_->setLastLocation(own);
    }
    limits_ = std::move(other.limits_);
    pMonthPlan_ = other.pMonthPlan_;
    pPlanStartDay_ = other.pPlanStartDay_;
    dataPlan_ = other.dataPlan_;
    cutoffAtPlan_ = other.cutoffAtPlan_;
    cutoffPeriod_ = other.cutoffPeriod_;
    sims_.adopt(std::move(other.sims_));
    wireRoute();  // the SIMs' plans belong to this manager now
    initLimitsWithSelf();
    dispatcher_->readPropsFromPrefs();
}

std::string CTrafficManager::encode() const
{
    return ArchiveEncoder::archivedDataWithRootObject(*this);
}

void CTrafficManager::saveState()
{
    // A failed write is logged there and retried next update.
    env_->stateFile.write(device().encode());
}

Date CTrafficManager::now() const
{
    return env_->clock.now();
}

std::int32_t CTrafficManager::startDay() const
{
    return getPlanStartDay();
}

void CTrafficManager::setPMonthPlan(std::optional<std::uint64_t> plan)
{
    pMonthPlan_ = plan;
    traffics_->setPMonthPlan(plan);
}

void CTrafficManager::setNewPlanValue(std::uint64_t plan)
{
    setPMonthPlan(plan);
    savePlanToPreferences();
    dispatcher_->resetNotificationsHistory();
    rearmCutoff(usageFigures());
}

void CTrafficManager::setPlanStartDay(std::int32_t day)
{
    QV_REQUIRE(day >= 1 && day <= 31, "the plan start day must be checked to lie in 1..31 before it is set");
    pPlanStartDay_ = day;
    dataPlan_.setShape(std::nullopt);  // a start day is a monthly plan's
    planChanged();
}

void CTrafficManager::planChanged()
{
    savePlanToPreferences();
    dispatcher_->resetNotificationsHistory();
    keepHistoryForPeriod();
    rearmCutoff(usageFigures());
}

PlanShape CTrafficManager::planShape() const
{
    return dataPlan_.shape().value_or(PlanShape::monthly(startDay() >= 1 && startDay() <= 31 ? startDay() : 1));
}

void CTrafficManager::setPlanShape(const PlanShape& shape)
{
    if (shape.kind() == PlanShape::Kind::Monthly) {
        setPlanStartDay(shape.startDay());
        return;
    }
    dataPlan_.setShape(shape);
    if (dataPlan_.rolloverOn()) {
        dataPlan_.setRollover(std::nullopt);  // the old periods gave nothing to the new shape's
        dataPlan_.setRollover(currentPeriod().key());
    }
    planChanged();
}

PlanPeriod CTrafficManager::currentPeriod() const
{
    return PlanPeriod::of(planShape(), currentDay());
}

LocalDay CTrafficManager::currentDay() const
{
    return LocalDay::of(now());
}

void CTrafficManager::addPack(const AddonPack& pack)
{
    dataPlan_.addPack(pack);
    planChanged();
}

void CTrafficManager::removePack(std::size_t index)
{
    dataPlan_.removePack(index);
    planChanged();
}

void CTrafficManager::setRollover(bool on)
{
    dataPlan_.setRollover(on ? std::optional<int>(currentPeriod().key()) : std::nullopt);
    planChanged();
}

void CTrafficManager::setFreeHours(std::optional<DataPlan::FreeHours> hours)
{
    // The one sampler splits at the device's hours; a SIM's plan cannot move them for all.
    QV_REQUIRE(owner_ == nullptr, "free hours are set on the device's plan only");
    dataPlan_.setFreeHours(hours);
    sampler().setFreeHours(hours);
}

std::uint64_t CTrafficManager::rolloverForPeriod(const PlanPeriod& period) const
{
    const std::optional<DataPlan::Rollover>& r = dataPlan_.storedRollover();
    return dataPlan_.rolloverOn() && r && r->period == period.key() ? r->bytes : 0;
}

Allowance::Result CTrafficManager::allowanceOf(const PlanPeriod& period, LocalDay today, std::uint64_t rollover) const
{
    Allowance::Input in{getMonthPlan(), rollover, period, today, dataPlan_.packs(), {}};
    LocalDay from = period.first();
    for (const AddonPack& p : dataPlan_.packs()) {
        from = std::min(from, p.first());
    }
    in.use = traffics_->dayUse(from, std::min(today, period.last()), &CTrafficPoint::getChargedTraffic);
    return Allowance::compute(in);
}

Allowance::Result CTrafficManager::allowanceNow() const
{
    const PlanPeriod p = currentPeriod();
    return allowanceOf(p, currentDay(), rolloverForPeriod(p));
}

void CTrafficManager::settleRollover()
{
    if (!dataPlan_.rolloverOn() || planShape().kind() == PlanShape::Kind::Prepaid) {
        return;
    }
    const PlanPeriod p = currentPeriod();
    const std::optional<DataPlan::Rollover>& stored = dataPlan_.storedRollover();
    if (stored && stored->period >= p.key()) {
        return;  // stored once per period, never recomputed
    }
    const PlanPeriod before = p.previous(planShape());
    std::uint64_t bytes = 0;
    if (before.key() >= *dataPlan_.rolloverSince()) {
        const std::uint64_t itsOwn = stored && stored->period == before.key() ? stored->bytes : 0;
        const Allowance::Result r = allowanceOf(before, before.last(), itsOwn);
        bytes = std::min(r.planLeft(), getMonthPlan());  // never more than one plan
    }
    dataPlan_.storeRollover({p.key(), bytes});
}

void CTrafficManager::keepHistoryForPeriod()
{
    if (planShape().kind() == PlanShape::Kind::Monthly && dataPlan_.packs().empty()) {
        traffics_->setKeepFrom(std::nullopt);
        return;
    }
    const PlanPeriod p = currentPeriod();
    LocalDay from = dataPlan_.rolloverOn() ? p.previous(planShape()).first() : p.first();
    for (const AddonPack& pack : dataPlan_.packs()) {
        from = std::min(from, pack.first());
    }
    traffics_->setKeepFrom(from);
}

void CTrafficManager::savePlanToPreferences()
{
    if (pMonthPlan_ && owner_ == nullptr) {  // the defaults keep the device's plan only
        env_->defaults.setObject(DefaultsKeys::kPlan, *pMonthPlan_);
        env_->defaults.synchronize();
    }
}

void CTrafficManager::setPLastLocation(std::optional<Location> location)
{
    if (owner_ != nullptr) {
        owner_->setPLastLocation(std::move(location));  // one position, whichever plan is shown
        return;
    }
    std::lock_guard lock(locationLock_);
    traffics_->setLastLocation(std::move(location));
}

void CTrafficManager::setDayLimit(bool on)
{
    removeLimitElementsOfClass<CTrafficLimitDay>();
    if (on) {
        limits_.push_back(CTrafficLimitDay::createDayLimit(1.0, this));
    }
}

void CTrafficManager::setMonthLimit(double level)
{
    removeLimitElementsOfClass<CTrafficLimitMonth>();
    if (level <= 0) {
        return;
    }
    auto dayLimit = std::find_if(limits_.begin(), limits_.end(), [](const auto& l) {
        return dynamic_cast<const CTrafficLimitDay*>(l.get()) != nullptr;
    });
    limits_.insert(dayLimit, CTrafficLimitMonth::createMonthLimit(level, this));
}

void CTrafficManager::setOverBoundLimit(bool on)
{
    removeLimitElementsOfClass<CTrafficLimitOverbound>();
    if (!on) {
        return;
    }
    for (double level : {1.0, 1.2, 1.5, 2.0, 3.0, 5.0, 10.0, 50.0, 100.0, 200.0}) {
        limits_.insert(limits_.begin(), CTrafficLimitOverbound::createOverBoundLimit(level, this));
    }
}

void CTrafficManager::restoreLimitsFromSwitches()
{
    limitsFromSwitches();
    Log::line("the state file held no alert limits; they were made again from the alert switches");
}

void CTrafficManager::limitsFromSwitches()
{
    // The alert switches in the defaults say which limits the user keeps: remade from them, in
    // the order a new manager has them.
    const UserDefaults& d = env_->defaults;
    setDayLimit(d.boolForKey(DefaultsKeys::kDayLimit).value_or(true));
    setMonthLimit(d.boolForKey(DefaultsKeys::kMonthLimit).value_or(true) ? 0.9 : -1.0);
    setOverBoundLimit(d.boolForKey(DefaultsKeys::kOverbound).value_or(true));
}

void CTrafficManager::initLimitsWithSelf()
{
    for (const auto& limit : limits_) {
        if (limit) {
            limit->setPPlan(this);
        }
    }
}

std::optional<LimitResult> CTrafficManager::checkTraffic(bool, TCResult* result)
{
    keepHistoryForPeriod();
    if (!sampleNow(result)) {
        return std::nullopt;
    }
    return checkLimits(usageFigures());
}

std::optional<LimitResult> CTrafficManager::checkLimits(const UsageFigures& figures) const
{
    LimitResult dict = LimitResult::createDefResultDictionary(now());
    dict.periodStart = billingPeriodKey();
    const CTrafficPoint* today = getTrafficToday();
    for (const auto& limit : limits_) {
        limit->checkUsage(figures, today, &dict);
    }
    return dict;
}

std::shared_ptr<FTrafficDataInformation> CTrafficManager::updateTrafficInformation(bool full)
{
    return device().updateFor(*this, full);
}

std::vector<CTrafficManager*> CTrafficManager::plans()
{
    QV_REQUIRE(owner_ == nullptr, "the plans of a sample are the device manager's to list");
    std::vector<CTrafficManager*> out{this};
    for (const KnownSims::Entry& e : sims_.entries()) {
        if (e.record.setUp()) {
            out.push_back(e.plan.get());
        }
    }
    return out;
}

CTrafficManager::SampleCheck CTrafficManager::checkSample(bool booked)
{
    settleRollover();
    // The period's figures once, after booking: the limits and the summary read the same value.
    SampleCheck c{usageFigures(), std::nullopt, false};
    c.dict = booked ? checkLimits(c.figures) : std::nullopt;
    c.cutNow = booked && markCutoff(c.figures);
    return c;
}

std::shared_ptr<FTrafficDataInformation> CTrafficManager::updateFor(CTrafficManager& shown, bool full)
{
    TCResult result;
    std::vector<CTrafficManager*> all = plans();
    const std::size_t alerting = all.size();
    if (std::find(all.begin(), all.end(), &shown) == all.end()) {
        all.push_back(&shown);  // a SIM not set up yet: its figures, never an alert
    }
    for (CTrafficManager* p : all) {
        p->keepHistoryForPeriod();
    }
    const bool booked = traffics_->getNewTraffic(&result);
    std::vector<SampleCheck> checks;
    for (std::size_t i = 0; i < all.size(); ++i) {
        checks.push_back(all[i]->checkSample(booked && i < alerting));
    }
    const std::size_t at = static_cast<std::size_t>(std::find(all.begin(), all.end(), &shown) - all.begin());
    std::shared_ptr<FTrafficDataInformation> summary;
    if (!full && !checks[at].dict) {
        shown.fullUpdateDone_ = false;
    } else {
        summary = shown.summaryOf(checks[at].figures);
        result.bUpdateAllAnnotations = !shown.fullUpdateDone_;
        if (full) {
            summary->setLists(shown.traffics_->deltas(), shown.billingMonthsOf(shown.traffics_->months()));
            summary->setYearTotals(shown.yearTotals());
            shown.fullUpdateDone_ = true;
        }
        summary->setResults(result, std::move(checks[at].dict));
    }
    saveState();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (i == at) {
            shown.tryShowOverUsageNotifications(summary.get());
        } else if (checks[i].dict) {
            all[i]->dispatcher_->trySendNotification(&*checks[i].dict);
        }
    }
    if (booked) {
        PlanActionsRunner::tellRoaming(*env_, traffics_->getRoamingTrafficToday(), now());
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (checks[i].cutNow) {
            PlanActionsRunner::cutOff(*env_, all[i]->cutoffLinks(), all[i]->getMonthPlan(), all[i]->owner_ != nullptr);
        }
    }
    return summary;
}

std::vector<std::string> CTrafficManager::cutoffLinks()
{
    if (owner_ == nullptr) {
        return sampler().countedInterfaces();
    }
    return owner_->sims_.linksOf(*this);
}

UsageFigures CTrafficManager::usageFigures() const
{
    const LocalDay today = currentDay();
    const PlanPeriod p = PlanPeriod::of(planShape(), today);
    UsageFigures::Base base;
    base.plan = getMonthPlan();
    base.used = getDataUsed();
    base.today = getDataTodayUsed();
    base.daysUsed = p.daysUsed(today);
    base.daysLeft = p.daysLeft(today);
    base.daysInPeriod = p.length();
    const std::uint64_t rollover = rolloverForPeriod(p);
    if (!dataPlan_.packs().empty() || rollover > 0 || p.expired()) {
        // Packs and rollover make the allowance; what is left follows the order they are used in.
        const Allowance::Result a = allowanceOf(p, today, rollover);
        base.plan = a.allowance;
        base.forfeited = a.forfeited;
        base.allowanceLeft = a.left;
    }
    return UsageFigures::compute(base);
}

int CTrafficManager::billingPeriodKey() const
{
    return currentPeriod().key();
}

bool CTrafficManager::markCutoff(const UsageFigures& figures)
{
    const PlanActions::CutoffOutcome outcome = PlanActions::cutoff(
        {cutoffAtPlan_, figures.spent(), figures.base.plan, billingPeriodKey(), cutoffPeriod_});
    cutoffPeriod_ = outcome.cutInPeriod;
    return outcome.cutNow;
}

void CTrafficManager::rearmCutoff(const UsageFigures& figures)
{
    cutoffPeriod_ = PlanActions::stillCut(cutoffPeriod_, billingPeriodKey(), figures.spent(), figures.base.plan);
}

std::uint64_t CTrafficManager::getRoamingUsed() const
{
    return usedInPeriod(&CTrafficPoint::getRoamingTraffic);
}

std::shared_ptr<FTrafficDataInformation> CTrafficManager::summaryFigures() const
{
    return summaryOf(usageFigures());
}

std::shared_ptr<FTrafficDataInformation> CTrafficManager::summaryOf(const UsageFigures& figures) const
{
    auto summary = std::make_shared<FTrafficDataInformation>();
    summary->setFigures(figures);
    // The period's first day-of-month: a monthly plan's start day as ever, another shape's own.
    const bool monthly = planShape().kind() == PlanShape::Kind::Monthly;
    const int startDay = monthly ? getPlanStartDay() : currentPeriod().first().day();
    summary->setPeriodDetails(static_cast<std::uint64_t>(startDay), getRoamingUsed());
    summary->setPlanFacts(planFacts(figures));
    return summary;
}

PlanFacts CTrafficManager::planFacts(const UsageFigures& figures) const
{
    const PlanPeriod p = currentPeriod();
    PlanFacts f;
    f.kind = planShape().kind();
    f.periodFirst = p.first();
    f.periodLast = p.last();
    f.plan = getMonthPlan();
    f.allowance = figures.base.plan;
    f.rollover = rolloverForPeriod(p);
    f.freeUsed = usedInPeriod(&CTrafficPoint::getFreeTraffic);
    f.expired = p.expired();
    if (dataPlan_.packs().empty()) {
        return f;  // what each pack has left is the one figure that needs the allowance again
    }
    const Allowance::Result a = allowanceNow();
    for (std::size_t i = 0; i < dataPlan_.packs().size(); ++i) {
        const AddonPack& pack = dataPlan_.packs()[i];
        f.packs.push_back({pack.size(), a.packLeft[i], pack.first(), pack.last()});
    }
    return f;
}

void CTrafficManager::tryShowOverUsageNotifications(const FTrafficDataInformation* summary)
{
    if (summary != nullptr && summary->pDictionaryResult()) {
        dispatcher_->trySendNotification(&*summary->pDictionaryResult());
    }
}

int CTrafficManager::getDaysInPrevMonth() const
{
    return BillingPeriod::getDaysInPrevMonth(now(), startDay());
}

int CTrafficManager::getDaysInNextMonth() const
{
    return BillingPeriod::getDaysInNextMonth(now(), startDay());
}

int CTrafficManager::getDayCountInBillingMonth(Date date) const
{
    return BillingPeriod::getDayCountInBillingMonth(now(), date, startDay());
}

std::uint64_t CTrafficManager::getDayPlan() const
{
    return usageFigures().dayPlan;
}

Date CTrafficManager::getFirstBillingDayForDate(Date date) const
{
    return BillingPeriod::getFirstBillingDayForDate(date, startDay());
}

Date CTrafficManager::getLastBillingDayForStartDay(Date date) const
{
    return BillingPeriod::getLastBillingDayForStartDay(date, startDay());
}

const MonthTraffic* CTrafficManager::getMonthTrafficForDate(Date date,
                                                            const std::vector<std::unique_ptr<MonthTraffic>>& months)
{
    for (const auto& m : months) {
        if (DateDay::isTheSameMonth(date, m->date())) {
            return m.get();
        }
        if (DateDay::isLaterDate(date, m->date())) {
            return nullptr;
        }
    }
    return nullptr;
}

std::vector<MonthTotal> CTrafficManager::yearTotals() const
{
    std::vector<MonthTotal> held;
    for (const auto& m : traffics_->months()) {
        if (m->date()) {
            held.push_back(MonthTotal::of(*m));
        }
    }
    const LocalDay today = currentDay();
    return traffics_->monthTotals().lastTwelve(MonthTotal(today.year(), today.month(), 0, 0, 0, std::nullopt), held);
}

FTrafficDataInformation::Months CTrafficManager::billingMonthsOf(
    const std::vector<std::unique_ptr<MonthTraffic>>& months) const
{
    // Built from the same period the figures are derived from, for every shape: the chart's
    // titles and the summary read one number.
    return PeriodMonths::build(months, planShape(), currentDay(), getMonthPlan());
}

std::uint64_t CTrafficManager::getDataUsed() const
{
    const PlanPeriod p = currentPeriod();
    const std::uint64_t days = usedInPeriod(&CTrafficPoint::getChargedTraffic);
    return TrafficCorrection::applied(days, traffics_->correctionsWithin(p.first().noon(), p.last().noon()));
}

bool CTrafficManager::correctUsedData(std::uint64_t used)
{
    QV_REQUIRE(used <= ArchiveDecoder::kMaxByteCount, "the used data must be checked against the byte limit at entry");
    if (!traffics_->clockIsPlausible()) {
        return false;  // dated under a clock that is wrong, the correction would land in no period
    }
    keepHistoryForPeriod();
    sampleNow(nullptr);  // what the counters hold now is part of the entered figure
    const PlanPeriod p = currentPeriod();
    const Date first = p.first().noon();
    const Date last = p.last().noon();
    if (traffics_->sumWithin(first, last, &CTrafficPoint::getMeasuredTraffic) == 0) {
        // Nothing measured in the period yet (the set-up): the figure is spread over its days.
        traffics_->replaceCorrection(first, last, 0);
        if (planShape().kind() == PlanShape::Kind::Monthly) {
            traffics_->reinitTrafficPointsSinceToday(-1, used, startDay());
        } else {
            traffics_->spreadSince(std::min(p.first(), currentDay()), used);
        }
    } else {
        const auto days = static_cast<std::int64_t>(usedInPeriod(&CTrafficPoint::getChargedTraffic));
        if (!traffics_->replaceCorrection(first, last, static_cast<std::int64_t>(used) - days)) {
            return false;
        }
    }
    rearmCutoff(usageFigures());
    return true;
}

std::uint64_t CTrafficManager::usedInPeriod(CTraffics::Share share) const
{
    const PlanPeriod p = currentPeriod();
    return traffics_->sumWithin(p.first().noon(), p.last().noon(), share);
}

namespace {

std::int64_t asSigned(std::uint64_t amount)
{
    return static_cast<std::int64_t>(std::min<std::uint64_t>(amount, std::numeric_limits<std::int64_t>::max()));
}

}  // namespace

std::int64_t CTrafficManager::getDataLeft() const
{
    return asSigned(usageFigures().left);
}

std::int32_t CTrafficManager::getDaysUsed() const
{
    return currentPeriod().daysUsed(currentDay());
}

std::int32_t CTrafficManager::getDaysLeft() const
{
    return currentPeriod().daysLeft(currentDay());
}

std::uint64_t CTrafficManager::getAvgDayDataUsed() const
{
    return usageFigures().averagePerDay;
}

std::int64_t CTrafficManager::getAvgDayDataLeft() const
{
    return asSigned(usageFigures().perDayLeft);
}

std::uint64_t CTrafficManager::getDataUsingEstimation() const
{
    return usageFigures().estimate;
}

void CTrafficManager::encodeWithCoder(ArchiveEncoder& coder) const
{
    ManagerArchive::encodeDevice(*this, coder);
}

void CTrafficManager::encodeSimPlan(ArchiveEncoder& coder) const
{
    ManagerArchive::encodeSimPlan(*this, coder);
}

std::unique_ptr<CTrafficManager> CTrafficManager::decodeSimPlan(ArchiveDecoder& coder, CTrafficManager& owner,
                                                                std::unique_ptr<CTraffics> history, std::string subject)
{
    return ManagerArchive::decodeSimPlan(coder, owner, std::move(history), std::move(subject));
}

std::unique_ptr<CTrafficManager> CTrafficManager::initWithCoder(ArchiveDecoder& coder)
{
    return ManagerArchive::decodeDevice(coder);
}

void CTrafficManager::setInterfaceChoice(const std::string& name, std::optional<bool> count)
{
    if (!count) {
        sampler().setInterfaceChoice(name, std::nullopt);
        sampler().baselineNewlyCounted();  // back to detection may count it again
        return;
    }
    sampler().setInterfaceChoice(name, count);
    if (*count) {
        sampler().resetInterfaceCounter(name);
    }
}

}  // namespace quorvel
