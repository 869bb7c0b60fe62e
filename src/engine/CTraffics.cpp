#include "engine/CTraffics.hpp"

#include <tuple>

#include "engine/Messages.hpp"
#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/Calendar.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/NotificationCenter.hpp"

namespace quorvel {

CTraffics::CTraffics(const Env& env)
    : trafficObtainer(std::make_unique<CTrafficObtainer>(env, std::nullopt, 0, 0.0)), env_(&env)
{
}

Date CTraffics::now() const
{
    return env_->clock.now();
}

void CTraffics::setPMonthPlan(std::optional<std::uint64_t> plan)
{
    pMonthPlan_ = plan;
    if (!arrMonths.empty() && DateDay::isTheSameMonth(now(), arrMonths.back()->date)) {
        arrMonths.back()->pMonthPlan = plan.value_or(0);
    }
}

std::vector<CTrafficPoint>* CTraffics::arrTraffics()
{
    if (arrMonths.empty() || !DateDay::isTheSameMonth(now(), arrMonths.back()->date)) {
        return nullptr;
    }
    return &arrMonths.back()->arrDaysTraffics;
}

const std::vector<CTrafficPoint>* CTraffics::arrTraffics() const
{
    return const_cast<CTraffics*>(this)->arrTraffics();
}

bool CTraffics::getNewTraffic(TCResult* r)
{
    const std::uint64_t before = getTotalTRaffic();
    const MonthTraffic* month = getMonthInfoForThisMonth();
    CTrafficPoint* latest = getLatestTrafficItemForThisMonth();
    const CTrafficObtainer::Increment inc = trafficObtainer->getTrafficIncrementPoint(latest);
    const bool newRecord = inc.kind == CTrafficObtainer::Increment::Kind::NewRecord;
    // The date of the record the sample went to, for the place it is attributed to.
    const Date sampleDate = newRecord ? inc.point.pDate : latest != nullptr ? latest->pDate : now();
    if (newRecord) {
        const bool newMonth = month == nullptr || month->pnMonthNum() != DateDay::getMonthNumber(inc.point.pDate);
        addNewTrafficPoint(inc.point, newMonth);
        if (r != nullptr) {
            r->setBMonthChanged(newMonth);
        }
    }
    const std::uint64_t after = getTotalTRaffic();
    if (static_cast<std::int64_t>(after - before) > 0) {
        tryAddTrafficDelta(sampleDate, after - before, r);
    }
    return newRecord || after != before;
}

void CTraffics::trimMonths()
{
    while (arrMonths.size() > kMaxMonths) {
        arrMonths.erase(arrMonths.begin());
    }
}

void CTraffics::addNewTrafficPoint(const CTrafficPoint& point, bool fornewMonth)
{
    if (!fornewMonth && arrTraffics() == nullptr) {
        fornewMonth = true;  // no record for the current calendar month yet
    }
    if (fornewMonth) {
        arrMonths.push_back(std::make_unique<MonthTraffic>(point.pDate, pMonthPlan_));
        trimMonths();
    }
    if (std::vector<CTrafficPoint>* days = arrTraffics()) {
        days->push_back(point);
    }
    dataUsageChanged();
}

MonthTraffic& CTraffics::createOrGetMonthItemforMonthNumber(int n)
{
    if (n == -1) {
        n = DateDay::getMonthNumber(now());
    }
    if (MonthTraffic* found = getMonthInfo(n)) {
        return *found;
    }
    arrMonths.push_back(std::make_unique<MonthTraffic>(now(), pMonthPlan_));
    MonthTraffic* made = arrMonths.back().get();
    trimMonths();
    return *made;
}

void CTraffics::reinitTrafficPointsSinceToday(std::int32_t d, std::uint64_t bytes, std::int32_t s)
{
    DateComponents comps = Calendar::components(now());
    MonthTraffic& month = createOrGetMonthItemforMonthNumber(-1);
    month.resetDaysTraffics();
    if (d < 1) {
        d = comps.day;
    }
    if (d == 0) {
        d = 1;
    }
    std::int32_t first = 1;
    std::int32_t n = d;
    if (s >= 2 && d >= s) {
        first = s;
        n = d - s + 1;
    }
    const std::uint64_t q = bytes / static_cast<std::uint64_t>(n);
    const std::uint64_t rest = bytes % static_cast<std::uint64_t>(n);
    comps.second = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        comps.day = first + i;
        const Date date = Calendar::date(comps).value_or(now());
        month.arrDaysTraffics.push_back(CTrafficPoint::trafficPointWithDate(date, q));
        if (i == 0) {
            month.updateDate(date);
        }
    }
    month.arrDaysTraffics.back().addTraffic(rest);
    trafficObtainer->ResetObtainerCounter();
    dataUsageChanged();
}

std::uint64_t CTraffics::getTotalTRaffic() const
{
    std::uint64_t sum = 0;
    if (const auto* days = arrTraffics()) {
        for (const CTrafficPoint& p : *days) {
            sum += p.getTotalTRaffic();
        }
    }
    return sum;
}

std::uint64_t CTraffics::getTotalTRafficWf() const
{
    std::uint64_t sum = 0;
    if (const auto* days = arrTraffics()) {
        for (const CTrafficPoint& p : *days) {
            sum += p.getTotalTRafficWf();
        }
    }
    return sum;
}

std::uint64_t CTraffics::getTrafficInMonth(const std::vector<CTrafficPoint>* days, int s)
{
    if (days == nullptr) {
        return 0;
    }
    std::uint64_t sum = 0;
    for (auto it = days->rbegin(); it != days->rend(); ++it) {
        if (DateDay::isEarlierDay(it->pDate, s)) {
            break;
        }
        sum += it->getTotalTRaffic();
    }
    return sum;
}

std::uint64_t CTraffics::getTrafficInPrevMonthSinceDayNumber(int s) const
{
    if (arrMonths.empty()) {
        return 0;
    }
    const Date ref = DateDay::getDateInPrevMonthForDayNumber(now(), 1);
    const MonthTraffic& last = *arrMonths.back();
    if (DateDay::isTheSameMonth(ref, last.date)) {
        return getTrafficInMonth(&last.arrDaysTraffics, s);
    }
    if (arrMonths.size() >= 2) {
        const MonthTraffic& before = *arrMonths[arrMonths.size() - 2];
        if (DateDay::isTheSameMonth(ref, before.date)) {
            return getTrafficInMonth(&before.arrDaysTraffics, s);
        }
    }
    return 0;
}

std::uint64_t CTraffics::getTrafficTodayCount() const
{
    const CTrafficPoint* today = getTrafficToday();
    return today != nullptr ? today->getTotalTRaffic() : 0;
}

MonthTraffic* CTraffics::getMonthInfo(int monthNumber) const
{
    for (const auto& m : arrMonths) {
        if (m->pnMonthNum() == monthNumber) {
            return m.get();
        }
    }
    return nullptr;
}

std::vector<CTrafficPoint>* CTraffics::getMonthTrafficPoints(int monthNumber) const
{
    MonthTraffic* m = getMonthInfo(monthNumber);
    return m != nullptr ? &m->arrDaysTraffics : nullptr;
}

MonthTraffic* CTraffics::getMonthInfoForThisMonth() const
{
    return getMonthInfo(DateDay::getMonthNumber(now()));
}

CTrafficPoint* CTraffics::getLatestTrafficItemForThisMonth() const
{
    std::vector<CTrafficPoint>* days = getMonthTrafficPoints(DateDay::getMonthNumber(now()));
    return days != nullptr && !days->empty() ? &days->back() : nullptr;
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
            if (DateDay::isTheSameDay(p.pDate, date)) {
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
    if (auto* days = arrTraffics()) {
        days->clear();
        dataUsageChanged();
    }
}

void CTraffics::ResetPrevMonthsInfo()
{
    if (arrMonths.size() > 1) {
        arrMonths.erase(arrMonths.begin(), arrMonths.end() - 1);
    }
}

void CTraffics::tryAddTrafficDelta(Date sampleDate, std::uint64_t n, TCResult* r)
{
    if (n == 0 || !pLastLocation) {
        return;
    }
    std::shared_ptr<DeltaTrafficItem> nearest;
    std::shared_ptr<DeltaTrafficItem> oldest;
    double bestDistance = 1e15;
    const auto hourKey = [](const DeltaTrafficItem& d) {
        const DateComponents c = d.pDateComp.value_or(DateComponents{});
        return std::make_tuple(c.year, c.month, c.day, c.hour);
    };
    for (const auto& d : arrDeltas) {
        // A place without coordinates stands at 0, 0, as the map shows it.
        const double distance = d->pLocation.value_or(Location{}).distanceFromLocation(*pLastLocation);
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
    auto added = std::make_shared<DeltaTrafficItem>(sampleDate, pLastLocation, n);
    if (arrDeltas.size() >= kMaxDeltas) {
        if (!oldest) {
            oldest = arrDeltas.front();
        }
        std::erase(arrDeltas, oldest);
        if (r != nullptr) {
            r->pDRemoved = oldest;
        }
    }
    arrDeltas.push_back(added);
    if (r != nullptr) {
        r->pDAdded = added;
    }
    deltasCountChanged();
}

void CTraffics::ResetLocations()
{
    arrDeltas.clear();
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
    coder.encodeObjects("arrMonths", arrMonths);
    coder.encodeObject("trafficObtainer", trafficObtainer.get());
    coder.encodeLocation("pLastLocation", pLastLocation);
    coder.encodeObjects("arrDeltas", arrDeltas);
    coder.encodeUInt64("pMonthPlan", pMonthPlan_);
}

std::unique_ptr<CTraffics> CTraffics::initWithCoder(ArchiveDecoder& coder)
{
    QV_REQUIRE(coder.env() != nullptr, "decoding a history needs a decoder made with the platform services");
    auto h = std::make_unique<CTraffics>(*coder.env());
    coder.decodeObjects("arrMonths", [&](ArchiveDecoder& month) {
        if (month.className() != MonthTraffic::kClassName) {
            month.fail("arrMonths", "month records");
        }
        h->arrMonths.push_back(MonthTraffic::initWithCoder(month));
    });
    if (auto sampler = coder.decodeObject<CTrafficObtainer>("trafficObtainer")) {
        h->trafficObtainer = std::move(sampler);
    }
    h->pLastLocation = coder.decodeLocation("pLastLocation");
    coder.decodeObjects("arrDeltas", [&](ArchiveDecoder& delta) {
        if (delta.className() != DeltaTrafficItem::kClassName) {
            delta.fail("arrDeltas", "places");
        }
        h->arrDeltas.push_back(DeltaTrafficItem::initWithCoder(delta));
    });
    h->pMonthPlan_ = coder.decodeUInt64("pMonthPlan");
    return h;
}

}  // namespace quorvel
