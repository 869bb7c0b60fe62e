// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DateDay.hpp"

#include <array>
#include <ctime>
#include <tuple>

#include "platform/Calendar.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

constexpr std::array<const char*, 13> kMonthNames = {" ",    "January", "February",  "March",   "April",
                                                     "May",  "June",    "July",      "August",  "September",
                                                     "October", "November", "December"};

void stepMonth(DateComponents& c, int delta)
{
    c.month += delta;
    if (c.month > 12) {
        c.month = 1;
        ++c.year;
    } else if (c.month < 1) {
        c.month = 12;
        --c.year;
    }
}

// Built from valid components this never fails inside the years an archive can hold; should it,
// the starting date stands in rather than an invented one.
Date build(const DateComponents& c, Date fallback)
{
    return Calendar::date(c).value_or(fallback);
}

int neighbourMonthLength(Date self, int delta)
{
    DateComponents c = Calendar::components(self);
    stepMonth(c, delta);
    c.day = 1;
    c.hour = 12;
    c.minute = 2;
    c.second = 1;
    if (std::optional<Date> d = Calendar::date(c)) {
        return Calendar::daysInMonth(*d);
    }
    const int day = Calendar::components(self).day;
    const int len = Calendar::daysInMonth(self);
    const std::int64_t step = delta < 0 ? -std::int64_t{day} * 86400 : (std::int64_t{len - day} * 86400 + 86400);
    return Calendar::daysInMonth(self.plusSeconds(step));
}

}  // namespace

bool DateDay::isTheSameDay(Date self, std::optional<Date> other)
{
    if (!other) {
        return false;
    }
    const DateComponents a = Calendar::components(self);
    const DateComponents b = Calendar::components(*other);
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

bool DateDay::isEarlierDay(Date self, int n)
{
    return getDayNumber(self) < n;
}

bool DateDay::isLaterDate(Date self, std::optional<Date> other)
{
    if (!other) {
        return false;
    }
    const DateComponents a = Calendar::components(self);
    const DateComponents b = Calendar::components(*other);
    return std::tie(b.year, b.month, b.day) > std::tie(a.year, a.month, a.day);
}

bool DateDay::isTheSameYear(Date self, std::optional<Date> other)
{
    return other && Calendar::components(self).year == Calendar::components(*other).year;
}

bool DateDay::isTheSameMonth(Date self, std::optional<Date> other)
{
    if (!other) {
        return false;
    }
    const DateComponents a = Calendar::components(self);
    const DateComponents b = Calendar::components(*other);
    return a.year == b.year && a.month == b.month;
}

int DateDay::dayKey(Date self)
{
    const DateComponents c = Calendar::components(self);
    return c.year * 10'000 + c.month * 100 + c.day;
}

int DateDay::getDayNumber(Date self)
{
    return Calendar::components(self).day;
}

int DateDay::getMonthNumber(Date self)
{
    return Calendar::components(self).month;
}

int DateDay::getDayCountInMonth(Date self)
{
    return Calendar::daysInMonth(self);
}

int DateDay::getDayCountInPrevMonth(Date self)
{
    return neighbourMonthLength(self, -1);
}

int DateDay::getDayCountInNextMonth(Date self)
{
    return neighbourMonthLength(self, +1);
}

int DateDay::getDayNumberFromMonthDay(Date self, int s)
{
    const int d = getDayNumber(self);
    if (d >= s) {
        return d - s + 1;
    }
    const int prev = getDayCountInPrevMonth(self);
    return prev >= s ? d + prev - s + 1 : d;
}

int DateDay::getMonthDayByNumber(Date self, int n)
{
    const int a = n + getDayNumber(self) - 1;
    const int c = getDayCountInMonth(self);
    return a <= c ? a : a - c;
}

std::optional<std::string> DateDay::getMonthNameByNum(int n)
{
    if (n <= 0 || n >= 13) {
        return std::nullopt;
    }
    return std::string(kMonthNames[static_cast<std::size_t>(n)]);
}

std::string DateDay::getMonthName(Date self)
{
    return getMonthNameByNum(getMonthNumber(self)).value_or(" ");
}

std::string DateDay::getYearStr(Date self)
{
    return std::to_string(Calendar::components(self).year);
}

std::string DateDay::getMonth_DayString(Date self)
{
    return getMonthName(self) + " " + std::to_string(getDayNumber(self));
}

std::string DateDay::localMonthDay(Date self)
{
    const DateComponents c = Calendar::components(self);
    std::tm t{};
    t.tm_year = c.year - 1900;
    t.tm_mon = c.month - 1;
    t.tm_mday = c.day;
    t.tm_hour = 12;
    // Translators: the month and day of the main screen, as strftime writes them ("%B %-d" is
    // "March 5"); "%-d. %B" gives "5. März".
    /* xgettext:no-c-format */
    const char* format = _("%B %-d");
    char out[128];
    const std::size_t n = std::strftime(out, sizeof out, format, &t);
    return n > 0 ? std::string(out, n) : getMonth_DayString(self);
}

std::string DateDay::getDay_MonthString(Date self)
{
    return std::to_string(getDayNumber(self)) + " " + getMonthName(self);
}

Date DateDay::getDateForDayNumber(Date self, int n)
{
    DateComponents c = Calendar::components(self);
    if (c.day == n) {
        return self;
    }
    if (Calendar::daysInMonth(c.year, c.month) >= n) {
        c.day = n;
    } else {
        c.day = 1;
        stepMonth(c, +1);
    }
    return build(c, self);
}

Date DateDay::getDateInPrevMonthForDayNumber(Date self, int n)
{
    if (getDayCountInPrevMonth(self) < n) {
        return getDateForDayNumber(self, 1);
    }
    DateComponents c = Calendar::components(self);
    c.day = n;
    stepMonth(c, -1);
    return build(c, self);
}

Date DateDay::getNextDateForDayNumber(Date self, int n)
{
    if (getDayNumber(self) < n) {
        return getDateForDayNumber(self, n);
    }
    DateComponents c = Calendar::components(self);
    c.day = 1;
    stepMonth(c, +1);
    return getDateForDayNumber(build(c, self), n);
}

}  // namespace quorvel
