// SPDX-License-Identifier: GPL-3.0-or-later
// The billing calendar: tests, day counts and date builders, in several time zones.
#include <gtest/gtest.h>

#include <tuple>

#include "TestEnv.hpp"
#include "model/DateDay.hpp"

namespace quorvel {
namespace {

using test::localDate;
using test::ScopedTimeZone;
using Ymd = std::tuple<int, int, int>;

Ymd ymd(Date date)
{
    const DateComponents c = Calendar::components(date);
    return {c.year, c.month, c.day};
}

Date at(Ymd d, int hour = 12, int minute = 0, int second = 0)
{
    return localDate(std::get<0>(d), std::get<1>(d), std::get<2>(d), hour, minute, second);
}

// One-hour and half-hour daylight-saving changes, a zone 14 hours east of UTC, and UTC.
class DateDayZones : public ::testing::TestWithParam<const char*> {
protected:
    ScopedTimeZone zone{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Zones, DateDayZones,
                         ::testing::Values("Europe/Berlin", "America/New_York", "Australia/Lord_Howe",
                                           "Pacific/Kiritimati", "UTC"));

TEST_P(DateDayZones, BuiltDatesLandOnTheExpectedDayAndKeepTheTimeOfDay)
{
    enum Op { ForDay, InPrevMonth, Next };
    const struct {
        Op op;
        Ymd from;
        int n;
        Ymd expected;
    } cases[] = {
        {ForDay, {2026, 4, 10}, 31, {2026, 5, 1}},       {ForDay, {2026, 2, 14}, 30, {2026, 3, 1}},
        {ForDay, {2026, 2, 3}, 29, {2026, 3, 1}},        {ForDay, {2028, 2, 3}, 29, {2028, 2, 29}},
        {ForDay, {2026, 11, 5}, 31, {2026, 12, 1}},      {ForDay, {2026, 12, 31}, 1, {2026, 12, 1}},
        {InPrevMonth, {2026, 3, 15}, 31, {2026, 3, 1}},  {InPrevMonth, {2026, 1, 15}, 20, {2025, 12, 20}},
        {InPrevMonth, {2026, 1, 31}, 31, {2025, 12, 31}}, {InPrevMonth, {2028, 3, 10}, 29, {2028, 2, 29}},
        {InPrevMonth, {2026, 3, 10}, 29, {2026, 3, 1}},  {InPrevMonth, {2026, 5, 2}, 31, {2026, 5, 1}},
        {Next, {2026, 5, 15}, 15, {2026, 6, 15}},        {Next, {2026, 5, 14}, 15, {2026, 5, 15}},
        {Next, {2026, 5, 31}, 31, {2026, 7, 1}},         {Next, {2026, 12, 20}, 5, {2027, 1, 5}},
        {Next, {2026, 12, 31}, 31, {2027, 1, 31}},       {Next, {2028, 1, 30}, 30, {2028, 3, 1}},
    };
    // Just after and just before midnight, where a day computed in UTC would slip.
    for (const auto& [hour, minute, second] : {std::tuple{0, 30, 15}, std::tuple{23, 45, 59}}) {
        for (const auto& c : cases) {
            const Date from = at(c.from, hour, minute, second);
            const Date built = c.op == ForDay        ? DateDay::getDateForDayNumber(from, c.n)
                               : c.op == InPrevMonth ? DateDay::getDateInPrevMonthForDayNumber(from, c.n)
                                                     : DateDay::getNextDateForDayNumber(from, c.n);
            const DateComponents got = Calendar::components(built);
            EXPECT_EQ(ymd(built), c.expected) << "op " << c.op << " n " << c.n << " at " << hour;
            EXPECT_EQ(std::tie(got.hour, got.minute, got.second), std::tie(hour, minute, second));
        }
    }
}

TEST_P(DateDayZones, MonthLengthsAroundYearEndsAndLeapYears)
{
    const struct {
        Ymd date;
        int inMonth, inPrev, inNext;
    } cases[] = {
        {{2026, 1, 15}, 31, 31, 28}, {{2028, 3, 31}, 31, 29, 30}, {{2028, 2, 29}, 29, 31, 31},
        {{2026, 12, 1}, 31, 30, 31}, {{2100, 3, 1}, 31, 28, 30},  {{2000, 3, 1}, 31, 29, 30},
    };
    for (const auto& c : cases) {
        const Date d = at(c.date, 0, 15);
        EXPECT_EQ(std::tuple(DateDay::getDayCountInMonth(d), DateDay::getDayCountInPrevMonth(d),
                             DateDay::getDayCountInNextMonth(d)),
                  std::tuple(c.inMonth, c.inPrev, c.inNext));
    }
}

TEST_P(DateDayZones, PositionInBillingPeriodAndDayOfPeriod)
{
    // getDayNumberFromMonthDay: date, start day, 1-based position.
    for (const auto& [date, s, position] : {std::tuple{Ymd{2026, 3, 20}, 15, 6}, {Ymd{2026, 3, 3}, 15, 17},
                                            {Ymd{2028, 3, 3}, 15, 18}, {Ymd{2026, 5, 10}, 31, 10},
                                            {Ymd{2026, 3, 10}, 31, 10}, {Ymd{2026, 1, 5}, 31, 6},
                                            {Ymd{2026, 7, 17}, 1, 17}}) {
        EXPECT_EQ(DateDay::getDayNumberFromMonthDay(at(date, 23, 50), s), position) << s;
    }
    // getMonthDayByNumber: first day of a period, n, day-of-month of its n-th day.
    for (const auto& [date, n, day] : {std::tuple{Ymd{2026, 1, 20}, 1, 20}, {Ymd{2026, 1, 20}, 15, 3},
                                       {Ymd{2026, 2, 15}, 14, 28}, {Ymd{2026, 2, 15}, 15, 1},
                                       {Ymd{2028, 2, 15}, 15, 29}, {Ymd{2026, 12, 31}, 2, 1}}) {
        EXPECT_EQ(DateDay::getMonthDayByNumber(at(date, 0, 5), n), day) << n;
    }
}

TEST_P(DateDayZones, DayAndMonthTestsCompareCalendarComponents)
{
    const Date lateNewYearsEve = localDate(2012, 12, 31, 23, 59, 59);
    const Date newYear = localDate(2013, 1, 1, 0, 0, 0);
    EXPECT_TRUE(DateDay::isLaterDate(lateNewYearsEve, newYear));
    EXPECT_FALSE(DateDay::isLaterDate(newYear, lateNewYearsEve));
    EXPECT_FALSE(DateDay::isTheSameYear(lateNewYearsEve, newYear));
    const Date morning = localDate(2026, 3, 10, 0, 0, 1);
    EXPECT_TRUE(DateDay::isTheSameDay(morning, localDate(2026, 3, 10, 23, 59, 59)));
    EXPECT_FALSE(DateDay::isLaterDate(morning, localDate(2026, 3, 10, 23, 59, 59)));
    EXPECT_FALSE(DateDay::isTheSameMonth(morning, localDate(2025, 3, 10)));  // a year apart
    EXPECT_TRUE(DateDay::isLaterDate(localDate(2026, 3, 31), localDate(2026, 4, 1)));
    EXPECT_FALSE(DateDay::isLaterDate(morning, std::nullopt));
    EXPECT_TRUE(DateDay::isNewDay(morning, std::nullopt));
    EXPECT_TRUE(DateDay::isNewMonth(morning, std::nullopt));
}

TEST(DateDay, DaylightSavingChangesMoveTheHourNotTheDay)
{
    {
        ScopedTimeZone zone("America/New_York");
        // 24 hours after 00:30 on the fall-back Sunday is 23:30 the same day...
        const Date sundayEarly = localDate(2026, 11, 1, 0, 30);
        EXPECT_TRUE(DateDay::isTheSameDay(sundayEarly, sundayEarly.plusSeconds(24 * 3600)));
        // ...and 24 hours after 23:30 before the spring change skips a day.
        EXPECT_EQ(ymd(localDate(2026, 3, 7, 23, 30).plusSeconds(24 * 3600)), Ymd(2026, 3, 9));
        // 02:30 does not exist on 8 March: the date built for it is still on the 8th.
        EXPECT_EQ(ymd(DateDay::getNextDateForDayNumber(localDate(2026, 2, 20, 2, 30), 8)), Ymd(2026, 3, 8));
        // Asking for the day it already is returns the very instant, here 01:30 on its second pass.
        const Date secondPass = sundayEarly.plusSeconds(2 * 3600);
        EXPECT_EQ(DateDay::getDateForDayNumber(secondPass, 1), secondPass);
    }
    {
        ScopedTimeZone zone("Australia/Lord_Howe");  // half-hour change at 02:00 on 4 October 2026
        EXPECT_EQ(ymd(DateDay::getNextDateForDayNumber(localDate(2026, 9, 20, 2, 15), 4)), Ymd(2026, 10, 4));
        EXPECT_EQ(ymd(localDate(2026, 4, 4, 23, 45).plusSeconds(24 * 3600)), Ymd(2026, 4, 5));
    }
}

TEST(DateDay, MonthNamesAndShortTexts)
{
    EXPECT_EQ(DateDay::getMonthNameByNum(0), std::nullopt);  // the blank entry is never given out
    EXPECT_EQ(DateDay::getMonthNameByNum(13), std::nullopt);
    EXPECT_EQ(DateDay::getMonthNameByNum(12), "December");
    const Date d = localDate(2013, 3, 5, 0, 1);
    EXPECT_EQ(DateDay::getMonth_DayString(d) + "|" + DateDay::getDay_MonthString(d) + "|" + DateDay::getYearStr(d),
              "March 5|5 March|2013");
}

}  // namespace
}  // namespace quorvel
