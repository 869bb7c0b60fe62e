// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/KnownSims.hpp"

#include <algorithm>
#include <utility>

#include "engine/CTrafficManager.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/Log.hpp"

namespace quorvel {

namespace {

bool usable(const SimCard& card)
{
    return !card.key().empty() && SimRecord::plausibleIdentifier(card.iccid) &&
           SimRecord::plausibleIdentifier(card.imsi);
}

// One stored SIM: its record's fields and its history, side by side.
struct StoredEntry {
    static constexpr std::string_view kClassName = KnownSims::kClassName;
    const KnownSims::Entry* entry;
    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const
    {
        entry->record.encodeWithCoder(coder);
        coder.encodeObject("History", &entry->history());
        entry->plan->encodeSimPlan(coder);
    }
};

}  // namespace

KnownSims::KnownSims(const Env& env) : env_(&env) {}

KnownSims::~KnownSims() = default;

CTraffics& KnownSims::Entry::history() const
{
    return plan->history();
}

void KnownSims::setOwner(CTrafficManager* owner)
{
    owner_ = owner;
    for (Entry& e : entries_) {
        e.plan->belongTo(*owner_);
    }
}

void KnownSims::adopt(KnownSims&& other)
{
    entries_ = std::move(other.entries_);
    route_ = std::move(other.route_);
    saidNoAnswer_ = other.saidNoAnswer_;
}

bool KnownSims::sameSim(const SimRecord& record, const SimCard& card)
{
    // The ICCID when both have one; a SIM that gave only its IMSI once is the same SIM later.
    if (!record.iccid().empty() && !card.iccid.empty()) {
        return record.iccid() == card.iccid;
    }
    return !record.imsi().empty() && record.imsi() == card.imsi;
}

KnownSims::Entry* KnownSims::findCard(const SimCard& card)
{
    for (Entry& e : entries_) {
        if (sameSim(e.record, card)) {
            return &e;
        }
    }
    return nullptr;
}

const KnownSims::Entry* KnownSims::find(const std::string& key) const
{
    for (const Entry& e : entries_) {
        if (e.record.key() == key) {
            return &e;
        }
    }
    return nullptr;
}

KnownSims::Entry* KnownSims::find(const std::string& key)
{
    return const_cast<Entry*>(std::as_const(*this).find(key));
}

std::optional<std::size_t> KnownSims::indexOf(const std::string& key) const
{
    const Entry* e = find(key);
    return e != nullptr ? std::optional<std::size_t>(static_cast<std::size_t>(e - entries_.data())) : std::nullopt;
}

const KnownSims::Entry* KnownSims::entryOf(const CTrafficManager& plan) const
{
    for (const Entry& e : entries_) {
        if (e.plan.get() == &plan) {
            return &e;
        }
    }
    return nullptr;
}

std::vector<std::string> KnownSims::linksOf(const CTrafficManager& plan) const
{
    std::vector<std::string> links;
    const Entry* entry = entryOf(plan);
    for (const RouteEntry& r : route_.value_or(Route{})) {
        if (entry != nullptr && r.sim == entry->record.key()) {
            links.push_back(r.link);
        }
    }
    return links;
}

std::optional<std::string> KnownSims::activeKey() const
{
    for (const RouteEntry& r : route_.value_or(Route{})) {
        if (!r.sim.empty() && find(r.sim) != nullptr) {
            return r.sim;
        }
    }
    return std::nullopt;
}

void KnownSims::markSetUp(std::size_t index)
{
    QV_REQUIRE(index < entries_.size(), "setting up a SIM needs the index of a known one");
    entries_[index].record.markSetUp();
}

std::vector<SimRecord> KnownSims::records() const
{
    std::vector<SimRecord> out;
    for (const Entry& e : entries_) {
        out.push_back(e.record);
    }
    return out;
}

bool KnownSims::see(const SimCardList& cards, Date when)
{
    bool changed = false;
    for (const SimCard& card : cards) {
        if (!usable(card)) {
            continue;
        }
        Entry* entry = findCard(card);
        if (entry == nullptr) {
            if (entries_.size() >= kMaxSims) {
                continue;  // a modem cycling through fake identities must not grow the state
            }
            QV_REQUIRE(owner_ != nullptr, "new SIMs' plans need the device's manager as owner");
            SimRecord record(card.iccid, card.imsi, card.operatorName);
            std::unique_ptr<CTrafficManager> plan =
                CTrafficManager::forSim(*owner_, std::make_unique<CTraffics>(*env_), record.displayName());
            entries_.push_back({std::move(record), std::move(plan)});
            entry = &entries_.back();
        }
        entry->record.seen(card.operatorName, when);
        changed = true;
    }
    return changed;
}

std::vector<SimRecord> KnownSims::withSeen(const SimCardList& cards, Date when) const
{
    std::vector<SimRecord> out = records();
    for (const SimCard& card : cards) {
        const bool stored = std::any_of(out.begin(), out.end(), [&](const SimRecord& r) { return sameSim(r, card); });
        if (usable(card) && !stored && out.size() < kMaxSims) {
            out.emplace_back(card.iccid, card.imsi, card.operatorName);
            out.back().seen(card.operatorName, when);
        }
    }
    return out;
}

void KnownSims::rename(std::size_t index, std::string name)
{
    QV_REQUIRE(index < entries_.size(), "renaming a SIM needs the index of a known one");
    entries_[index].record.rename(std::move(name));
    entries_[index].plan->setAlertSubject(entries_[index].record.displayName());
}

void KnownSims::forget(std::size_t index)
{
    QV_REQUIRE(index < entries_.size(), "forgetting a SIM needs the index of a known one");
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

KnownSims::Route KnownSims::routeOf(const SimCardList& cards, const std::vector<std::string>& asked)
{
    Route route;
    const auto has = [&](const std::string& link) {
        return std::any_of(route.begin(), route.end(), [&](const RouteEntry& e) { return e.link == link; });
    };
    for (const SimCard& card : cards) {
        if (!card.active || !usable(card)) {
            continue;
        }
        for (const std::string& link : card.interfaces) {
            if (!has(link)) {
                route.push_back({link, card.key()});
            }
        }
    }
    for (const std::string& link : asked) {
        if (!has(link)) {
            route.push_back({link, std::string()});
        }
    }
    return route;
}

bool KnownSims::ask(const std::vector<std::string>& links)
{
    const std::optional<SimCardList> cards = env_->sims != nullptr ? env_->sims->sims() : std::nullopt;
    if (cards) {
        see(*cards, env_->clock.now());
        saidNoAnswer_ = false;
    } else if (!entries_.empty() && !std::exchange(saidNoAnswer_, true)) {
        // Said once while it lasts: no SIM can be told, so no byte is booked to one.
        Log::line("the modem manager does not answer; traffic is counted for This device until it does");
    }
    route_ = routeOf(cards.value_or(SimCardList{}), links);
    if (route_->size() > kMaxRouteLinks) {
        route_->resize(kMaxRouteLinks);  // the SIMs' links come first; a link left out is asked again
    }
    return cards.has_value();
}

void KnownSims::renewRoute()
{
    std::vector<std::string> links;
    for (const RouteEntry& e : route_.value_or(Route{})) {
        links.push_back(e.link);
    }
    ask(links);
    justRenewed_ = true;
}

TrafficRoute::Share KnownSims::take(const TrafficIncrement& increment)
{
    std::vector<std::string> grown;
    for (const CounterGrowth::LinkGrowth& link : increment.links) {
        if (!link.name.empty()) {
            grown.push_back(link.name);
        }
    }
    const auto asked = [&](const std::string& link) {
        return route_ && std::any_of(route_->begin(), route_->end(), [&](const RouteEntry& e) { return e.link == link; });
    };
    // Only where SIMs were seen: a device without a modem loads nothing for a known link set.
    const bool stale = askEachSample_ && !entries_.empty() && !std::exchange(justRenewed_, false);
    if (stale || !std::all_of(grown.begin(), grown.end(), asked)) {
        for (const RouteEntry& e : route_.value_or(Route{})) {
            grown.push_back(e.link);  // the links asked before stay asked
        }
        ask(grown);
    }
    if (!route_) {
        return {};  // only growth no link can be told by (an older file's summed total)
    }
    Share taken;
    for (Entry& entry : entries_) {
        std::uint64_t part = 0;
        for (const CounterGrowth::LinkGrowth& link : increment.links) {
            const bool carried = std::any_of(route_->begin(), route_->end(), [&](const RouteEntry& r) {
                return r.link == link.name && r.sim == entry.record.key();
            });
            part += carried ? link.bytes : 0;
        }
        const Share share = increment.shareOf(part);
        const std::optional<Location> at = owner_ != nullptr ? owner_->pLastLocation() : std::nullopt;
        if (entry.history().bookShare(share, at)) {
            taken += share;
        }
    }
    return taken;
}

void KnownSims::RouteEntry::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeString("Link", link);
    coder.encodeString("Sim", sim);
}

void KnownSims::encodeWithCoder(ArchiveEncoder& coder) const
{
    std::vector<StoredEntry> stored;
    for (const Entry& e : entries_) {
        stored.push_back({&e});
    }
    coder.encodeObjects("pSims", stored);
    if (route_) {
        coder.encodeObjects("pSimRoute", *route_);
    }
    if (saidNoAnswer_) {
        coder.encodeBool("pSimsUnanswered", true);  // said once across processes, until it answers
    }
}

void KnownSims::decode(ArchiveDecoder& coder)
{
    entries_.clear();
    coder.decodeObjects("pSims", [&](ArchiveDecoder& entry) {
        if (entries_.size() >= kMaxSims) {
            entry.fail("pSims", "at most 32 SIMs");
        }
        SimRecord record = std::move(*SimRecord::initWithCoder(entry));
        if (find(record.key()) != nullptr) {
            entry.fail("pSims", "each SIM once");
        }
        std::unique_ptr<CTraffics> history = entry.decodeObject<CTraffics>("History");
        if (!history) {
            entry.fail("History", "the SIM's history");  // always written: without it its days are lost
        }
        QV_REQUIRE(owner_ != nullptr, "decoding the SIMs needs the device's manager as owner");
        const std::string subject = record.displayName();
        std::unique_ptr<CTrafficManager> plan = CTrafficManager::decodeSimPlan(entry, *owner_, std::move(history), subject);
        entries_.push_back({std::move(record), std::move(plan)});
    });
    route_.reset();
    Route route;
    const bool stored = coder.decodeObjects("pSimRoute", [&](ArchiveDecoder& entry) {
        if (route.size() >= kMaxRouteLinks) {
            entry.fail("pSimRoute", "at most 64 links");
        }
        route.push_back({entry.decodeString("Link").value_or(""), entry.decodeString("Sim").value_or("")});
        if (route.back().link.empty()) {
            entry.fail("Link", "a link's name");
        }
    });
    if (stored) {
        route_ = std::move(route);
    }
    saidNoAnswer_ = coder.decodeBool("pSimsUnanswered").value_or(false);
}

}  // namespace quorvel
