#include "model/MonthTraffic.hpp"

#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

MonthTraffic::MonthTraffic(Date d, std::optional<std::uint64_t> planSize) : date(d), pMonthPlan(planSize) {}

std::string MonthTraffic::psYear() const
{
    return date ? DateDay::getYearStr(*date) : std::string();
}

std::string MonthTraffic::psMonth() const
{
    return date ? DateDay::getMonthName(*date) : std::string();
}

int MonthTraffic::pnMonthNum() const
{
    return date ? DateDay::getMonthNumber(*date) : 0;
}

int MonthTraffic::pnDayNum() const
{
    return date ? DateDay::getDayNumber(*date) : 0;
}

int MonthTraffic::pnDaysCount() const
{
    if (nDaysCount != 0) {
        return nDaysCount;
    }
    return date ? DateDay::getDayCountInMonth(*date) : 0;
}

std::uint64_t MonthTraffic::getDataUsed() const
{
    std::uint64_t sum = 0;
    for (const CTrafficPoint& p : arrDaysTraffics) {
        sum += p.getTotalTraffic();
    }
    return TrafficCorrection::applied(sum, getCorrectionTotal());
}

std::int64_t MonthTraffic::getCorrectionTotal() const
{
    std::int64_t sum = 0;
    for (const TrafficCorrection& c : arrCorrections) {
        sum += c.bytes();
    }
    return sum;
}

std::uint64_t MonthTraffic::getMaxDayUsedTraffic() const
{
    std::uint64_t most = 0;
    for (const CTrafficPoint& p : arrDaysTraffics) {
        if (p.getTotalTraffic() > most) {
            most = p.getTotalTraffic();
        }
    }
    return most;
}

bool MonthTraffic::addTrafficDaysFromTrafficsArrayBeforeDay(const std::vector<CTrafficPoint>* days, int d)
{
    if (days == nullptr) {
        return false;
    }
    bool added = false;
    for (const CTrafficPoint& p : *days) {
        if (p.getDayNumberInMonth() >= d) {
            break;
        }
        arrDaysTraffics.push_back(p);
        added = true;
    }
    return added;
}

bool MonthTraffic::addTrafficDaysFromTrafficsArraySinceDay(const std::vector<CTrafficPoint>* days, int d)
{
    if (days == nullptr) {
        return false;
    }
    bool added = false;
    for (const CTrafficPoint& p : *days) {
        if (p.getDayNumberInMonth() >= d) {
            arrDaysTraffics.push_back(p);
            added = true;
        }
    }
    return added;
}

void MonthTraffic::normailyzeStartDate()
{
    for (const CTrafficPoint& p : arrDaysTraffics) {
        if (!date || DateDay::isLaterDate(p.pDate, *date)) {
            date = p.pDate;
        }
    }
}

std::string MonthTraffic::getMonthPeriod() const
{
    if (!date) {
        return {};
    }
    if (!last_date) {
        return psMonth() + " " + psYear();
    }
    if (DateDay::isTheSameYear(*last_date, *date)) {
        return DateDay::getDay_MonthString(*date) + " - " + DateDay::getDay_MonthString(*last_date) + " " + psYear();
    }
    return DateDay::getDay_MonthString(*date) + " " + DateDay::getYearStr(*date) + " - " +
           DateDay::getDay_MonthString(*last_date) + " " + DateDay::getYearStr(*last_date);
}

MonthTraffic MonthTraffic::copy() const
{
    MonthTraffic c;
    c.date = date;
    c.pMonthPlan = pMonthPlan;
    c.arrDaysTraffics = arrDaysTraffics;
    c.arrCorrections = arrCorrections;
    return c;
}

void MonthTraffic::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeDate("date", date);
    coder.encodeObjects("arrDaysTraffics", arrDaysTraffics);
    coder.encodeUInt64("pMonthPlan", pMonthPlan);
    coder.encodeObjects("arrCorrections", arrCorrections);
}

std::unique_ptr<MonthTraffic> MonthTraffic::initWithCoder(ArchiveDecoder& coder)
{
    auto m = std::make_unique<MonthTraffic>();
    m->date = coder.decodeDate("date");
    const bool days = coder.decodeObjects("arrDaysTraffics", [&](ArchiveDecoder& day) {
        if (day.className() != CTrafficPoint::kClassName) {
            day.fail("arrDaysTraffics", "day records");
        }
        m->arrDaysTraffics.push_back(*CTrafficPoint::initWithCoder(day));
    });
    if (!days) {
        coder.fail("arrDaysTraffics", "the month's day list");  // always written: without it the days are lost
    }
    m->pMonthPlan = coder.decodeUInt64("pMonthPlan");
    coder.decodeObjects("arrCorrections", [&](ArchiveDecoder& c) {  // absent before corrections were kept
        if (c.className() != TrafficCorrection::kClassName) {
            c.fail("arrCorrections", "corrections");
        }
        m->arrCorrections.push_back(*TrafficCorrection::initWithCoder(c));
    });
    if (!m->pMonthPlan) {
        m->pMonthPlan = kDefaultDecodedPlan;
    }
    m->normailyzeStartDate();
    return m;
}

}  // namespace quorvel
