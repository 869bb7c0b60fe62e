#include "platform/Calendar.hpp"

#include <ctime>
#include <limits>
#include <tuple>

namespace quorvel {

DateComponents Calendar::components(Date date)
{
    std::time_t t = static_cast<std::time_t>(date.seconds);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        return DateComponents{1970, 1, 1, 0, 0, 0};  // beyond the years a tm can hold
    }
    return DateComponents{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::optional<Date> Calendar::date(const DateComponents& c)
{
    constexpr int kMaxYear = 1'000'000;
    if (c.year < -kMaxYear || c.year > kMaxYear) {
        return std::nullopt;
    }
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = c.hour;
    tm.tm_min = c.minute;
    tm.tm_sec = c.second;
    tm.tm_isdst = -1;  // let the zone decide; a wall time skipped by a DST change moves forward
    std::tm wanted = tm;
    timegm(&wanted);  // the calendar day asked for, carried over without any zone
    std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1) && !(tm.tm_year == 69 && tm.tm_mon == 11 && tm.tm_mday == 31)) {
        return std::nullopt;
    }
    // A zone that skipped a whole day lands mktime on the day before; the first instant of the
    // next existing day is the honest answer.
    for (int i = 0; i < 2 && std::tie(tm.tm_year, tm.tm_yday) < std::tie(wanted.tm_year, wanted.tm_yday); ++i) {
        t += 86400;
        localtime_r(&t, &tm);
    }
    return Date{static_cast<std::int64_t>(t)};
}

int Calendar::daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

int Calendar::daysInMonth(Date date)
{
    const DateComponents c = components(date);
    return daysInMonth(c.year, c.month);
}

void Calendar::timeZoneChanged()
{
    tzset();
}

}  // namespace quorvel
