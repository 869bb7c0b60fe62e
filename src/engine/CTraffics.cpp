// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CTraffics.hpp"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "model/Messages.hpp"
#include "model/DateDay.hpp"
#include "model/DayRange.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/Calendar.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/Log.hpp"
#include "platform/NotificationCenter.hpp"

namespace quorvel {

CTraffics::CTraffics(const Env& env)
    : obtainer_(std::make_unique<CTrafficObtainer>(env, std::nullopt, 0, 0.0)), env_(&env)
{
}

Date CTraffics::now() const
{
    return env_->clock.now();
}

void CTraffics::setPMonthPlan(std::optional<std::uint64_t> plan)
{
    pMonthPlan_ = plan;
    if (!months_.empty() && DateDay::isTheSameMonth(now(), months_.back()->date())) {
        months_.back()->setPMonthPlan(plan.value_or(0));
    }
}

const MonthTraffic* CTraffics::currentMonthRecord() const
{
    if (months_.empty() || !DateDay::isTheSameMonth(now(), months_.back()->date())) {
        return nullptr;
    }
    return months_.back().get();
}

MonthTraffic* CTraffics::monthToChange(const MonthTraffic* found) const
{
    if (found == nullptr) {
        return nullptr;
    }
    const auto at = std::find_if(months_.begin(), months_.end(), [&](const auto& m) { return m.get() == found; });
    QV_REQUIRE(at != months_.end(), "monthToChange: the record is one of this history's months");
    return at->get();
}

const std::vector<CTrafficPoint>* CTraffics::arrTraffics() const
{
    const MonthTraffic* month = currentMonthRecord();
    return month != nullptr ? &month->arrDaysTraffics() : nullptr;
}

bool CTraffics::getNewTraffic(TCResult* r)
{
    MonthTraffic* month = monthToChange(getMonthInfoForThisMonth());
    const CTrafficPoint* stored = getLatestTrafficItemForThisMonth();
    // The sampler grows a copy; the month books the growth into its own record.
    std::optional<CTrafficPoint> latest = stored != nullptr ? std::optional<CTrafficPoint>(*stored) : std::nullopt;
    const TrafficIncrement inc = obtainer_->getTrafficIncrementPoint(latest ? &*latest : nullptr, clockIsPlausible());
    if (std::optional<std::vector<std::string>> links = obtainer_->takeNewLinkSet(); links && route_ != nullptr) {
        route_->linksChanged(*links);
    }
    // The SIMs' links go to their SIMs' histories; what is left is this device's own.
    const TrafficIncrement::Share taken = route_ != nullptr && inc.booked > 0 ? route_->take(inc) : TrafficIncrement::Share{};
    QV_REQUIRE(taken.bytes <= inc.booked && taken.roaming <= inc.roaming && taken.free <= inc.free,
               "a route takes at most what the sample booked");
    const TrafficIncrement::Share own{inc.booked - taken.bytes, inc.roaming - taken.roaming, inc.free - taken.free};
    std::uint64_t kept = own.bytes;
    bool newRecord = false;
    if (inc.kind == TrafficIncrement::Kind::SameRecord && own.bytes > 0) {
        CTrafficPoint growth = CTrafficPoint::trafficPointWithDate(latest->pDate());
        growth.addTraffic(own.bytes, own.roaming, own.free);
        month->bookDay(growth);
    }
    if (inc.kind == TrafficIncrement::Kind::NewRecord && (own.bytes > 0 || taken.bytes == 0)) {
        newRecord = true;
        CTrafficPoint point = CTrafficPoint::trafficPointWithDate(inc.point.pDate());
        point.addTraffic(own.bytes, own.roaming, own.free);
        const bool newMonth = month == nullptr || !DateDay::isTheSameMonth(point.pDate(), month->date());
        if (!addNewTrafficPoint(point)) {
            kept = 0;
        }
        if (r != nullptr) {
            r->setBMonthChanged(newMonth);
        }
    }
    if (kept > 0) {
        // The place was last used now, at this sample, whichever day record took it.
        tryAddTrafficDelta(now(), kept, r);
    }
    return newRecord || kept > 0 || taken.bytes > 0;
}

bool CTraffics::bookShare(const TrafficIncrement::Share& share, const std::optional<Location>& at)
{
    if (share.bytes == 0 || !clockIsPlausible()) {
        return false;
    }
    lastLocation_ = at;
    CTrafficPoint growth = CTrafficPoint::trafficPointWithDate(now());
    growth.addTraffic(share.bytes, share.roaming, share.free);
    if (!bookPoint(growth)) {
        return false;
    }
    tryAddTrafficDelta(now(), share.bytes, nullptr);
    dataUsageChanged();
    return true;
}

void CTraffics::trimMonths()
{
    const auto neededByPeriod = [&](const MonthTraffic& m) {
        return keepFrom_ && m.date() && DateDay::dayKey(*m.date()) / 100 >= keepFrom_->key() / 100;
    };
    while (months_.size() > kMaxMonths && !neededByPeriod(*months_.front())) {
        // A month leaving the day records leaves its totals behind, for the year's view.
        if (months_.front()->date()) {
            totals_.keep(MonthTotal::of(*months_.front()));
        }
        months_.erase(months_.begin());
    }
    forgetOldTotals();
}

void CTraffics::setKeepFrom(std::optional<LocalDay> day)
{
    keepFrom_ = day;
}

void CTraffics::spreadSince(LocalDay first, std::uint64_t bytes)
{
    const LocalDay today = LocalDay::of(now());
    const DayRange range(first.noon(), today.noon());
    for (const auto& m : months_) {
        m->dropDaysWithin(range);
    }
    const long n = first.daysUntil(today) + 1;
    const std::uint64_t q = bytes / static_cast<std::uint64_t>(n);
    const std::uint64_t rest = bytes % static_cast<std::uint64_t>(n);
    for (long i = 0; i < n; ++i) {
        // The last day takes the remainder, so that the days sum to exactly `bytes`.
        bookPoint(CTrafficPoint::enteredPointWithDate(first.plusDays(i).noon(), q + (i == n - 1 ? rest : 0)));
    }
    obtainer_->resetObtainerCounter();
    dataUsageChanged();
}

std::vector<Allowance::DayUse> CTraffics::dayUse(LocalDay first, LocalDay last, Share share) const
{
    const DayRange range(first.noon(), last.noon());
    std::map<int, std::int64_t> byKey;
    for (const auto& m : months_) {
        for (const CTrafficPoint& p : m->arrDaysTraffics()) {
            if (range.contains(p.pDate())) {
                byKey[DateDay::dayKey(p.pDate())] += static_cast<std::int64_t>((p.*share)());
            }
        }
        for (const TrafficCorrection& c : m->arrCorrections()) {
            if (range.contains(c.date())) {
                byKey[DateDay::dayKey(c.date())] += c.bytes();
            }
        }
    }
    std::vector<Allowance::DayUse> out;
    for (const auto& [key, bytes] : byKey) {
        out.push_back({*LocalDay::fromKey(key), bytes});
    }
    return out;
}

MonthTraffic* CTraffics::insertMonth(Date date)
{
    // In date order, so that a sample under a clock set far back (1970) makes the oldest record,
    // the one trimmed first, instead of pushing a real month out.
    auto at = std::find_if(months_.begin(), months_.end(),
                           [&](const auto& m) { return DateDay::isLaterDate(date, m->date()); });
    MonthTraffic* made = months_.insert(at, std::make_unique<MonthTraffic>(date, pMonthPlan_))->get();
    trimMonths();
    return monthToChange(getMonthInfoForDate(date)) == made ? made : nullptr;
}

std::unique_ptr<CTraffics> CTraffics::handOverRecords()
{
    auto out = std::make_unique<CTraffics>(*env_);
    out->months_ = std::exchange(months_, {});
    out->deltas_ = std::exchange(deltas_, {});
    out->totals_ = std::exchange(totals_, {});
    out->pMonthPlan_ = pMonthPlan_;
    out->keepFrom_ = keepFrom_;
    dataUsageChanged();
    deltasCountChanged();
    return out;
}

void CTraffics::absorbDays(const CTraffics& other)
{
    for (const auto& m : other.months_) {
        for (const CTrafficPoint& day : m->arrDaysTraffics()) {
            bookPoint(day);
        }
        for (const TrafficCorrection& c : m->arrCorrections()) {
            MonthTraffic* month = monthToChange(getMonthInfoForDate(c.date()));
            if (month == nullptr) {
                month = insertMonth(c.date());
            }
            if (month != nullptr) {
                month->addCorrection(c);
            }
        }
    }
    for (const MonthTotal& total : other.totals_.list()) {
        totals_.keep(total);  // a month in both keeps the larger: both lie beyond the kept days
    }
    const std::optional<Location> position = lastLocation_;
    for (const auto& place : other.deltas_) {
        if (place->pLocation && place->delta() > 0) {
            lastLocation_ = place->pLocation;  // the place's own bytes go to the place nearest it
            const std::optional<Date> when = place->pDateComp ? Calendar::date(*place->pDateComp) : std::nullopt;
            tryAddTrafficDelta(when.value_or(now()), static_cast<std::uint64_t>(place->delta()), nullptr);
        }
    }
    lastLocation_ = position;
    dataUsageChanged();
    deltasCountChanged();
}

bool CTraffics::addNewTrafficPoint(const CTrafficPoint& point)
{
    const bool kept = bookPoint(point);
    dataUsageChanged();
    return kept;
}

bool CTraffics::bookPoint(const CTrafficPoint& point)
{
    MonthTraffic* month = monthToChange(getMonthInfoForDate(point.pDate()));
    if (month == nullptr) {
        month = insertMonth(point.pDate());
    }
    if (month != nullptr) {
        month->bookDay(point);
    }
    return month != nullptr;
}

MonthTraffic* CTraffics::createOrGetMonthItemForMonthNumber(int n)
{
    MonthTraffic* found = monthToChange(n == -1 ? getMonthInfoForThisMonth() : getMonthInfo(n));
    return found != nullptr ? found : insertMonth(now());
}

void CTraffics::reinitTrafficPointsSinceToday(std::int32_t d, std::uint64_t bytes, std::int32_t s)
{
    DateComponents comps = Calendar::components(now());
    if (d < 1) {
        d = comps.day;
    }
    if (d == 0) {
        d = 1;
    }
    // The billing period as the used figure sums it: from day s of this month, or, before day
    // s, all of this month and the previous month's days from s on. Exactly those days are
    // replaced; the earlier periods' days stay as they are.
    std::int32_t first = 1;
    std::int32_t n = d;
    if (s >= 2 && d >= s) {
        first = s;
        n = d - s + 1;
    } else if (s >= 2) {
        if (MonthTraffic* prev = monthToChange(getMonthInfoForDate(DateDay::getDateInPrevMonthForDayNumber(now(), 1)))) {
            prev->dropDaysSinceDay(s);
        }
    }
    MonthTraffic* month = createOrGetMonthItemForMonthNumber(-1);
    if (month == nullptr) {
        return;  // the clock stands before every stored month: nothing of this period is kept
    }
    month->dropDaysSinceDay(first);
    const std::uint64_t q = bytes / static_cast<std::uint64_t>(n);
    const std::uint64_t rest = bytes % static_cast<std::uint64_t>(n);
    comps.second = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        comps.day = first + i;
        const Date date = Calendar::date(comps).value_or(now());
        // The last day takes the remainder, so that the days sum to exactly `bytes`.
        month->bookDay(CTrafficPoint::enteredPointWithDate(date, q + (i == n - 1 ? rest : 0)));
    }
    // The month's date is its first day's, so that the kept days before the start day still
    // open the earlier billing period in the charts.
    month->updateDate(month->arrDaysTraffics().front().pDate());
    obtainer_->resetObtainerCounter();
    dataUsageChanged();
}

bool CTraffics::clockIsPlausible() const
{
    const Date t = now();
    static const Date kEarliest = Calendar::date(DateComponents{2020, 1, 1, 0, 0, 0}).value_or(Date{});
    if (t < kEarliest) {
        return false;
    }
    std::optional<Date> newest;
    const auto see = [&newest](Date d) {
        if (!newest || d > *newest) {
            newest = d;
        }
    };
    for (const auto& m : months_) {
        for (const CTrafficPoint& p : m->arrDaysTraffics()) {
            see(p.pDate());
        }
        for (const TrafficCorrection& c : m->arrCorrections()) {
            see(c.date());
        }
    }
    if (!newest) {
        return true;
    }
    DateComponents dayBefore = Calendar::components(*newest);
    dayBefore.day -= 1;
    dayBefore.hour = dayBefore.minute = dayBefore.second = 0;
    const std::optional<Date> limit = Calendar::date(dayBefore);
    return !limit || t >= *limit;
}

std::uint64_t CTraffics::sumWithin(Date first, Date last, Share share) const
{
    const DayRange range(first, last);
    std::uint64_t sum = 0;
    for (const auto& m : months_) {
        for (const CTrafficPoint& p : m->arrDaysTraffics()) {
            sum += range.contains(p.pDate()) ? (p.*share)() : 0;
        }
    }
    return sum;
}

std::int64_t CTraffics::correctionsWithin(Date first, Date last) const
{
    const DayRange range(first, last);
    std::int64_t sum = 0;
    for (const auto& m : months_) {
        for (const TrafficCorrection& c : m->arrCorrections()) {
            sum += range.contains(c.date()) ? c.bytes() : 0;
        }
    }
    return sum;
}

bool CTraffics::replaceCorrection(Date first, Date last, std::int64_t bytes)
{
    MonthTraffic* month = bytes != 0 ? createOrGetMonthItemForMonthNumber(-1) : nullptr;
    if (bytes != 0 && month == nullptr) {
        return false;
    }
    const DayRange range(first, last);
    for (const auto& m : months_) {
        m->dropCorrectionsWithin(range);
    }
    if (month != nullptr) {
        month->addCorrection(TrafficCorrection(now(), bytes));
    }
    dataUsageChanged();
    return true;
}

std::uint64_t CTraffics::getTotalTraffic() const
{
    std::uint64_t sum = 0;
    if (const auto* days = arrTraffics()) {
        for (const CTrafficPoint& p : *days) {
            sum += p.getTotalTraffic();
        }
    }
    return sum;
}

std::uint64_t CTraffics::countedBytes() const
{
    std::uint64_t sum = 0;
    for (const auto& month : months_) {
        for (const CTrafficPoint& day : month->arrDaysTraffics()) {
            sum += day.getTotalTraffic();
        }
    }
    return sum;
}

std::uint64_t CTraffics::getTotalTrafficWf() const
{
    std::uint64_t sum = 0;
    if (const auto* days = arrTraffics()) {
        for (const CTrafficPoint& p : *days) {
            sum += p.getTotalTrafficWf();
        }
    }
    return sum;
}

std::uint64_t CTraffics::getTrafficInMonth(const std::vector<CTrafficPoint>* days, int s, Share share)
{
    if (days == nullptr) {
        return 0;
    }
    std::uint64_t sum = 0;
    for (auto it = days->rbegin(); it != days->rend(); ++it) {
        if (DateDay::isEarlierDay(it->pDate(), s)) {
            break;
        }
        sum += ((*it).*share)();
    }
    return sum;
}

std::uint64_t CTraffics::getTrafficInPrevMonthSinceDayNumber(int s, Share share) const
{
    if (months_.empty()) {
        return 0;
    }
    const Date ref = DateDay::getDateInPrevMonthForDayNumber(now(), 1);
    const MonthTraffic& last = *months_.back();
    if (DateDay::isTheSameMonth(ref, last.date())) {
        return getTrafficInMonth(&last.arrDaysTraffics(), s, share);
    }
    if (months_.size() >= 2) {
        const MonthTraffic& before = *months_[months_.size() - 2];
        if (DateDay::isTheSameMonth(ref, before.date())) {
            return getTrafficInMonth(&before.arrDaysTraffics(), s, share);
        }
    }
    return 0;
}

std::uint64_t CTraffics::getTrafficTodayCount() const
{
    const CTrafficPoint* today = getTrafficToday();
    return today != nullptr ? today->getTotalTraffic() : 0;
}

std::uint64_t CTraffics::getRoamingTrafficToday() const
{
    const CTrafficPoint* today = getTrafficToday();
    return today != nullptr ? today->getRoamingTraffic() : 0;
}

const MonthTraffic* CTraffics::getMonthInfo(int monthNumber) const
{
    const int year = Calendar::components(now()).year;
    for (const auto& m : months_) {
        if (m->pnMonthNum() == monthNumber && m->date() && Calendar::components(*m->date()).year == year) {
            return m.get();
        }
    }
    return nullptr;
}

const MonthTraffic* CTraffics::getMonthInfoForDate(Date date) const
{
    for (const auto& m : months_) {
        if (DateDay::isTheSameMonth(date, m->date())) {
            return m.get();
        }
    }
    return nullptr;
}

const std::vector<CTrafficPoint>* CTraffics::getMonthTrafficPoints(int monthNumber) const
{
    const MonthTraffic* m = getMonthInfo(monthNumber);
    return m != nullptr ? &m->arrDaysTraffics() : nullptr;
}

const MonthTraffic* CTraffics::getMonthInfoForThisMonth() const
{
    return getMonthInfoForDate(now());
}

const CTrafficPoint* CTraffics::getLatestTrafficItemForThisMonth() const
{
    const MonthTraffic* month = getMonthInfoForThisMonth();
    if (month == nullptr || month->arrDaysTraffics().empty()) {
        return nullptr;
    }
    // Today's record when there is one, even if a later day was booked before the clock went back.
    for (const CTrafficPoint& p : month->arrDaysTraffics()) {
        if (DateDay::isTheSameDay(p.pDate(), now())) {
            return &p;
        }
    }
    return &month->arrDaysTraffics().back();
}

const CTrafficPoint* CTraffics::getTrafficItem(std::size_t i) const
{
    const auto* days = arrTraffics();
    return days != nullptr && i < days->size() ? &(*days)[i] : nullptr;
}

const CTrafficPoint* CTraffics::getTrafficForDate(Date date) const
{
    if (const auto* days = arrTraffics()) {
        for (const CTrafficPoint& p : *days) {
            if (DateDay::isTheSameDay(p.pDate(), date)) {
                return &p;
            }
        }
    }
    return nullptr;
}

const CTrafficPoint* CTraffics::getTrafficToday() const
{
    return getTrafficForDate(now());
}

void CTraffics::resetTrafficPoints()
{
    if (MonthTraffic* month = monthToChange(currentMonthRecord())) {
        month->resetDaysTraffics();
        dataUsageChanged();
    }
}

void CTraffics::resetPrevMonthsInfo()
{
    if (months_.size() > 1) {
        months_.erase(months_.begin(), months_.end() - 1);
    }
    totals_.clear();
}

void CTraffics::replaceDay(const CTrafficPoint& point, std::optional<std::uint64_t> plan)
{
    MonthTraffic* month = monthToChange(getMonthInfoForDate(point.pDate()));
    if (month == nullptr && (month = insertMonth(point.pDate())) != nullptr) {
        month->setPMonthPlan(plan.value_or(pMonthPlan_.value_or(0)));
    }
    QV_REQUIRE(month != nullptr, "replaceDay: an imported day lies in a month the history keeps");
    month->dropDaysWithin(DayRange(point.pDate(), point.pDate()));
    month->bookDay(point);
}

void CTraffics::addCorrection(const TrafficCorrection& correction)
{
    MonthTraffic* month = monthToChange(getMonthInfoForDate(correction.date()));
    if (month == nullptr) {
        month = insertMonth(correction.date());
    }
    QV_REQUIRE(month != nullptr, "addCorrection: an imported correction lies in a month the history keeps");
    month->addCorrection(correction);
}

bool CTraffics::keepMonthTotal(const MonthTotal& total)
{
    const bool kept = totals_.keep(total);
    forgetOldTotals();
    return kept && totals_.find(total.key()) != nullptr;
}

void CTraffics::forgetOldTotals()
{
    const DateComponents today = Calendar::components(now());
    if (today.year >= 1970) {
        totals_.forgetOlderThanTenYears(MonthTotal(today.year, today.month, 0, 0, 0, std::nullopt));
    }
}

void CTraffics::replacePlaces(std::vector<std::shared_ptr<DeltaTrafficItem>> places)
{
    QV_REQUIRE(places.size() <= kMaxDeltas, "replacePlaces: at most the places the history keeps");
    deltas_ = std::move(places);
    deltasCountChanged();
}

void CTraffics::tryAddTrafficDelta(Date sampleDate, std::uint64_t n, TCResult* r)
{
    if (n == 0 || !lastLocation_) {
        return;
    }
    std::shared_ptr<DeltaTrafficItem> nearest;
    std::shared_ptr<DeltaTrafficItem> oldest;
    double bestDistance = 1e15;
    const auto hourKey = [](const DeltaTrafficItem& d) {
        const DateComponents c = d.pDateComp.value_or(DateComponents{});
        return std::make_tuple(c.year, c.month, c.day, c.hour);
    };
    for (const auto& d : deltas_) {
        // A place without coordinates stands at 0, 0, as the map shows it.
        const double distance = d->pLocation.value_or(Location{}).shortDistanceFrom(*lastLocation_);
        if (distance < bestDistance) {
            bestDistance = distance;
            nearest = d;
        }
        if (!oldest || hourKey(*d) < hourKey(*oldest)) {
            oldest = d;
        }
    }
    if (nearest && bestDistance <= kSamePlaceMetres) {
        nearest->addTrafficDelta(n);
        nearest->setNewDate(sampleDate);
        if (r != nullptr) {
            r->pDChanged = nearest;
        }
        return;
    }
    auto added = std::make_shared<DeltaTrafficItem>(sampleDate, lastLocation_, n);
    if (deltas_.size() >= kMaxDeltas) {
        if (!oldest) {
            oldest = deltas_.front();
        }
        std::erase(deltas_, oldest);
        if (r != nullptr) {
            r->pDRemoved = oldest;
        }
    }
    deltas_.push_back(added);
    if (r != nullptr) {
        r->pDAdded = added;
    }
    deltasCountChanged();
}

void CTraffics::restoreMonth(std::unique_ptr<MonthTraffic> month)
{
    QV_REQUIRE(month != nullptr, "a restored month needs a record");
    months_.push_back(std::move(month));
}

void CTraffics::restorePlace(std::shared_ptr<DeltaTrafficItem> place)
{
    QV_REQUIRE(place != nullptr, "a restored place needs a record");
    deltas_.push_back(std::move(place));
}

void CTraffics::resetLocations()
{
    deltas_.clear();
    deltasCountChanged();
}

void CTraffics::dataUsageChanged()
{
    env_->center.post(messages::kDataUsageWasChanged, this);
}

void CTraffics::deltasCountChanged()
{
    env_->center.post(messages::kDeltasCntWasChanged, this);
}

void CTraffics::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeObjects("arrMonths", months_);
    coder.encodeObject("trafficObtainer", obtainer_.get());
    coder.encodeLocation("pLastLocation", lastLocation_);
    coder.encodeObjects("arrDeltas", deltas_);
    coder.encodeUInt64("pMonthPlan", pMonthPlan_);
    coder.encodeObjects("arrMonthTotals", totals_.list());
}

std::unique_ptr<CTraffics> CTraffics::initWithCoder(ArchiveDecoder& coder)
{
    QV_REQUIRE(coder.env() != nullptr, "decoding a history needs a decoder made with the platform services");
    auto h = std::make_unique<CTraffics>(*coder.env());
    const bool months = coder.decodeObjects("arrMonths", [&](ArchiveDecoder& month) {
        if (month.className() != MonthTraffic::kClassName) {
            month.fail("arrMonths", "month records");
        }
        h->restoreMonth(MonthTraffic::initWithCoder(month));
    });
    if (!months) {
        coder.fail("arrMonths", "the month records");  // always written: without them the days are lost
    }
    if (auto sampler = coder.decodeObject<CTrafficObtainer>("trafficObtainer")) {
        h->obtainer_ = std::move(sampler);
    } else {
        // Without its baselines every counter would be booked whole again: start from now.
        h->obtainer_->setPrevTrafficSize(CTrafficObtainer::kNoBaseline);
        Log::line("the state file held no counter baselines; counting starts again from now");
    }
    h->lastLocation_ = coder.decodeLocation("pLastLocation");
    const bool places = coder.decodeObjects("arrDeltas", [&](ArchiveDecoder& delta) {
        if (delta.className() != DeltaTrafficItem::kClassName) {
            delta.fail("arrDeltas", "places");
        }
        h->restorePlace(DeltaTrafficItem::initWithCoder(delta));
    });
    if (!places) {
        coder.fail("arrDeltas", "the places");  // always written: without them the map is lost
    }
    h->pMonthPlan_ = coder.decodeUInt64("pMonthPlan");
    coder.decodeObjects("arrMonthTotals", [&](ArchiveDecoder& total) {  // absent before totals were kept
        if (total.className() != MonthTotal::kClassName) {
            total.fail("arrMonthTotals", "month totals");
        }
        h->totals_.restore(*MonthTotal::initWithCoder(total));
    });
    return h;
}

}  // namespace quorvel
