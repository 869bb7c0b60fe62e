// Billing-month arithmetic for plan start days 1 to 31.
#include <gtest/gtest.h>

#include "TestEnv.hpp"
#include "model/BillingPeriod.hpp"
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

// Days since 1970-01-01 of the date's calendar day, so that day distances ignore clock changes.
long dayIndex(Date date)
{
    const Ymd v = ymd(date);
    const int y = v.m <= 2 ? v.y - 1 : v.y;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (v.m + (v.m > 2 ? -3 : 9)) + 2) / 5 + v.d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return long{era} * 146097 + doe - 719468;
}

class BillingPeriodZones : public ::testing::TestWithParam<const char*> {
protected:
    ScopedTimeZone zone{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Zones, BillingPeriodZones,
                         ::testing::Values("Europe/Berlin", "America/New_York", "Australia/Lord_Howe",
                                           "Pacific/Kiritimati", "UTC"));

struct TodayCase {
    Ymd today;
    int s;
    int inPrev, inNext, length, used, left;
};

TEST_P(BillingPeriodZones, CountsAroundToday)
{
    const TodayCase cases[] = {
        {{2026, 3, 10}, 1, 28, 0, 31, 9, 22},
        {{2026, 4, 3}, 15, 17, 14, 31, 19, 12},    // March 31 days, April 30
        {{2026, 5, 20}, 15, 16, 14, 31, 5, 26},    // June 30 days
        {{2026, 5, 30}, 30, 1, 29, 31, 0, 31},     // next period starts on 30 June
        {{2026, 5, 5}, 31, 0, 30, 30, 4, 26},      // April too short: the period began on 1 May
        {{2026, 2, 10}, 31, 1, 30, 29, 10, 19},    // 31 January to 28 February
        {{2028, 2, 29}, 29, 3, 28, 29, 0, 29},     // leap day as start day
        {{2026, 12, 31}, 31, 0, 30, 31, 0, 31},    // over the year end
        {{2026, 1, 10}, 15, 17, 14, 31, 26, 5},    // began in December
        {{2026, 3, 1}, 30, 0, 29, 29, 0, 29},      // February too short
        {{2026, 1, 30}, 31, 1, 28, 31, 30, 1},     // last day of the period that began 31 December
    };
    for (const TodayCase& c : cases) {
        const Date today = localDate(c.today.y, c.today.m, c.today.d, 0, 20);
        SCOPED_TRACE(::testing::Message() << c.today << " s " << c.s);
        EXPECT_EQ(BillingPeriod::getDaysInPrevMonth(today, c.s), c.inPrev);
        EXPECT_EQ(BillingPeriod::getDaysInNextMonth(today, c.s), c.inNext);
        EXPECT_EQ(BillingPeriod::getDayCountInBillingMonth(today, today, c.s), c.length);
        EXPECT_EQ(BillingPeriod::daysUsed(today, c.s), c.used);
        EXPECT_EQ(BillingPeriod::daysLeft(today, c.s), c.left);
    }
}

struct PeriodCase {
    Ymd date;
    int s;
    Ymd first, last;
};

TEST_P(BillingPeriodZones, FirstAndLastDayOfThePeriodHoldingADate)
{
    const PeriodCase cases[] = {
        {{2026, 3, 20}, 15, {2026, 3, 15}, {2026, 4, 14}},
        {{2026, 3, 15}, 15, {2026, 3, 15}, {2026, 4, 14}},
        {{2026, 3, 3}, 15, {2026, 2, 15}, {2026, 3, 14}},
        {{2026, 1, 10}, 15, {2025, 12, 15}, {2026, 1, 14}},
        {{2026, 12, 20}, 5, {2026, 12, 5}, {2027, 1, 4}},
        {{2026, 5, 10}, 31, {2026, 5, 1}, {2026, 5, 30}},
        {{2026, 2, 10}, 31, {2026, 1, 31}, {2026, 2, 28}},
        {{2028, 2, 10}, 31, {2028, 1, 31}, {2028, 2, 29}},
        {{2026, 12, 31}, 31, {2026, 12, 31}, {2027, 1, 30}},
        {{2026, 3, 1}, 30, {2026, 3, 1}, {2026, 3, 29}},
        {{2026, 7, 17}, 1, {2026, 7, 1}, {2026, 7, 31}},
        {{2028, 2, 29}, 1, {2028, 2, 1}, {2028, 2, 29}},
    };
    for (const PeriodCase& c : cases) {
        const Date date = localDate(c.date.y, c.date.m, c.date.d, 23, 40);
        const Date first = BillingPeriod::getFirstBillingDayForDate(date, c.s);
        EXPECT_EQ(ymd(first), c.first) << c.date << " s " << c.s;
        EXPECT_EQ(ymd(BillingPeriod::getLastBillingDayForStartDay(first, c.s)), c.last) << c.date << " s " << c.s;
    }
}

// For every start day, consecutive periods over two years tile the calendar: each begins the day
// after the previous one ends, holds the dates it was derived from, and its length is the
// number of days from its first to its last day, whichever day `today` is.
TEST_P(BillingPeriodZones, PeriodsTileTheCalendarForEveryStartDay)
{
    const Date today = localDate(2026, 4, 10, 9, 0);
    for (int s = 1; s <= 31; ++s) {
        Date first = BillingPeriod::getFirstBillingDayForDate(localDate(2025, 11, 20, 0, 10), s);
        for (int period = 0; period < 26; ++period) {
            SCOPED_TRACE(::testing::Message() << "s " << s << " first " << ymd(first));
            const Date last = BillingPeriod::getLastBillingDayForStartDay(first, s);
            const Date next = DateDay::getNextDateForDayNumber(first, s);
            EXPECT_EQ(dayIndex(next), dayIndex(last) + 1);
            EXPECT_EQ(ymd(BillingPeriod::getFirstBillingDayForDate(last, s)), ymd(first));
            EXPECT_EQ(BillingPeriod::getDayCountInBillingMonth(today, first, s), dayIndex(last) - dayIndex(first) + 1);
            EXPECT_EQ(BillingPeriod::getDayCountInBillingMonth(today, last, s), dayIndex(last) - dayIndex(first) + 1);
            first = next;
        }
    }
}

// Days used and days left around one day add up to the period's length.
TEST_P(BillingPeriodZones, DaysUsedAndLeftSpanThePeriod)
{
    for (int s : {1, 15, 28, 29, 30, 31}) {
        for (int i = 0; i < 460; ++i) {
            const Date day = localDate(2027, 12, 1 + i, 0, 5);  // the day carries over into later months
            SCOPED_TRACE(::testing::Message() << "s " << s << " today " << ymd(day));
            const Date first = BillingPeriod::getFirstBillingDayForDate(day, s);
            const Date last = BillingPeriod::getLastBillingDayForStartDay(first, s);
            EXPECT_EQ(BillingPeriod::daysUsed(day, s), dayIndex(day) - dayIndex(first));
            EXPECT_EQ(BillingPeriod::daysLeft(day, s), dayIndex(last) - dayIndex(day) + 1);
        }
    }
}

}  // namespace
}  // namespace quorvel
