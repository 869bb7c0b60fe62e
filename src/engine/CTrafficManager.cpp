#include "engine/CTrafficManager.hpp"

#include <limits>

#include "model/BillingPeriod.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/StoredFile.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

CTrafficManager::CTrafficManager(const Env& env, bool initDefaults)
    : pTraffics(std::make_unique<CTraffics>(env)),
      msgDispatcher(NMDispatcher::createMsgDispatcher(env.defaults, env.notifier, env.clock)),
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
    fresh->pTraffics->trafficObtainer->prevTrafficSize = CTrafficObtainer::kNoBaseline;
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
    pTraffics = std::move(other.pTraffics);
    pLimits = std::move(other.pLimits);
    pMonthPlan_ = other.pMonthPlan_;
    pPlanStartDay_ = other.pPlanStartDay_;
    initLimitsWithSelf();
    msgDispatcher->readPropsFromPrefs();
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
    pTraffics->setPMonthPlan(plan);
}

void CTrafficManager::setnewPlanVal(std::uint64_t plan)
{
    setPMonthPlan(plan);
    SavePlan2Prefs();
    msgDispatcher->resetNotificationsHistory();
}

void CTrafficManager::setPlanStartDay(std::int32_t day)
{
    QV_REQUIRE(day >= 1 && day <= 31, "the plan start day must be checked to lie in 1..31 before it is set");
    pPlanStartDay_ = day;
    SavePlan2Prefs();
    msgDispatcher->resetNotificationsHistory();
}

void CTrafficManager::SavePlan2Prefs()
{
    if (pMonthPlan_) {
        env_->defaults.setObject(kPrefsPlanKey, *pMonthPlan_);
        env_->defaults.synchronize();
    }
}

void CTrafficManager::setPLastLocation(std::optional<Location> location)
{
    std::lock_guard lock(locationLock_);
    pTraffics->pLastLocation = location;
}

void CTrafficManager::setDayLimit(bool on)
{
    removeLimitElementsOfClass<CTrafficLimitDay>();
    if (on) {
        pLimits.push_back(CTrafficLimitDay::createDayLimit(1.0, this));
    }
}

void CTrafficManager::setMonthLimit(double level)
{
    removeLimitElementsOfClass<CTrafficLimitMonth>();
    if (level <= 0) {
        return;
    }
    auto dayLimit = std::find_if(pLimits.begin(), pLimits.end(), [](const auto& l) {
        return dynamic_cast<const CTrafficLimitDay*>(l.get()) != nullptr;
    });
    pLimits.insert(dayLimit, CTrafficLimitMonth::createMonthLimit(level, this));
}

void CTrafficManager::setOverBoundLimit(bool on)
{
    removeLimitElementsOfClass<CTrafficLimitOverbound>();
    if (!on) {
        return;
    }
    for (double level : {1.0, 1.2, 1.5, 2.0, 3.0, 5.0, 10.0, 50.0, 100.0, 200.0}) {
        pLimits.insert(pLimits.begin(), CTrafficLimitOverbound::createOverBoundLimit(level, this));
    }
}

void CTrafficManager::initLimitsWithSelf()
{
    for (const auto& limit : pLimits) {
        if (limit) {
            limit->setPPlan(this);
        }
    }
}

std::optional<LimitResult> CTrafficManager::checkTraffic(bool, TCResult* result)
{
    if (!pTraffics->getNewTraffic(result)) {
        return std::nullopt;
    }
    LimitResult dict = LimitResult::createDefResultDictionary(now());
    for (const auto& limit : pLimits) {
        limit->checkTrafficUsageLimit(this, &dict);
    }
    return dict;
}

std::shared_ptr<FTrafficDataInformation> CTrafficManager::updateTrafficInformation(bool full)
{
    TCResult result;
    std::optional<LimitResult> dict = checkTraffic(false, &result);
    std::shared_ptr<FTrafficDataInformation> summary;
    if (!full && !dict) {
        bFullUpdateDone = false;
    } else {
        summary = summaryFigures();
        result.bUpdateAllAnnotations = !bFullUpdateDone;
        if (full) {
            summary->parrTrafficDeltas = pTraffics->arrDeltas;
            summary->parrTrafficMonthsItems = TIRAGE_BILL_MONTH_ITEMS(pTraffics->arrMonths);
            bFullUpdateDone = true;
        }
        summary->pResultStruct = result;
        summary->pDictionaryResult = std::move(dict);
    }
    saveState();
    tryShowOverUsageNotifications(summary.get());
    return summary;
}

std::shared_ptr<FTrafficDataInformation> CTrafficManager::summaryFigures() const
{
    // Day counts are sign-extended into the unsigned fields, as the summary holds them.
    const auto widen = [](std::int64_t v) { return static_cast<std::uint64_t>(v); };
    auto summary = std::make_shared<FTrafficDataInformation>();
    summary->pDataPlan = stgetPlan();
    summary->pDataUsed = stgetDataUsed();
    summary->pDataLeft = widen(stgetDataLeft());
    summary->pDaysUsed = widen(stgetDaysUsed());
    summary->pDaysLeft = widen(stgetDaysLeft());
    summary->pAvgDataPerDayUsed = stgetAvgDayDataUsed();
    summary->pTodayDataUsed = stgetDataTodayUsed();
    summary->pDataPerDayLeft = widen(stgetAvgDayDataLeft());
    summary->pDataEstimation = stgetDataUsingEstimation();
    summary->pBillStartDay = widen(getPlanStartDay());
    return summary;
}

void CTrafficManager::tryShowOverUsageNotifications(const FTrafficDataInformation* summary)
{
    if (summary != nullptr && summary->pDictionaryResult) {
        msgDispatcher->trySendNotification(&*summary->pDictionaryResult);
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
    const int days = getDayCountInBillingMonth(now());
    return getMonthPlan() / static_cast<std::uint64_t>(days > 0 ? days : 30);
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
        if (DateDay::isTheSameMonth(date, m->date)) {
            return m.get();
        }
        if (DateDay::isLaterDate(date, m->date)) {
            return nullptr;
        }
    }
    return nullptr;
}

bool CTrafficManager::copyDaysWithin(MonthTraffic& into, const std::vector<CTrafficPoint>* days, Date first, Date last)
{
    bool added = false;
    for (const CTrafficPoint& p : *days) {
        if (!DateDay::isLaterDate(p.pDate, first) && !DateDay::isLaterDate(last, p.pDate)) {
            into.arrDaysTraffics.push_back(p);
            added = true;
        }
    }
    return added;
}

std::vector<std::shared_ptr<MonthTraffic>> CTrafficManager::TIRAGE_BILL_MONTH_ITEMS(
    const std::vector<std::unique_ptr<MonthTraffic>>& months) const
{
    std::vector<std::shared_ptr<MonthTraffic>> out;
    if (months.empty()) {
        return out;
    }
    const int s = startDay();
    const MonthTraffic& first = *months.front();
    const Date today = now();
    const Date firstDate = first.date.value_or(today);
    const std::uint64_t plan = stgetPlan();

    if (DateDay::getDayNumber(firstDate) < s) {  // the days before the start day close an earlier period
        const Date b = getFirstBillingDayForDate(firstDate);
        auto lead = std::make_shared<MonthTraffic>(b, plan);
        const Date last = getLastBillingDayForStartDay(b);
        if (copyDaysWithin(*lead, &first.arrDaysTraffics, b, last)) {
            lead->last_date = last;
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
            copyDaysWithin(*rec, &o->arrDaysTraffics, h, e);
        }
        const MonthTraffic* u = getMonthTrafficForDate(e, months);
        if (u != nullptr && u != o) {
            copyDaysWithin(*rec, &u->arrDaysTraffics, h, e);
        }
        rec->last_date = getLastBillingDayForStartDay(e);
        rec->setDaysCount(getDayCountInBillingMonth(h));
        out.push_back(std::move(rec));
        h = DateDay::getNextDateForDayNumber(h, s);
    }
    return out;
}

std::uint64_t CTrafficManager::stgetDataUsed() const
{
    const int s = startDay();
    if (DateDay::getDayNumber(now()) < s) {
        return pTraffics->getTrafficInCurMonthSinceDayNumber(1) + pTraffics->getTrafficInPrevMonthSinceDayNumber(s);
    }
    return pTraffics->getTrafficInCurMonthSinceDayNumber(s);
}

std::int64_t CTrafficManager::stgetDataLeft() const
{
    const std::uint64_t plan = getMonthPlan();
    const std::uint64_t used = stgetDataUsed();
    if (used >= plan) {
        return 0;
    }
    const std::uint64_t left = plan - used;
    return left > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
               ? std::numeric_limits<std::int64_t>::max()
               : static_cast<std::int64_t>(left);
}

std::int32_t CTrafficManager::stgetDaysUsed() const
{
    return BillingPeriod::daysUsed(now(), startDay());
}

std::int32_t CTrafficManager::stgetDaysLeft() const
{
    return BillingPeriod::daysLeft(now(), startDay());
}

std::uint64_t CTrafficManager::stgetAvgDayDataUsed() const
{
    const std::int64_t divisor = std::int64_t{stgetDaysUsed()} + 1;
    return stgetDataUsed() / static_cast<std::uint64_t>(divisor <= 0 ? 1 : divisor);
}

std::int64_t CTrafficManager::stgetAvgDayDataLeft() const
{
    return stgetDataLeft() / stgetDaysLeft();
}

std::uint64_t CTrafficManager::stgetDataUsingEstimation() const
{
    return stgetAvgDayDataUsed() * static_cast<std::uint64_t>(DateDay::getDayCountInMonth(now()));
}

void CTrafficManager::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeUInt64("pMonthPlan", pMonthPlan_);
    coder.encodeObject("pTraffics", pTraffics.get());
    coder.encodeObjects("pLimits", pLimits);
    coder.encodeInt64("pPlanStartDay", pPlanStartDay_);
}

std::unique_ptr<CTrafficManager> CTrafficManager::initWithCoder(ArchiveDecoder& coder)
{
    QV_REQUIRE(coder.env() != nullptr, "decoding a manager needs a decoder made with the platform services");
    auto m = std::make_unique<CTrafficManager>(*coder.env(), false);
    m->pMonthPlan_ = coder.decodeUInt64("pMonthPlan");
    if (auto history = coder.decodeObject<CTraffics>("pTraffics")) {
        m->pTraffics = std::move(history);
    }
    coder.decodeObjects("pLimits", [&](ArchiveDecoder& limit) {
        if (auto l = CTrafficLimitBase::initWithCoder(limit)) {
            m->pLimits.push_back(std::move(l));
        }  // entries that are not limits are skipped
    });
    const std::optional<std::int64_t> day = coder.decodeInt64("pPlanStartDay");
    // No start day, or one no billing month can start on, becomes the 1st.
    m->pPlanStartDay_ = day && *day >= 1 && *day <= 31 ? static_cast<std::int32_t>(*day) : 1;
    m->initLimitsWithSelf();
    return m;
}

}  // namespace quorvel
