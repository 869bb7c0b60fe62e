// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <compare>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Date.hpp"

namespace quorvel {

// A calendar day as the user lives it, without a time of day: what plan periods and data packs
// are made of. Arithmetic counts whole days, so a daylight-saving change cannot move a period.
class LocalDay {
public:
    // Only days that exist: the caller checks with `valid` or builds through `parse`/`of`.
    LocalDay(int year, int month, int day);
    static bool valid(int year, int month, int day);
    // The local calendar day of an instant.
    static LocalDay of(Date date);
    // "YYYY-MM-DD" naming a day that exists; anything else is refused.
    static std::optional<LocalDay> parse(std::string_view text);
    // Days since 1970-01-01 (negative before it), and back.
    static LocalDay fromDays(long days);
    long days() const;

    int year() const { return year_; }
    int month() const { return month_; }
    int day() const { return day_; }
    // YYYYMMDD, the day key the alert history and the cut-off store.
    int key() const { return year_ * 10000 + month_ * 100 + day_; }
    static std::optional<LocalDay> fromKey(long key);
    std::string text() const;  // "YYYY-MM-DD"
    LocalDay plusDays(long n) const { return fromDays(days() + n); }
    // Whole days from this day to `other` (negative when other is earlier).
    long daysUntil(LocalDay other) const { return other.days() - days(); }
    // Local noon of the day: an instant that lies in it whatever the daylight-saving rules.
    Date noon() const;

    friend auto operator<=>(const LocalDay& a, const LocalDay& b) { return a.key() <=> b.key(); }
    friend bool operator==(const LocalDay& a, const LocalDay& b) { return a.key() == b.key(); }

private:
    int year_;
    int month_;
    int day_;
};

}  // namespace quorvel
