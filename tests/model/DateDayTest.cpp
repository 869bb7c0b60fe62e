// The billing calendar: tests, day counts and date builders, in several time zones.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "TestEnv.hpp"
#include "model/DateDay.hpp"

namespace quorvel {
namespace {

using test::localDate;
using test::ScopedTimeZone;

struct Ymd {
    int y, m, d;
    friend bool operator==(const Ymd&, const Ymd&) = default;
};

std::ostream& operator<<(std::ostream& os, const Ymd& v)
{
    return os << v.y << '-' << v.m << '-' << v.d;
}

Ymd ymd(Date date)
{
    const DateComponents c = Calendar::components(date);
    return {c.year, c.month, c.day};
}

// Zones with a one-hour and a half-hour daylight-saving change, one far east of UTC, and UTC.
class DateDayZones : public ::testing::TestWithParam<const char*> {
protected:
    ScopedTimeZone zone{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Zones, DateDayZones,
                         ::testing::Values("Europe/Berlin", "America/New_York", "Australia/Lord_Howe",
                                           "Pacific/Kiritimati", "UTC"));

enum class Build { ForDay, InPrevMonth, Next };

struct BuildCase {
    Build op;
    Ymd from;
    int n;
    Ymd expected;
};

const BuildCase kBuildCases[] = {
    {Build::ForDay, {2026, 4, 10}, 31, {2026, 5, 1}},   // April has 30 days
    {Build::ForDay, {2026, 2, 14}, 30, {2026, 3, 1}},
    {Build::ForDay, {2026, 2, 3}, 29, {2026, 3, 1}},
    {Build::ForDay, {2028, 2, 3}, 29, {2028, 2, 29}},   // leap year
    {Build::ForDay, {2026, 12, 5}, 31, {2026, 12, 31}},
    {Build::ForDay, {2026, 11, 5}, 31, {2026, 12, 1}},
    {Build::ForDay, {2026, 12, 31}, 1, {2026, 12, 1}},
    {Build::InPrevMonth, {2026, 3, 15}, 31, {2026, 3, 1}},  // February is too short
    {Build::InPrevMonth, {2026, 1, 15}, 20, {2025, 12, 20}},
    {Build::InPrevMonth, {2026, 1, 31}, 31, {2025, 12, 31}},
    {Build::InPrevMonth, {2028, 3, 10}, 29, {2028, 2, 29}},
    {Build::InPrevMonth, {2026, 3, 10}, 29, {2026, 3, 1}},
    {Build::InPrevMonth, {2026, 5, 2}, 31, {2026, 5, 1}},
    {Build::Next, {2026, 5, 15}, 15, {2026, 6, 15}},
    {Build::Next, {2026, 5, 14}, 15, {2026, 5, 15}},
    {Build::Next, {2026, 5, 31}, 31, {2026, 7, 1}},   // June has 30 days
    {Build::Next, {2026, 12, 20}, 5, {2027, 1, 5}},
    {Build::Next, {2026, 12, 31}, 31, {2027, 1, 31}},
    {Build::Next, {2028, 1, 30}, 30, {2028, 3, 1}},
    {Build::Next, {2028, 1, 30}, 29, {2028, 2, 29}},
};

Date run(Build op, Date from, int n)
{
    switch (op) {
    case Build::ForDay:
        return DateDay::getDateForDayNumber(from, n);
    case Build::InPrevMonth:
        return DateDay::getDateInPrevMonthForDayNumber(from, n);
    case Build::Next:
        break;
    }
    return DateDay::getNextDateForDayNumber(from, n);
}

TEST_P(DateDayZones, BuiltDatesLandOnTheExpectedDayAndKeepTheTimeOfDay)
{
    // Just after midnight and just before it, where a date built in UTC would slip a day.
    for (const auto& [hour, minute, second] : {std::tuple{0, 30, 15}, std::tuple{23, 45, 59}, std::tuple{12, 0, 0}}) {
        for (const BuildCase& c : kBuildCases) {
            const Date from = localDate(c.from.y, c.from.m, c.from.d, hour, minute, second);
            const DateComponents got = Calendar::components(run(c.op, from, c.n));
            EXPECT_EQ((Ymd{got.year, got.month, got.day}), c.expected)
                << "op " << static_cast<int>(c.op) << " from " << c.from << " n " << c.n << " at " << hour;
            EXPECT_EQ((std::tuple{got.hour, got.minute, got.second}), (std::tuple{hour, minute, second}));
        }
    }
}

struct CountCase {
    Ymd date;
    int inMonth, inPrev, inNext;
};

TEST_P(DateDayZones, MonthLengthsAroundYearEndsAndLeapYears)
{
    const CountCase cases[] = {
        {{2026, 1, 15}, 31, 31, 28}, {{2028, 3, 31}, 31, 29, 30}, {{2028, 2, 29}, 29, 31, 31},
        {{2026, 12, 1}, 31, 30, 31}, {{2100, 3, 1}, 31, 28, 30},  {{2000, 3, 1}, 31, 29, 30},
        {{2026, 11, 30}, 30, 31, 31},
    };
    for (const CountCase& c : cases) {
        const Date d = localDate(c.date.y, c.date.m, c.date.d, 0, 15);
        EXPECT_EQ(DateDay::getDayCountInMonth(d), c.inMonth) << c.date;
        EXPECT_EQ(DateDay::getDayCountInPrevMonth(d), c.inPrev) << c.date;
        EXPECT_EQ(DateDay::getDayCountInNextMonth(d), c.inNext) << c.date;
    }
}

TEST_P(DateDayZones, PositionInBillingPeriodAndDayOfPeriod)
{
    struct {
        Ymd date;
        int s;
        int position;
    } positions[] = {
        {{2026, 3, 20}, 15, 6},  {{2026, 3, 3}, 15, 17}, {{2028, 3, 3}, 15, 18}, {{2026, 5, 10}, 31, 10},
        {{2026, 3, 10}, 31, 10}, {{2026, 1, 5}, 31, 6},  {{2026, 7, 17}, 1, 17}, {{2026, 1, 1}, 1, 1},
    };
    for (const auto& c : positions) {
        EXPECT_EQ(DateDay::getDayNumberFromMonthDay(localDate(c.date.y, c.date.m, c.date.d, 23, 50), c.s), c.position)
            << c.date << " s " << c.s;
    }
    struct {
        Ymd date;
        int n;
        int day;
    } days[] = {
        {{2026, 1, 20}, 1, 20}, {{2026, 1, 20}, 15, 3}, {{2026, 2, 15}, 14, 28},
        {{2026, 2, 15}, 15, 1}, {{2028, 2, 15}, 15, 29}, {{2026, 12, 31}, 2, 1},
    };
    for (const auto& c : days) {
        EXPECT_EQ(DateDay::getMonthDayByNumber(localDate(c.date.y, c.date.m, c.date.d, 0, 5), c.n), c.day)
            << c.date << " n " << c.n;
    }
}

TEST_P(DateDayZones, DayAndMonthTestsCompareCalendarComponents)
{
    const Date lateNewYearsEve = localDate(2012, 12, 31, 23, 59, 59);
    const Date newYear = localDate(2013, 1, 1, 0, 0, 0);
    EXPECT_TRUE(DateDay::isLaterDate(lateNewYearsEve, newYear));
    EXPECT_FALSE(DateDay::isLaterDate(newYear, lateNewYearsEve));
    EXPECT_FALSE(DateDay::isTheSameMonth(lateNewYearsEve, newYear));
    EXPECT_FALSE(DateDay::isTheSameYear(lateNewYearsEve, newYear));
    EXPECT_TRUE(DateDay::isNewDay(lateNewYearsEve, newYear));

    const Date morning = localDate(2026, 3, 10, 0, 0, 1);
    const Date evening = localDate(2026, 3, 10, 23, 59, 59);
    EXPECT_TRUE(DateDay::isTheSameDay(morning, evening));
    EXPECT_FALSE(DateDay::isLaterDate(morning, evening));
    EXPECT_FALSE(DateDay::isLaterDate(evening, morning));

    // Same day and month number a year apart.
    const Date yearBefore = localDate(2025, 3, 10);
    EXPECT_FALSE(DateDay::isTheSameDay(morning, yearBefore));
    EXPECT_FALSE(DateDay::isTheSameMonth(morning, yearBefore));
    EXPECT_TRUE(DateDay::isLaterDate(yearBefore, morning));
    // A later month with a smaller day, and a later day in an earlier month of a later year.
    EXPECT_TRUE(DateDay::isLaterDate(localDate(2026, 3, 31), localDate(2026, 4, 1)));
    EXPECT_TRUE(DateDay::isLaterDate(localDate(2025, 12, 31), localDate(2026, 1, 1)));

    EXPECT_TRUE(DateDay::isEarlierDay(morning, 11));
    EXPECT_FALSE(DateDay::isEarlierDay(morning, 10));
}

TEST(DateDay, AbsentOtherDateAnswersNo)
{
    const Date d = localDate(2026, 3, 10);
    EXPECT_FALSE(DateDay::isTheSameDay(d, std::nullopt));
    EXPECT_FALSE(DateDay::isLaterDate(d, std::nullopt));
    EXPECT_FALSE(DateDay::isTheSameYear(d, std::nullopt));
    EXPECT_FALSE(DateDay::isTheSameMonth(d, std::nullopt));
    EXPECT_TRUE(DateDay::isNewDay(d, std::nullopt));
    EXPECT_TRUE(DateDay::isNewMonth(d, std::nullopt));
}

TEST(DateDay, AskingForTheDayItIsReturnsTheVeryInstant)
{
    ScopedTimeZone zone("America/New_York");
    // 01:30 EST, the second pass through that hour when clocks fall back: rebuilding it from
    // components could give the first one.
    const Date secondPass = localDate(2026, 11, 1, 0, 30).plusSeconds(2 * 3600);
    ASSERT_EQ(Calendar::components(secondPass).hour, 1);
    EXPECT_EQ(DateDay::getDateForDayNumber(secondPass, 1), secondPass);
}

TEST(DateDay, DaylightSavingChangesMoveTheHourNotTheDay)
{
    {
        ScopedTimeZone zone("America/New_York");
        // 24 hours after 00:30 on the Saturday before the fall-back day is 23:30 the same Sunday...
        const Date sundayEarly = localDate(2026, 11, 1, 0, 30);
        EXPECT_TRUE(DateDay::isTheSameDay(sundayEarly, sundayEarly.plusSeconds(24 * 3600)));
        // ...and 24 hours after 23:30 before the spring change skips the Sunday.
        const Date saturdayLate = localDate(2026, 3, 7, 23, 30);
        EXPECT_EQ(ymd(saturdayLate.plusSeconds(24 * 3600)), (Ymd{2026, 3, 9}));
        // 02:30 does not exist on 8 March: the date built for it is still on the 8th.
        const Date gapTime = localDate(2026, 2, 20, 2, 30);
        EXPECT_EQ(ymd(DateDay::getNextDateForDayNumber(gapTime, 8)), (Ymd{2026, 3, 8}));
    }
    {
        ScopedTimeZone zone("Australia/Lord_Howe");
        // Half-hour change at 02:00 on 4 October 2026; 02:15 does not exist.
        const Date gapTime = localDate(2026, 9, 20, 2, 15);
        EXPECT_EQ(ymd(DateDay::getNextDateForDayNumber(gapTime, 4)), (Ymd{2026, 10, 4}));
        const Date before = localDate(2026, 4, 4, 23, 45);  // clocks go back 30 minutes on the 5th
        EXPECT_EQ(ymd(before.plusSeconds(24 * 3600)), (Ymd{2026, 4, 5}));
    }
}

TEST(DateDay, MonthNamesAndShortTexts)
{
    EXPECT_EQ(DateDay::getMonthNameByNum(0), std::nullopt);  // the blank entry is never given out
    EXPECT_EQ(DateDay::getMonthNameByNum(13), std::nullopt);
    EXPECT_EQ(DateDay::getMonthNameByNum(-1), std::nullopt);
    EXPECT_EQ(DateDay::getMonthNameByNum(1), "January");
    EXPECT_EQ(DateDay::getMonthNameByNum(12), "December");

    const Date d = localDate(2013, 3, 5, 0, 1);
    EXPECT_EQ(DateDay::getMonthName(d), "March");
    EXPECT_EQ(DateDay::getYearStr(d), "2013");
    EXPECT_EQ(DateDay::getMonth_DayString(d), "March 5");
    EXPECT_EQ(DateDay::getDay_MonthString(d), "5 March");
}

}  // namespace
}  // namespace quorvel
