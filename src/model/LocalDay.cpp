// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/LocalDay.hpp"

#include <charconv>
#include <chrono>
#include <cstdio>

#include "platform/Assert.hpp"
#include "platform/Calendar.hpp"

namespace quorvel {

namespace {

std::chrono::year_month_day civil(int y, int m, int d)
{
    return std::chrono::year_month_day{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                                       std::chrono::day{static_cast<unsigned>(d)}};
}

bool digitsAt(std::string_view text, std::size_t from, std::size_t count, int* out)
{
    const char* first = text.data() + from;
    const char* last = first + count;
    for (const char* c = first; c != last; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
    }
    return std::from_chars(first, last, *out).ec == std::errc{};
}

}  // namespace

LocalDay::LocalDay(int year, int month, int day) : year_(year), month_(month), day_(day)
{
    QV_REQUIRE(valid(year, month, day), "a calendar day must exist: check it with LocalDay::valid or parse it");
}

bool LocalDay::valid(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
           civil(year, month, day).ok();
}

LocalDay LocalDay::of(Date date)
{
    const DateComponents c = Calendar::components(date);
    return LocalDay(c.year, c.month, c.day);
}

std::optional<LocalDay> LocalDay::parse(std::string_view text)
{
    int y = 0;
    int m = 0;
    int d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !digitsAt(text, 0, 4, &y) ||
        !digitsAt(text, 5, 2, &m) || !digitsAt(text, 8, 2, &d) || !valid(y, m, d)) {
        return std::nullopt;
    }
    return LocalDay(y, m, d);
}

std::optional<LocalDay> LocalDay::fromKey(long key)
{
    const auto y = static_cast<int>(key / 10000);
    const auto m = static_cast<int>(key / 100 % 100);
    const auto d = static_cast<int>(key % 100);
    return key > 0 && valid(y, m, d) ? std::optional<LocalDay>(LocalDay(y, m, d)) : std::nullopt;
}

LocalDay LocalDay::fromDays(long days)
{
    const std::chrono::year_month_day ymd{std::chrono::sys_days{std::chrono::days{days}}};
    return LocalDay(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                    static_cast<int>(static_cast<unsigned>(ymd.day())));
}

long LocalDay::days() const
{
    return static_cast<long>(std::chrono::sys_days{civil(year_, month_, day_)}.time_since_epoch().count());
}

std::string LocalDay::text() const
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year_, month_, day_);
    return buf;
}

Date LocalDay::noon() const
{
    const std::optional<Date> d = Calendar::date({year_, month_, day_, 12, 0, 0});
    QV_REQUIRE(d.has_value(), "a day between the years 1 and 9999 has a local noon");
    return *d;
}

}  // namespace quorvel
