// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

#include "platform/Date.hpp"

namespace quorvel {

// The billing calendar: day and month tests, day counts, dates carrying a given day-of-month in
// this, the previous or the next month, and positions within a billing period that starts on a
// given day-of-month. Every operation decomposes its date afresh in the local time zone; built
// dates keep the time of day of the date they start from. A test against an absent date is NO.
class DateDay {
public:
    // Tests.
    static bool isTheSameDay(Date self, std::optional<Date> other);
    static bool isNewDay(Date self, std::optional<Date> other) { return !isTheSameDay(self, other); }
    static bool isEarlierDay(Date self, int n);
    // Whether other's calendar day is strictly later than self's (time of day ignored).
    static bool isLaterDate(Date self, std::optional<Date> other);
    static bool isTheSameYear(Date self, std::optional<Date> other);
    static bool isTheSameMonth(Date self, std::optional<Date> other);
    static bool isNewMonth(Date self, std::optional<Date> other) { return !isTheSameMonth(self, other); }

    // Numbers.
    // The calendar day as one comparable number, YYYYMMDD: what alert histories store, and what
    // period tests compare instead of decomposing both dates again.
    static int dayKey(Date self);
    static int getDayNumber(Date self);
    static int getMonthNumber(Date self);
    static int getDayCountInMonth(Date self);
    static int getDayCountInPrevMonth(Date self);
    static int getDayCountInNextMonth(Date self);
    // 1-based position of self within the billing period that starts on day-of-month s.
    static int getDayNumberFromMonthDay(Date self, int s);
    // Day-of-month of the n-th day of a period that begins on self (one wrap at most).
    static int getMonthDayByNumber(Date self, int n);

    // Texts.
    static std::optional<std::string> getMonthNameByNum(int n);
    static std::string getMonthName(Date self);
    static std::string getYearStr(Date self);
    static std::string getMonth_DayString(Date self);  // "March 5"
    // The month and day as the user's language writes them ("March 5", "5. März"); for people,
    // never for a file or a key.
    static std::string localMonthDay(Date self);
    static std::string getDay_MonthString(Date self);  // "5 March"

    // Date builders.
    static Date getDateForDayNumber(Date self, int n);
    static Date getDateInPrevMonthForDayNumber(Date self, int n);
    static Date getNextDateForDayNumber(Date self, int n);
};

}  // namespace quorvel
