// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AlertWords.hpp"

#include <optional>
#include <string_view>
#include <vector>

#include "platform/Translation.hpp"

namespace quorvel {

namespace {

// The English patterns of the composed alerts, each "%s" one figure or text. They must match what
// the limits, the dispatcher and the plan actions write.
/* xgettext:no-c-format */
constexpr const char* kPatterns[] = {
    N_("You exceeded your day plan limit. %s today used."),
    /* xgettext:no-c-format */
    N_("You used %s% of your month plan. %s left for this month."),
    /* xgettext:no-c-format */
    N_("You've exceeded your month data plan for %s%. Used %s of %s."),
    N_("The plan of %s is used up. Mobile data stays off until you turn it back on."),
    N_("The plan of %s is used up, but mobile data could not be turned off: %s"),
    N_("%s used while roaming today."),
};

// The texts the pattern's "%s" stand for in `text`, or none when the text is not of the pattern.
std::optional<std::vector<std::string>> valuesOf(std::string_view pattern, std::string_view text)
{
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t next = pattern.find("%s", at);
        parts.push_back(pattern.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at));
        if (next == std::string_view::npos) {
            break;
        }
        at = next + 2;
    }
    if (!text.starts_with(parts.front()) || !text.ends_with(parts.back()) ||
        text.size() < parts.front().size() + parts.back().size()) {
        return std::nullopt;
    }
    std::vector<std::string> values;
    std::size_t at = parts.front().size();
    const std::size_t end = text.size() - parts.back().size();
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
        const std::size_t found = text.find(parts[i], at);
        if (found == std::string_view::npos || found > end) {
            return std::nullopt;
        }
        values.emplace_back(text.substr(at, found - at));
        at = found + parts[i].size();
    }
    if (at > end) {
        return std::nullopt;
    }
    values.emplace_back(text.substr(at, end - at));
    return values;
}

}  // namespace

std::string AlertWords::translated(const std::string& english)
{
    // A SIM's alert carries its name after a dash: the title before it is translated.
    constexpr std::string_view kDash = " \u2014 ";
    if (const std::size_t dash = english.rfind(kDash); dash != std::string::npos) {
        return translated(english.substr(0, dash)) + english.substr(dash);
    }
    for (const char* pattern : kPatterns) {
        if (const auto values = valuesOf(pattern, english)) {
            return Translation::fill(Translation::tr(pattern), *values);
        }
    }
    return Translation::tr(english);
}

}  // namespace quorvel
