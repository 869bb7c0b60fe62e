// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/PrefEntries.hpp"

#include "model/SetupRules.hpp"
#include "platform/NumberFormat.hpp"

namespace quorvel {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\n") - first + 1);
}

}  // namespace

bool PrefEntries::keepsCurrentValue(std::string_view text)
{
    return trimmed(text).empty();
}

std::optional<std::uint64_t> PrefEntries::plan(std::string_view text)
{
    return SetupRules::planFromEntry(trimmed(text));
}

std::optional<std::int32_t> PrefEntries::startDay(std::string_view text)
{
    const std::string_view entry = trimmed(text);
    if (entry.empty()) {
        return 1;
    }
    // The set-up reads letters as the 1st; here an unreadable day is asked again instead.
    if (!NumberFormat::parseDecimal(entry)) {
        return std::nullopt;
    }
    return SetupRules::startDayFromEntry(entry);
}

std::optional<std::uint64_t> PrefEntries::used(std::string_view text)
{
    return SetupRules::usedFromEntry(trimmed(text));
}

}  // namespace quorvel
