// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SimQuery.hpp"

#include <algorithm>
#include <cctype>
#include <optional>

namespace quorvel {

namespace {

bool sameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && sameText(text.substr(text.size() - tail.size()), tail);
}

// The one SIM that matches, Ambiguous for several, nullopt for none.
template <class Match>
std::optional<std::variant<SimQuery::Found, SimQuery::Failure>> only(const std::vector<SimRecord>& sims, Match match)
{
    std::optional<std::size_t> hit;
    for (std::size_t i = 0; i < sims.size(); ++i) {
        if (!match(sims[i])) {
            continue;
        }
        if (hit) {
            return SimQuery::Failure::Ambiguous;
        }
        hit = i;
    }
    if (!hit) {
        return std::nullopt;
    }
    return SimQuery::Found{*hit};
}

}  // namespace

std::variant<SimQuery::Found, SimQuery::Failure> SimQuery::resolve(std::string_view word,
                                                                   const std::vector<SimRecord>& sims)
{
    if (word.empty()) {
        return Failure::Unknown;
    }
    // Whole identifiers first: they are unique by nature.
    if (auto r = only(sims, [&](const SimRecord& s) { return sameText(s.iccid(), word) || sameText(s.imsi(), word); })) {
        return *r;
    }
    if (word.size() == 4) {
        if (auto r = only(sims, [&](const SimRecord& s) { return endsWith(s.key(), word); })) {
            return *r;
        }
    }
    if (auto r = only(sims, [&](const SimRecord& s) { return !s.name().empty() && sameText(s.name(), word); })) {
        return *r;
    }
    if (auto r = only(sims, [&](const SimRecord& s) { return sameText(s.displayName(), word); })) {
        return *r;
    }
    return Failure::Unknown;
}

std::string SimQuery::knownList(const std::vector<SimRecord>& sims)
{
    if (sims.empty()) {
        return "no SIM is known";
    }
    std::string text = "known SIMs:";
    for (const SimRecord& s : sims) {
        text += " \"" + s.displayName() + "\" (…" + s.shortKey() + ")";
        if (&s != &sims.back()) {
            text += ",";
        }
    }
    return text;
}

}  // namespace quorvel
