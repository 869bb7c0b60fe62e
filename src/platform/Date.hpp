// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <compare>
#include <cstdint>

namespace quorvel {

// An absolute instant, whole seconds since the Unix epoch. Calendar meaning comes only from
// Calendar, which decomposes it in the process's local time zone.
struct Date {
    std::int64_t seconds = 0;

    friend constexpr auto operator<=>(const Date&, const Date&) = default;
    constexpr Date plusSeconds(std::int64_t s) const { return Date{seconds + s}; }
};

}  // namespace quorvel
