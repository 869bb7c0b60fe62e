// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MonthTraffic.hpp"

#include <algorithm>

#include "model/DateDay.hpp"
#include "platform/Assert.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

MonthTraffic::MonthTraffic(Date d, std::optional<std::uint64_t> planSize) : date_(d), plan_(planSize) {}

std::string MonthTraffic::psYear() const
{
    return date_ ? DateDay::getYearStr(*date_) : std::string();
}

std::string MonthTraffic::psMonth() const
{
    return date_ ? DateDay::getMonthName(*date_) : std::string();
}

int MonthTraffic::pnMonthNum() const
{
    return date_ ? DateDay::getMonthNumber(*date_) : 0;
}

int MonthTraffic::pnDayNum() const
{
    return date_ ? DateDay::getDayNumber(*date_) : 0;
}

int MonthTraffic::pnDaysCount() const
{
    if (daysCount_ != 0) {
        return daysCount_;
    }
    return date_ ? DateDay::getDayCountInMonth(*date_) : 0;
}

std::uint64_t MonthTraffic::getDataUsed() const
{
    std::uint64_t sum = 0;
    for (const CTrafficPoint& p : days_) {
        sum += p.getChargedTraffic();  // free hours' bytes are not used
    }
    return TrafficCorrection::applied(sum, getCorrectionTotal());
}

std::int64_t MonthTraffic::getCorrectionTotal() const
{
    std::int64_t sum = 0;
    for (const TrafficCorrection& c : corrections_) {
        sum += c.bytes();
    }
    return sum;
}

std::uint64_t MonthTraffic::getMaxDayUsedTraffic() const
{
    std::uint64_t most = 0;
    for (const CTrafficPoint& p : days_) {
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
        days_.push_back(p);
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
            days_.push_back(p);
            added = true;
        }
    }
    return added;
}

void MonthTraffic::bookDay(const CTrafficPoint& point)
{
    for (CTrafficPoint& p : days_) {
        if (DateDay::isTheSameDay(p.pDate(), point.pDate())) {
            p.absorb(point);
            return;
        }
    }
    auto at = std::find_if(days_.begin(), days_.end(),
                           [&](const CTrafficPoint& p) { return DateDay::isLaterDate(point.pDate(), p.pDate()); });
    days_.insert(at, point);
}

void MonthTraffic::dropDaysSinceDay(int first)
{
    std::erase_if(days_, [first](const CTrafficPoint& p) { return !DateDay::isEarlierDay(p.pDate(), first); });
}

void MonthTraffic::dropDaysWithin(const DayRange& range)
{
    std::erase_if(days_, [&](const CTrafficPoint& p) { return range.contains(p.pDate()); });
}

void MonthTraffic::dropCorrectionsWithin(const DayRange& range)
{
    std::erase_if(corrections_, [&](const TrafficCorrection& c) { return range.contains(c.date()); });
}

void MonthTraffic::addCorrection(const TrafficCorrection& correction)
{
    auto at = std::find_if(corrections_.begin(), corrections_.end(),
                           [&](const TrafficCorrection& c) { return c.date() > correction.date(); });
    corrections_.insert(at, correction);
}

bool MonthTraffic::addTrafficWithin(const MonthTraffic& from, const std::vector<int>& keys, const DayRange& range)
{
    QV_REQUIRE(keys.size() == from.days_.size(), "addTrafficWithin: one day key per day record of the source");
    bool added = false;
    for (std::size_t i = 0; i < from.days_.size(); ++i) {
        if (range.containsKey(keys[i])) {
            days_.push_back(from.days_[i]);  // the source's order, already by date
            added = true;
        }
    }
    for (const TrafficCorrection& c : from.corrections_) {
        if (range.contains(c.date())) {
            addCorrection(c);
            added = true;
        }
    }
    return added;
}

void MonthTraffic::normailyzeStartDate()
{
    for (const CTrafficPoint& p : days_) {
        if (!date_ || DateDay::isLaterDate(p.pDate(), *date_)) {
            date_ = p.pDate();
        }
    }
}

std::string MonthTraffic::getMonthPeriod() const
{
    if (!date_) {
        return {};
    }
    if (!lastDate_) {
        return psMonth() + " " + psYear();
    }
    if (DateDay::isTheSameYear(*lastDate_, *date_)) {
        return DateDay::getDay_MonthString(*date_) + " - " + DateDay::getDay_MonthString(*lastDate_) + " " + psYear();
    }
    return DateDay::getDay_MonthString(*date_) + " " + DateDay::getYearStr(*date_) + " - " +
           DateDay::getDay_MonthString(*lastDate_) + " " + DateDay::getYearStr(*lastDate_);
}

std::string MonthTraffic::localMonthPeriod() const
{
    if (!date_) {
        return {};
    }
    if (!lastDate_) {
        // Translators: a month and its year, as strftime writes them ("%B %Y" is "March 2026").
        /* xgettext:no-c-format */
        return DateDay::localFormat(*date_, _("%B %Y"));
    }
    // Translators: a day and its month, as strftime writes them ("%-d %B" is "5 March"; "%-d. %B"
    // gives "5. März").
    /* xgettext:no-c-format */
    const char* dayMonth = _("%-d %B");
    const std::string first = DateDay::localFormat(*date_, dayMonth);
    const std::string last = DateDay::localFormat(*lastDate_, dayMonth);
    if (DateDay::isTheSameYear(*lastDate_, *date_)) {
        return first + " - " + last + " " + psYear();
    }
    return first + " " + DateDay::getYearStr(*date_) + " - " + last + " " + DateDay::getYearStr(*lastDate_);
}

MonthTraffic MonthTraffic::copy() const
{
    MonthTraffic c;
    c.date_ = date_;
    c.plan_ = plan_;
    c.days_ = days_;
    c.corrections_ = corrections_;
    return c;
}

void MonthTraffic::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeDate("date", date_);
    coder.encodeObjects("arrDaysTraffics", days_);
    coder.encodeUInt64("pMonthPlan", plan_);
    coder.encodeObjects("arrCorrections", corrections_);
}

std::unique_ptr<MonthTraffic> MonthTraffic::initWithCoder(ArchiveDecoder& coder)
{
    auto m = std::make_unique<MonthTraffic>();
    m->date_ = coder.decodeDate("date");
    const bool days = coder.decodeObjects("arrDaysTraffics", [&](ArchiveDecoder& day) {
        if (day.className() != CTrafficPoint::kClassName) {
            day.fail("arrDaysTraffics", "day records");
        }
        m->days_.push_back(*CTrafficPoint::initWithCoder(day));
    });
    if (!days) {
        coder.fail("arrDaysTraffics", "the month's day list");  // always written: without it the days are lost
    }
    m->plan_ = coder.decodeUInt64("pMonthPlan");
    coder.decodeObjects("arrCorrections", [&](ArchiveDecoder& c) {  // absent before corrections were kept
        if (c.className() != TrafficCorrection::kClassName) {
            c.fail("arrCorrections", "corrections");
        }
        m->corrections_.push_back(*TrafficCorrection::initWithCoder(c));
    });
    if (!m->plan_) {
        m->plan_ = kDefaultDecodedPlan;
    }
    m->normailyzeStartDate();
    return m;
}

}  // namespace quorvel
