// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvel {

// How the settings read what was typed into the value prompts. Absent means the prompt asks
// again; nothing invalid reaches the model.
class PrefEntries {
public:
    // Nothing typed (or only blanks): the prompt's placeholder shows the current value, so an
    // Apply without text keeps it rather than reading as 0 or the 1st.
    static bool keepsCurrentValue(std::string_view text);
    // Megabytes to bytes; absent for 0, negative, letters, empty and amounts beyond 64 bits.
    static std::optional<std::uint64_t> plan(std::string_view text);
    // A day of 1..31; an empty entry means the 1st, letters and other days are refused.
    static std::optional<std::int32_t> startDay(std::string_view text);
    // Megabytes to bytes; letters and empty count as 0, negative amounts as 0. Absent only when
    // the amount does not fit in 64 bits.
    static std::optional<std::uint64_t> used(std::string_view text);
};

}  // namespace quorvel
