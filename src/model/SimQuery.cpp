// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SimQuery.hpp"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/Assert.hpp"
#include "platform/Translation.hpp"

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

std::string SimQuery::wordFor(std::size_t index, const std::vector<SimRecord>& sims)
{
    QV_REQUIRE(index < sims.size(), "a word is for one of the SIMs given");
    const auto names = [&](const std::string& word) {
        const auto found = resolve(word, sims);
        const auto* hit = std::get_if<Found>(&found);
        return hit != nullptr && hit->index == index;
    };
    const SimRecord& sim = sims[index];
    if (names(sim.shortKey())) {
        return sim.shortKey();
    }
    const std::string name = sim.displayName();
    if (!name.empty() && names(name) && name.find('\'') == std::string::npos) {
        return name.find_first_of(" \t\"$`\\!*?[]()&;|<>~#") == std::string::npos ? name : "'" + name + "'";
    }
    return sim.key();
}

bool SimQuery::namesThisDevice(std::string_view word, const std::vector<SimRecord>& sims)
{
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return (lower == "device" || lower == "this device") && std::holds_alternative<Failure>(resolve(word, sims));
}

std::string SimQuery::knownList(const std::vector<SimRecord>& sims)
{
    if (sims.empty()) {
        return _("no SIM is known");
    }
    std::string list;
    for (const SimRecord& s : sims) {
        list += (list.empty() ? "\"" : ", \"") + s.displayName() + "\" (…" + s.shortKey() + ")";
    }
    return Translation::fill(_("known SIMs: %s"), {list});
}

}  // namespace quorvel
