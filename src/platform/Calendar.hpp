// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>

#include "platform/Date.hpp"

namespace quorvel {

// Gregorian calendar components of an instant in the local time zone.
struct DateComponents {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend constexpr bool operator==(const DateComponents&, const DateComponents&) = default;
};

// The one place where instants are decomposed and built, in the process's local time zone
// (TZ honoured). Everything calendar-shaped in the model goes through here.
class Calendar {
public:
    static DateComponents components(Date date);
    // Builds the instant for the components; out-of-range fields carry over as in mktime.
    // Absent when the result is not representable.
    static std::optional<Date> date(const DateComponents& c);
    // Number of days in the month of the date (28..31).
    static int daysInMonth(Date date);
    static int daysInMonth(int year, int month);
    // Re-reads TZ; call after changing it at run time.
    static void timeZoneChanged();
};

}  // namespace quorvel
