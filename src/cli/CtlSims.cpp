// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlSims.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>
#include <variant>

#include "cli/CtlProblem.hpp"
#include "engine/CAppController.hpp"
#include "engine/CTrafficManager.hpp"
#include "model/FileSize.hpp"
#include "model/LocalDay.hpp"
#include "model/SimQuery.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

bool isActive(const SimRecord& sim, const SimCardList& now)
{
    for (const SimCard& card : now) {
        if (card.active && card.key() == sim.key()) {
            return true;
        }
    }
    return false;
}

std::string lastSeenText(const SimRecord& sim)
{
    return sim.lastSeen() ? LocalDay::of(*sim.lastSeen()).text() : std::string(_("never"));
}

}  // namespace

int CtlSims::run(const CtlArguments& a, SimCardDirectory& modems, std::ostream& out, std::ostream& err,
                 const StartApp& start)
{
    CAppController& app = start();
    const SimCardList now = modems.sims().value_or(SimCardList{});
    const Date when = app.env().clock.now();
    const std::string forget = a.value("--forget").value_or("");
    const std::string rename = a.value("--name").value_or("");
    const std::string takeOverId = a.value("--take-over").value_or("");
    if (!a.has("--forget") && !a.has("--name") && !a.has("--take-over")) {
        // Listing records what it saw, so that "last seen" stays true for SIMs no longer in.
        app.withStateLock([&](CTrafficManager& m) { m.knownSims().see(now, when); });
        const KnownSims& stored = app.pmodule()->knownSims();
        list(stored, stored.records(), now, a.has("--json"), out);
        return 0;
    }
    const std::vector<SimRecord> known = app.pmodule()->knownSims().withSeen(now, when);
    const std::string word = a.has("--forget") ? forget : a.has("--name") ? rename : takeOverId;
    const std::optional<std::size_t> index = resolve(word, known, err);
    if (!index) {
        return 1;
    }
    if (a.has("--take-over")) {
        return takeOver(known[*index], app, now, out, err);
    }
    if (a.has("--name") && !SimRecord::validName(a.words[0])) {
        CtlProblem::say(err, Translation::fill(_("invalid name: one line of at most %s bytes; nothing was changed"),
                                               {std::to_string(SimRecord::kMaxNameLength)}));
        return 1;
    }
    const SimRecord chosen = known[*index];
    app.withStateLock([&](CTrafficManager& m) {
        KnownSims& sims = m.knownSims();
        sims.see(now, when);
        const std::optional<std::size_t> i = sims.indexOf(chosen.key());
        if (i && a.has("--forget")) {
            sims.forget(*i);
        } else if (i) {
            sims.rename(*i, a.words[0]);
        }
    });
    if (a.has("--forget")) {
        out << Translation::fill(_("Forgot the SIM \"%s\"."), {chosen.displayName()}) << "\n";
    } else {
        out << Translation::fill(_("The SIM …%s is now called \"%s\"."),
                                 {chosen.shortKey(), app.pmodule()->knownSims().find(chosen.key())->record.displayName()})
            << "\n";
    }
    return 0;
}

int CtlSims::takeOver(const SimRecord& chosen, CAppController& app, const SimCardList& now, std::ostream& out,
                      std::ostream& err)
{
    if (chosen.setUp()) {
        CtlProblem::say(
            err, Translation::fill(
                     _("the SIM \"%s\" has a plan of its own, which taking over would replace; nothing was changed"),
                     {chosen.displayName()}));
        return 1;
    }
    if (app.isFirstStart()) {
        CtlProblem::say(err, Translation::fill(_("This device has no plan to hand over yet; set up the SIM instead "
                                                 "with quorvelctl --sim %s setup; nothing was changed"),
                                               {chosen.shortKey()}));
        return 1;
    }
    if (app.pmodule()->knownSims().find(chosen.key()) == nullptr) {  // reported now, never stored
        app.withStateLock([&](CTrafficManager& m) { m.knownSims().see(now, app.env().clock.now()); });
    }
    if (!app.takeOverBy(chosen.key())) {
        CtlProblem::say(err, Translation::fill(_("the SIM \"%s\" got a plan meanwhile; nothing was changed"),
                                               {chosen.displayName()}));
        return 1;
    }
    out << Translation::fill(_("The SIM \"%s\" now has the plan and the history of This device, which starts afresh."),
                             {chosen.displayName()})
        << "\n";
    return 0;
}

std::optional<std::size_t> CtlSims::resolve(const std::string& word, const std::vector<SimRecord>& known,
                                            std::ostream& err)
{
    const auto found = SimQuery::resolve(word, known);
    if (const auto* hit = std::get_if<SimQuery::Found>(&found)) {
        return hit->index;
    }
    const bool ambiguous = std::get<SimQuery::Failure>(found) == SimQuery::Failure::Ambiguous;
    CtlProblem::say(
        err, Translation::fill(ambiguous ? _("more than one SIM is called '%s'; %s") : _("no SIM is known as '%s'; %s"),
                               {word, SimQuery::knownList(known)}));
    return std::nullopt;
}

void CtlSims::sayWhichAreNotSetUp(const KnownSims& sims, std::ostream& err)
{
    const bool anySetUp =
        std::any_of(sims.entries().begin(), sims.entries().end(), [](const auto& e) { return e.record.setUp(); });
    for (const KnownSims::Entry& e : sims.entries()) {
        const std::uint64_t counted = e.history().countedBytes();
        if (!e.record.setUp() && counted > 0) {
            CtlProblem::say(
                err, Translation::fill(_("the SIM \"%s\" is not set up; its %s are counted for it, not for this plan"),
                                       {e.record.displayName(), FileSize::formatMemoryStringDot1(counted)}));
        }
    }
    if (!anySetUp && !sims.entries().empty()) {
        // Never taken over silently: the user says whether the plan so far was this SIM's.
        const SimRecord& first = sims.entries().front().record;
        const std::string word = SimQuery::wordFor(0, sims.records());
        CtlProblem::say(err, Translation::fill(
                                 _("Is this the SIM of your current plan? The SIM \"%s\" (…%s): if so, quorvelctl sims "
                                   "--take-over %s; if not, quorvelctl --sim %s setup --plan MB --start-day DAY"),
                                 {first.displayName(), first.shortKey(), word, word}));
    }
}

void CtlSims::list(const KnownSims& stored, const std::vector<SimRecord>& known, const SimCardList& now, bool json,
                   std::ostream& out)
{
    // A SIM set up reports its plan's period; one that is not, everything counted for it.
    const auto used = [&](const SimRecord& s) -> std::uint64_t {
        const KnownSims::Entry* e = stored.find(s.key());
        if (e == nullptr) {
            return 0;
        }
        return e->record.setUp() ? e->plan->getDataUsed() : e->history().countedBytes();
    };
    const auto plan = [&](const SimRecord& s) -> std::optional<std::uint64_t> {
        const KnownSims::Entry* e = stored.find(s.key());
        return e != nullptr && e->record.setUp() ? std::optional<std::uint64_t>(e->plan->getMonthPlan()) : std::nullopt;
    };
    if (json) {
        nlohmann::ordered_json sims = nlohmann::ordered_json::array();
        for (const SimRecord& s : known) {
            sims.push_back({{"id", s.key()},
                            {"name", s.displayName()},
                            {"operator", s.operatorName()},
                            {"active", isActive(s, now)},
                            {"last_seen", s.lastSeen() ? nlohmann::ordered_json(LocalDay::of(*s.lastSeen()).text())
                                                       : nlohmann::ordered_json(nullptr)},
                            {"set_up", s.setUp()},
                            {"plan", plan(s) ? nlohmann::ordered_json(*plan(s)) : nlohmann::ordered_json(nullptr)},
                            {"used", used(s)}});
        }
        out << nlohmann::ordered_json{{"sims", sims}}.dump(2) << "\n";
        return;
    }
    if (known.empty()) {
        out << _("No SIM is known. Traffic is counted for This device.") << "\n";
        return;
    }
    for (const SimRecord& s : known) {
        out << (isActive(s, now) ? "* " : "  ") << s.displayName() << "  …" << s.shortKey();
        if (!s.operatorName().empty() && s.operatorName() != s.displayName()) {
            out << "  " << s.operatorName();
        }
        out << "  " << Translation::fill(_("last seen %s"), {lastSeenText(s)}) << "  ";
        if (const std::optional<std::uint64_t> p = plan(s)) {
            out << Translation::fill(_("%s of %s used"),
                                     {FileSize::formatMemoryStringDot1(used(s)), FileSize::formatMemoryStringDot1(*p)})
                << "\n";
        } else {
            out << Translation::fill(_("%s counted  not set up"), {FileSize::formatMemoryStringDot1(used(s))}) << "\n";
        }
    }
}

}  // namespace quorvel
