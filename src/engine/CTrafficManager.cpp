// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CTrafficManager.hpp"

#include <limits>
#include <map>

#include "engine/PlanActionsRunner.hpp"
#include "model/BillingPeriod.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/DateDay.hpp"
#include "model/DayRange.hpp"
#include "model/DefaultsKeys.hpp"
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
      env_(&env)
{
    setPMonthPlan(kDefaultPlan);
    if (initDefaults) {
        setDayLimit(true);
        setMonthLimit(0.9);
        setOverBoundLimit(true);
    }
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
    cutoffAtPlan_ = other.cutoffAtPlan_;
    cutoffPeriod_ = other.cutoffPeriod_;
    initLimitsWithSelf();
    dispatcher_->readPropsFromPrefs();
}

std::string CTrafficManager::encode() const
{
    return ArchiveEncoder::archivedDataWithRootObject(*this);
}

void CTrafficManager::saveState()
{
    env_->stateFile.write(encode());  // a failed write is logged there and retried next update
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
    savePlanToPreferences();
    dispatcher_->resetNotificationsHistory();
}

void CTrafficManager::savePlanToPreferences()
{
    if (pMonthPlan_) {
        env_->defaults.setObject(DefaultsKeys::kPlan, *pMonthPlan_);
        env_->defaults.synchronize();
    }
}

void CTrafficManager::setPLastLocation(std::optional<Location> location)
{
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
    // The alert switches in the defaults say which limits the user keeps: remade from them, in
    // the order a new manager has them.
    const UserDefaults& d = env_->defaults;
    setDayLimit(d.boolForKey(DefaultsKeys::kDayLimit).value_or(true));
    setMonthLimit(d.boolForKey(DefaultsKeys::kMonthLimit).value_or(true) ? 0.9 : -1.0);
    setOverBoundLimit(d.boolForKey(DefaultsKeys::kOverbound).value_or(true));
    Log::line("the state file held no alert limits; they were made again from the alert switches");
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
    if (!traffics_->getNewTraffic(result)) {
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
    TCResult result;
    const bool booked = traffics_->getNewTraffic(&result);
    // The period's figures once, after booking: the limits and the summary read the same value.
    const UsageFigures figures = usageFigures();
    std::optional<LimitResult> dict = booked ? checkLimits(figures) : std::nullopt;
    std::shared_ptr<FTrafficDataInformation> summary;
    if (!full && !dict) {
        fullUpdateDone_ = false;
    } else {
        summary = summaryOf(figures);
        result.bUpdateAllAnnotations = !fullUpdateDone_;
        if (full) {
            summary->setLists(traffics_->deltas(), billingMonthsOf(traffics_->months()));
            fullUpdateDone_ = true;
        }
        summary->setResults(result, std::move(dict));
    }
    const bool cutNow = booked && markCutoff(figures);
    saveState();
    tryShowOverUsageNotifications(summary.get());
    if (booked) {
        PlanActionsRunner::tellRoaming(*env_, traffics_->getRoamingTrafficToday(), now());
    }
    if (cutNow) {
        PlanActionsRunner::cutOff(*env_, sampler().countedInterfaces(), getMonthPlan());
    }
    return summary;
}

UsageFigures CTrafficManager::usageFigures() const
{
    UsageFigures::Base base;
    base.plan = getMonthPlan();
    base.used = getDataUsed();
    base.today = getDataTodayUsed();
    base.daysUsed = BillingPeriod::daysUsed(now(), startDay());
    base.daysLeft = BillingPeriod::daysLeft(now(), startDay());
    // Over the billing period the plan covers, not the calendar month it happens to begin in.
    base.daysInPeriod = getDayCountInBillingMonth(now());
    return UsageFigures::compute(base);
}

int CTrafficManager::billingPeriodKey() const
{
    return DateDay::dayKey(getFirstBillingDayForDate(now()));
}

bool CTrafficManager::markCutoff(const UsageFigures& figures)
{
    const PlanActions::CutoffOutcome outcome = PlanActions::cutoff(
        {cutoffAtPlan_, figures.base.used, figures.base.plan, billingPeriodKey(), cutoffPeriod_});
    cutoffPeriod_ = outcome.cutInPeriod;
    return outcome.cutNow;
}

void CTrafficManager::rearmCutoff(const UsageFigures& figures)
{
    cutoffPeriod_ = PlanActions::stillCut(cutoffPeriod_, billingPeriodKey(), figures.base.used, figures.base.plan);
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
    summary->setPeriodDetails(static_cast<std::uint64_t>(getPlanStartDay()), getRoamingUsed());
    return summary;
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
    UsageFigures::Base base;
    base.plan = getMonthPlan();
    base.daysInPeriod = getDayCountInBillingMonth(now());
    return UsageFigures::compute(base).dayPlan;
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

FTrafficDataInformation::Months CTrafficManager::billingMonthsOf(
    const std::vector<std::unique_ptr<MonthTraffic>>& months) const
{
    FTrafficDataInformation::Months out;
    if (months.empty()) {
        return out;
    }
    const int s = startDay();
    const MonthTraffic& first = *months.front();
    const Date today = now();
    // Days are selected by the period's own dates, not by day-of-month, so that no day lands in
    // two periods (or none) when a start day past a short month's end moves a first day to the 1st.
    std::map<const MonthTraffic*, std::vector<int>> keys;
    for (const auto& m : months) {
        std::vector<int>& k = keys[m.get()];
        for (const CTrafficPoint& p : m->arrDaysTraffics()) {
            k.push_back(DateDay::dayKey(p.pDate()));
        }
    }
    const Date firstDate = first.date().value_or(today);
    const std::uint64_t plan = getMonthPlan();

    if (DateDay::getDayNumber(firstDate) < s) {  // the days before the start day close an earlier period
        const Date b = getFirstBillingDayForDate(firstDate);
        auto lead = std::make_shared<MonthTraffic>(b, plan);
        const Date last = getLastBillingDayForStartDay(b);
        if (lead->addTrafficWithin(first, keys[&first], DayRange(b, last))) {
            lead->setLastDate(last);
            lead->setDaysCount(getDayCountInBillingMonth(b));
            out.push_back(std::move(lead));
        }
    }
    Date h = DateDay::getDateForDayNumber(firstDate, s);
    while (!DateDay::isLaterDate(today, h)) {
        auto rec = std::make_shared<MonthTraffic>(h, plan);
        const MonthTraffic* o = getMonthTrafficForDate(h, months);
        const Date e = getLastBillingDayForStartDay(h);
        if (o != nullptr) {
            rec->addTrafficWithin(*o, keys[o], DayRange(h, e));
        }
        const MonthTraffic* u = getMonthTrafficForDate(e, months);
        if (u != nullptr && u != o) {
            rec->addTrafficWithin(*u, keys[u], DayRange(h, e));
        }
        rec->setLastDate(getLastBillingDayForStartDay(e));
        rec->setDaysCount(getDayCountInBillingMonth(h));
        out.push_back(std::move(rec));
        h = DateDay::getNextDateForDayNumber(h, s);
    }
    return out;
}

std::uint64_t CTrafficManager::getDataUsed() const
{
    const std::uint64_t days = usedInPeriod(&CTrafficPoint::getTotalTraffic);
    const Date first = getFirstBillingDayForDate(now());
    return TrafficCorrection::applied(days, traffics_->correctionsWithin(first, getLastBillingDayForStartDay(first)));
}

bool CTrafficManager::correctUsedData(std::uint64_t used)
{
    QV_REQUIRE(used <= ArchiveDecoder::kMaxByteCount, "the used data must be checked against the byte limit at entry");
    if (!traffics_->clockIsPlausible()) {
        return false;  // dated under a clock that is wrong, the correction would land in no period
    }
    traffics_->getNewTraffic(nullptr);  // what the counters hold now is part of the entered figure
    const Date first = getFirstBillingDayForDate(now());
    const Date last = getLastBillingDayForStartDay(first);
    if (traffics_->sumWithin(first, last, &CTrafficPoint::getMeasuredTraffic) == 0) {
        // Nothing measured in the period yet (the set-up): the figure is spread over its days.
        traffics_->replaceCorrection(first, last, 0);
        traffics_->reinitTrafficPointsSinceToday(-1, used, startDay());
    } else {
        const auto days = static_cast<std::int64_t>(usedInPeriod(&CTrafficPoint::getTotalTraffic));
        if (!traffics_->replaceCorrection(first, last, static_cast<std::int64_t>(used) - days)) {
            return false;
        }
    }
    rearmCutoff(usageFigures());
    return true;
}

std::uint64_t CTrafficManager::usedInPeriod(CTraffics::Share share) const
{
    const int s = startDay();
    if (DateDay::getDayNumber(now()) < s) {
        return traffics_->getTrafficInCurMonthSinceDayNumber(1, share) +
               traffics_->getTrafficInPrevMonthSinceDayNumber(s, share);
    }
    return traffics_->getTrafficInCurMonthSinceDayNumber(s, share);
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
    return BillingPeriod::daysUsed(now(), startDay());
}

std::int32_t CTrafficManager::getDaysLeft() const
{
    return BillingPeriod::daysLeft(now(), startDay());
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
    coder.encodeUInt64("pMonthPlan", pMonthPlan_);
    coder.encodeObject("pTraffics", traffics_.get());
    coder.encodeObjects("pLimits", limits_);
    coder.encodeInt64("pPlanStartDay", pPlanStartDay_);
    coder.encodeBool("CutoffAtPlan", cutoffAtPlan_);
    coder.encodeInt64("CutoffPeriod", cutoffPeriod_ ? std::optional<std::int64_t>(*cutoffPeriod_) : std::nullopt);
}

std::unique_ptr<CTrafficManager> CTrafficManager::initWithCoder(ArchiveDecoder& coder)
{
    QV_REQUIRE(coder.env() != nullptr, "decoding a manager needs a decoder made with the platform services");
    auto m = std::make_unique<CTrafficManager>(*coder.env(), false);
    m->pMonthPlan_ = coder.decodeUInt64("pMonthPlan");
    auto history = coder.decodeObject<CTraffics>("pTraffics");
    if (!history) {
        coder.fail("pTraffics", "the history");  // always written: a state without it was damaged
    }
    m->traffics_ = std::move(history);
    const bool limits = coder.decodeObjects("pLimits", [&](ArchiveDecoder& limit) {
        if (auto l = CTrafficLimitBase::initWithCoder(limit)) {
            m->limits_.push_back(std::move(l));
        }  // entries that are not limits are skipped
    });
    if (!limits) {
        m->restoreLimitsFromSwitches();
    }
    const std::optional<std::int64_t> day = coder.decodeInt64("pPlanStartDay");
    // No start day, or one no billing month can start on, becomes the 1st.
    m->pPlanStartDay_ = day && *day >= 1 && *day <= 31 ? static_cast<std::int32_t>(*day) : 1;
    // Files from before the cut-off existed: off, never cut.
    m->cutoffAtPlan_ = coder.decodeBool("CutoffAtPlan").value_or(false);
    const std::optional<std::int64_t> cut = coder.decodeInt64("CutoffPeriod");
    if (cut && (*cut < 0 || *cut > std::numeric_limits<int>::max())) {
        coder.fail("CutoffPeriod", "the first day of a billing period");
    }
    m->cutoffPeriod_ = cut ? std::optional<int>(static_cast<int>(*cut)) : std::nullopt;
    m->initLimitsWithSelf();
    return m;
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
