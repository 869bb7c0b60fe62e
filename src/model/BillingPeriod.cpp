// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BillingPeriod.hpp"

#include <algorithm>

#include "model/DateDay.hpp"
#include "platform/Calendar.hpp"

namespace quorvel {

int BillingPeriod::getDaysInPrevMonth(Date today, int s)
{
    const int pm = DateDay::getDayCountInPrevMonth(today);
    return pm < s ? 0 : pm - s + 1;
}

int BillingPeriod::getDaysInNextMonth(Date today, int s)
{
    return std::min(s - 1, DateDay::getDayCountInNextMonth(today));
}

int BillingPeriod::getDayCountInBillingMonth(Date /*today*/, Date date, int s)
{
    // The neighbouring month is the one next to `date`: counted around today, a period that
    // began in another month (31 January to 28 February seen in April) got the wrong length.
    const int d = DateDay::getDayNumber(date);
    const int length = DateDay::getDayCountInMonth(date);
    if (d < s) {
        return getDaysInPrevMonth(date, s) + std::min(s - 1, length);
    }
    return getDaysInNextMonth(date, s) + length - s + 1;
}

Date BillingPeriod::getFirstBillingDayForDate(Date date, int s)
{
    const int d = DateDay::getDayNumber(date);
    if (d == s) {
        return date;
    }
    return d < s ? DateDay::getDateInPrevMonthForDayNumber(date, s) : DateDay::getDateForDayNumber(date, s);
}

Date BillingPeriod::getLastBillingDayForStartDay(Date date, int s)
{
    if (DateDay::getDayNumber(date) < s) {
        return DateDay::getDateForDayNumber(date, std::min(s - 1, DateDay::getDayCountInMonth(date)));
    }
    if (s != 1) {
        DateComponents c = Calendar::components(date);
        c.day = 1;
        c.month += 1;  // mktime carries December into January
        const Date nextMonth = Calendar::date(c).value_or(date);
        return DateDay::getNextDateForDayNumber(date, std::min(s - 1, DateDay::getDayCountInMonth(nextMonth)));
    }
    return DateDay::getDateForDayNumber(date, DateDay::getDayCountInMonth(date));
}

std::int32_t BillingPeriod::daysUsed(Date today, int s)
{
    const int d = DateDay::getDayNumber(today);
    return d < s ? d + getDaysInPrevMonth(today, s) - 1 : d - s;
}

std::int32_t BillingPeriod::daysLeft(Date today, int s)
{
    const int d = DateDay::getDayNumber(today);
    const int length = DateDay::getDayCountInMonth(today);
    int left = 0;
    if (d < s) {
        left = s <= length ? s - d : length - d + 1;
    } else {
        left = getDaysInNextMonth(today, s) + length - d + 1;
    }
    return std::max(left, 1);
}

}  // namespace quorvel
