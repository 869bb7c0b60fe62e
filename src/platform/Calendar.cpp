// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Calendar.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <ctime>
#include <limits>

namespace quorvel {

namespace {

// Bumped whenever the time zone is re-read, so that no thread keeps a decomposition of the old one.
std::atomic<unsigned> zoneGeneration{1};

DateComponents decompose(Date date)
{
    std::time_t t = static_cast<std::time_t>(date.seconds);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        return DateComponents{1970, 1, 1, 0, 0, 0};  // beyond the years a tm can hold
    }
    return DateComponents{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace

DateComponents Calendar::components(Date date)
{
    // The same few instants (a day record's noon, a period's bounds) are decomposed again and
    // again in one update, and each time the zone's transitions are searched: the last ones are
    // kept, per thread, exactly as they came.
    struct Slot {
        unsigned generation = 0;
        std::int64_t seconds = 0;
        DateComponents components{};
    };
    thread_local std::array<Slot, 64> slots{};
    // Days' noons lie 86400 s apart, a multiple of 64: the slot comes from a multiplicative hash.
    Slot& slot = slots[(static_cast<std::uint64_t>(date.seconds) * 0x9E3779B97F4A7C15ull) >> 58];
    const unsigned generation = zoneGeneration.load(std::memory_order_relaxed);
    if (slot.generation != generation || slot.seconds != date.seconds) {
        slot = Slot{generation, date.seconds, decompose(date)};
    }
    return slot.components;
}

namespace {

// Seconds east of UTC in the local zone at an instant.
long offsetAt(std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm.tm_gmtoff;
}

}  // namespace

std::optional<Date> Calendar::date(const DateComponents& c)
{
    constexpr int kMaxYear = 1'000'000;
    if (c.year < -kMaxYear || c.year > kMaxYear) {
        return std::nullopt;
    }
    // The wall time read as UTC, with out-of-range fields carried over. The local instant is
    // found through localtime_r's offsets rather than mktime, which re-reads the zone file on
    // every call when TZ is unset.
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = c.hour;
    tm.tm_min = c.minute;
    tm.tm_sec = c.second;
    const std::time_t wall = timegm(&tm);
    const std::time_t first = wall - offsetAt(wall);
    const std::time_t second = wall - offsetAt(first);
    if (second == first || second + offsetAt(second) == wall) {
        return Date{static_cast<std::int64_t>(second)};
    }
    const std::time_t third = wall - offsetAt(second);
    if (third + offsetAt(third) == wall) {
        return Date{static_cast<std::int64_t>(third)};
    }
    // The wall time does not exist (a daylight-saving gap, or a day the zone skipped): the
    // later candidate reads past it, which moves the time forward as a clock does.
    return Date{static_cast<std::int64_t>(std::max(first, second))};
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
    zoneGeneration.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace quorvel
