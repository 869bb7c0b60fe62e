// SPDX-License-Identifier: GPL-3.0-or-later
// Billing-month arithmetic for plan start days 1 to 31.
#include <gtest/gtest.h>

#include <tuple>

#include "TestEnv.hpp"
#include "model/BillingPeriod.hpp"
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

Date at(Ymd d, int hour, int minute)
{
    return localDate(std::get<0>(d), std::get<1>(d), std::get<2>(d), hour, minute);
}

// Days since 1970-01-01 of the date's calendar day, so that distances ignore clock changes.
long dayIndex(Date date)
{
    auto [y, m, d] = ymd(date);
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

class BillingPeriodZones : public ::testing::TestWithParam<const char*> {
protected:
    ScopedTimeZone zone{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Zones, BillingPeriodZones,
                         ::testing::Values("Europe/Berlin", "America/New_York", "Australia/Lord_Howe",
                                           "Pacific/Kiritimati", "UTC"));

TEST_P(BillingPeriodZones, CountsAroundToday)
{
    const struct {
        Ymd today;
        int s;
        int inPrev, inNext, length, used, left;
    } cases[] = {
        {{2026, 3, 10}, 1, 28, 0, 31, 9, 22},
        {{2026, 4, 3}, 15, 17, 14, 31, 19, 12},  // March 31 days, April 30
        {{2026, 5, 20}, 15, 16, 14, 31, 5, 26},  // June 30 days
        {{2026, 5, 30}, 30, 1, 29, 31, 0, 31},   // the next period starts on 30 June
        {{2026, 5, 5}, 31, 0, 30, 30, 4, 26},    // April too short: the period began on 1 May
        {{2026, 2, 10}, 31, 1, 30, 29, 10, 19},  // 31 January to 28 February
        {{2028, 2, 29}, 29, 3, 28, 29, 0, 29},   // leap day as start day
        {{2026, 12, 31}, 31, 0, 30, 31, 0, 31},  // over the year end
        {{2026, 1, 10}, 15, 17, 14, 31, 26, 5},  // began in December
        {{2026, 3, 1}, 30, 0, 29, 29, 0, 29},    // February too short
        {{2026, 1, 30}, 31, 1, 28, 31, 30, 1},   // last day of the period that began 31 December
    };
    for (const auto& c : cases) {
        const Date today = at(c.today, 0, 20);
        EXPECT_EQ(std::tuple(BillingPeriod::getDaysInPrevMonth(today, c.s), BillingPeriod::getDaysInNextMonth(today, c.s),
                             BillingPeriod::getDayCountInBillingMonth(today, today, c.s),
                             BillingPeriod::daysUsed(today, c.s), BillingPeriod::daysLeft(today, c.s)),
                  std::tuple(c.inPrev, c.inNext, c.length, c.used, c.left))
            << "today " << ::testing::PrintToString(c.today) << " s " << c.s;
    }
}

TEST_P(BillingPeriodZones, FirstAndLastDayOfThePeriodHoldingADate)
{
    const struct {
        Ymd date;
        int s;
        Ymd first, last;
    } cases[] = {
        {{2026, 3, 20}, 15, {2026, 3, 15}, {2026, 4, 14}},  {{2026, 3, 15}, 15, {2026, 3, 15}, {2026, 4, 14}},
        {{2026, 3, 3}, 15, {2026, 2, 15}, {2026, 3, 14}},   {{2026, 1, 10}, 15, {2025, 12, 15}, {2026, 1, 14}},
        {{2026, 12, 20}, 5, {2026, 12, 5}, {2027, 1, 4}},   {{2026, 5, 10}, 31, {2026, 5, 1}, {2026, 5, 30}},
        {{2026, 2, 10}, 31, {2026, 1, 31}, {2026, 2, 28}},  {{2028, 2, 10}, 31, {2028, 1, 31}, {2028, 2, 29}},
        {{2026, 12, 31}, 31, {2026, 12, 31}, {2027, 1, 30}}, {{2026, 3, 1}, 30, {2026, 3, 1}, {2026, 3, 29}},
        {{2026, 7, 17}, 1, {2026, 7, 1}, {2026, 7, 31}},    {{2028, 2, 29}, 1, {2028, 2, 1}, {2028, 2, 29}},
    };
    for (const auto& c : cases) {
        const Date first = BillingPeriod::getFirstBillingDayForDate(at(c.date, 23, 40), c.s);
        EXPECT_EQ(ymd(first), c.first) << "s " << c.s;
        EXPECT_EQ(ymd(BillingPeriod::getLastBillingDayForStartDay(first, c.s)), c.last) << "s " << c.s;
    }
}

// For every start day, consecutive periods over two years tile the calendar: each begins the day
// after the previous one ends; its length, asked on any day, is the number of days from its
// first to its last day; on its first day no day is used and on its last one day is left.
TEST_P(BillingPeriodZones, PeriodsTileTheCalendarForEveryStartDay)
{
    const Date someOtherDay = localDate(2026, 4, 10, 9, 0);
    for (int s = 1; s <= 31; ++s) {
        Date first = BillingPeriod::getFirstBillingDayForDate(localDate(2025, 11, 20, 0, 10), s);
        for (int period = 0; period < 26; ++period) {
            SCOPED_TRACE(::testing::Message() << "s " << s << " first " << ::testing::PrintToString(ymd(first)));
            const Date last = BillingPeriod::getLastBillingDayForStartDay(first, s);
            const Date next = DateDay::getNextDateForDayNumber(first, s);
            const int length = static_cast<int>(dayIndex(last) - dayIndex(first) + 1);
            EXPECT_EQ(dayIndex(next), dayIndex(last) + 1);
            EXPECT_EQ(ymd(BillingPeriod::getFirstBillingDayForDate(last, s)), ymd(first));
            EXPECT_EQ(BillingPeriod::getDayCountInBillingMonth(someOtherDay, first, s), length);
            EXPECT_EQ(BillingPeriod::getDayCountInBillingMonth(someOtherDay, last, s), length);
            EXPECT_EQ(std::tuple(BillingPeriod::daysUsed(first, s), BillingPeriod::daysLeft(first, s)),
                      std::tuple(0, length));
            EXPECT_EQ(std::tuple(BillingPeriod::daysUsed(last, s), BillingPeriod::daysLeft(last, s)),
                      std::tuple(length - 1, 1));
            first = next;
        }
    }
}

}  // namespace
}  // namespace quorvel
