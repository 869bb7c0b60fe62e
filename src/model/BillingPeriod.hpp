// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/Date.hpp"

namespace quorvel {

// Billing-month arithmetic for a plan start day s (1..31): pure functions of the dates given.
// The counts of days in the neighbouring calendar months are taken around `today`, except for
// the length of a billing month, which depends only on the date it is asked for.
class BillingPeriod {
public:
    // Days of the current billing month that lie in the calendar month before today's.
    static int getDaysInPrevMonth(Date today, int s);
    // Days of the billing month that lie in the calendar month after today's.
    static int getDaysInNextMonth(Date today, int s);
    // Length in days of the billing month containing `date` (`today` plays no part).
    static int getDayCountInBillingMonth(Date today, Date date, int s);
    static Date getFirstBillingDayForDate(Date date, int s);
    static Date getLastBillingDayForStartDay(Date date, int s);
    // Whole days of the billing month before today.
    static std::int32_t daysUsed(Date today, int s);
    // Days from today to the end of the billing month, today included; at least 1.
    static std::int32_t daysLeft(Date today, int s);
};

}  // namespace quorvel
