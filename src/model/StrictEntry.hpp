// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// How the command line reads typed numbers: strictly, since a typing error there must change
// nothing (the window's prompts keep their forgiving rule). A plain number is ASCII digits with
// at most one decimal point, '.' or the locale's separator: no sign, exponent, spaces, grouping
// or other characters.
class StrictEntry {
public:
    // A value, or why the text was refused.
    template <class T>
    struct Read {
        std::optional<T> value;
        std::string why;
    };

    static constexpr std::uint64_t kBytesPerMegabyte = 1'000'000;

    // Megabytes to bytes (fractions below a byte are dropped). `positive` refuses 0, for a plan.
    static Read<std::uint64_t> megabytes(std::string_view text, std::string_view localeSeparator, bool positive);
    // A plan start day: a whole number 1 to 31.
    static Read<std::int32_t> startDay(std::string_view text);
    // ASCII digits only (at most six), within [low, high]: a count of days, a pack's number.
    static std::optional<int> wholeNumber(std::string_view text, int low, int high);
};

}  // namespace quorvel
