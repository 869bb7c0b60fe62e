// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvel {

// How the set-up entries are read, shared by the window's prompts and the command line.
// Entries are decimal numbers of the current locale; plan and used data are typed in
// megabytes of 1,000,000 bytes.
class SetupRules {
public:
    static constexpr std::int64_t kBytesPerMegabyte = 1'000'000;

    // The plan in bytes; absent when the entry is not a positive plan (0, negative, letters,
    // empty) or too large to hold in bytes.
    static std::optional<std::uint64_t> planFromEntry(std::string_view text);
    // The start day; absent outside 1..31. Letters alone count as day 1, an empty entry as 0.
    static std::optional<std::int32_t> startDayFromEntry(std::string_view text);
    // The data already used, in bytes; letters, empty and negative entries count as 0. Absent
    // only when the amount is too large to hold in bytes.
    static std::optional<std::uint64_t> usedFromEntry(std::string_view text);
};

}  // namespace quorvel
