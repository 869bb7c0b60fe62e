// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CTrafficObtainer.hpp"

#include <utility>

#include <algorithm>

#include "model/Messages.hpp"
#include "model/CounterGrowth.hpp"
#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/BootIdentity.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/Log.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/Calendar.hpp"
#include "platform/RoamingSource.hpp"
#include "platform/Uptime.hpp"

namespace quorvel {

namespace {

// The archived shape of one of the user's choices.
struct ChoiceEntry {
    const std::pair<const std::string, bool>* choice;
    std::string_view className() const { return "InterfaceChoice"; }
    void encodeWithCoder(ArchiveEncoder& coder) const
    {
        coder.encodeString("Name", choice->first);
        coder.encodeBool("Count", choice->second);
    }
};

}  // namespace

CTrafficObtainer::CTrafficObtainer(const Env& env, std::optional<Date> date, std::int64_t startSize, double sWTime)
    : prevShotDate_(date ? *date : env.clock.now()), prevTrafficSize_(startSize), sysWorkTime_(sWTime), env_(&env)
{
}

std::vector<CountingDecision> CTrafficObtainer::countingDecisions(const std::vector<InterfaceCounters>& links)
{
    return InterfaceSelection::decide(links, choices_, networkManager_.devicesFor(links, env_->networkDevices));
}

std::int64_t CTrafficObtainer::obtainAllTraffic()
{
    const auto links = env_->counters.read();
    if (!links) {
        return 0;
    }
    return static_cast<std::int64_t>(CounterGrowth::countedTotal(*links, countingDecisions(*links)));
}

bool CTrafficObtainer::isSameBoot(double uptime, const std::optional<std::string>& boot) const
{
    // The uptime judges a restart only where a boot identity is missing: it can be above the
    // stored one on a new boot too.
    return bootId_ && boot ? *bootId_ == *boot : uptime >= sysWorkTime_.value_or(0.0);
}

std::vector<CounterGrowth::LinkGrowth> CTrafficObtainer::grownSinceLastSample(
    const std::vector<InterfaceCounters>& links, const std::vector<CountingDecision>& decisions, double uptime,
    const std::optional<std::string>& boot) const
{
    const bool sameBoot = isSameBoot(uptime, boot);
    if (baselines_) {
        return CounterGrowth::bookedByLink(*baselines_, links, decisions, sameBoot);
    }
    const std::int64_t summed = prevTrafficSize_.value_or(0);
    if (summed == kNoBaseline) {
        return {};
    }
    // An older file's summed total tells no link apart: the growth belongs to none of them.
    const std::uint64_t grown =
        CounterGrowth::bookedSinceSummedTotal(summed, links, decisions, uptime >= sysWorkTime_.value_or(0.0));
    if (grown == 0) {
        return {};
    }
    return {{std::string(), grown}};
}

void CTrafficObtainer::takeBaselines(const std::vector<InterfaceCounters>& links,
                                     const std::vector<CountingDecision>& decisions, double uptime,
                                     std::optional<std::string> boot)
{
    baselines_ = CounterGrowth::baselinesOf(links, baselines_.value_or(std::vector<InterfaceBaseline>{}),
                                           isSameBoot(uptime, boot), &decisions);
    prevTrafficSize_ = static_cast<std::int64_t>(CounterGrowth::countedTotal(links, decisions));
    sysWorkTime_ = uptime;
    bootId_ = std::move(boot);
}

TrafficIncrement CTrafficObtainer::getTrafficIncrementPoint(CTrafficPoint* latest, bool plausibleClock)
{
    const Date now = env_->clock.now();
    const bool atFreeEdge = std::exchange(atFreeEdge_, false);
    const bool newDay = latest == nullptr || DateDay::isNewDay(latest->pDate(), now);
    using Kind = TrafficIncrement::Kind;
    const TrafficIncrement unchanged{latest != nullptr ? Kind::SameRecord : Kind::Nothing, {}, 0, 0, 0, {}};
    const auto links = env_->counters.read();
    if (!links) {
        return unchanged;  // the baselines stay: the next readable sample books what grew meanwhile
    }
    const double uptime = env_->uptime.uptime();
    std::optional<std::string> boot = env_->boot.bootId();
    const std::optional<std::uint64_t> linksBefore = networkManager_.linksDigest;
    const std::vector<CountingDecision> decisions = countingDecisions(*links);
    if (networkManager_.linksDigest != linksBefore) {
        newLinkSet_.emplace();
        for (std::size_t i = 0; i < links->size(); ++i) {
            if (decisions[i].counted) {
                newLinkSet_->push_back((*links)[i].name);
            }
        }
    }
    std::vector<CounterGrowth::LinkGrowth> byLink = grownSinceLastSample(*links, decisions, uptime, boot);
    std::uint64_t grown = 0;
    for (const CounterGrowth::LinkGrowth& g : byLink) {
        grown += g.bytes;
    }
    // Where a boot identity tells the boots apart, the uptime judges nothing: an idle sample
    // keeps the stored one, so that a sample booking nothing leaves the state as it is on disk.
    const bool keepUptime = grown == 0 && boot && boot == bootId_;
    const std::optional<double> storedUptime = sysWorkTime_;
    takeBaselines(*links, decisions, uptime, std::move(boot));
    if (keepUptime) {
        sysWorkTime_ = storedUptime;
    }
    // Asked at every readable sample, so that the answer covers exactly the interval booked now.
    const bool roaming = env_->roaming != nullptr && env_->roaming->roamingSinceLastAsked();
    if (!plausibleClock) {
        // The counters are taken (nothing is counted twice), but the bytes wait for a clock
        // that can tell their day: booked under 1970 they would land in a month trimmed at once.
        heldTraffic_ += grown;
        heldRoaming_ += roaming ? grown : 0;
        return unchanged;
    }
    const std::uint64_t delta = grown + heldTraffic_;
    const std::uint64_t roamingShare = (roaming ? grown : 0) + heldRoaming_;
    heldTraffic_ = 0;
    heldRoaming_ = 0;
    if (delta == 0) {
        return unchanged;
    }
    prevShotDate_ = now;
    // A sample's whole interval is free or not by the time it is taken; the resident sampler
    // samples at the window's edges, so that its split is exact.
    const std::uint64_t free = inFreeHours(atFreeEdge ? now.plusSeconds(-kFreeEdgeLagSeconds) : now) ? delta : 0;

    TrafficIncrement result;
    if (newDay) {
        result = TrafficIncrement{Kind::NewRecord, CTrafficPoint::trafficPointWithDate(now), delta, roamingShare, free, {}};
        result.point.addTraffic(delta, roamingShare, free);
    } else {
        latest->addTraffic(delta, roamingShare, free);
        result = TrafficIncrement{Kind::SameRecord, {}, delta, roamingShare, free, {}};
    }
    result.links = std::move(byLink);
    dataUsageChanged();
    return result;
}

bool CTrafficObtainer::inFreeHours(Date now) const
{
    if (!freeHours_) {
        return false;
    }
    const DateComponents c = Calendar::components(now);
    return freeHours_->contains(c.hour * 60 + c.minute);
}

void CTrafficObtainer::resetObtainerCounter()
{
    const auto links = env_->counters.read();
    if (!links) {
        return;
    }
    takeBaselines(*links, countingDecisions(*links), env_->uptime.uptime(), env_->boot.bootId());
}

void CTrafficObtainer::setInterfaceChoice(const std::string& name, std::optional<bool> count)
{
    if (count) {
        choices_.byName[name] = *count;
    } else {
        choices_.byName.erase(name);
    }
}

bool CTrafficObtainer::resetInterfaceCounter(const std::string& name)
{
    const auto links = env_->counters.read();
    if (!links) {
        return false;
    }
    const auto link = std::find_if(links->begin(), links->end(), [&](const auto& l) { return l.name == name; });
    if (link == links->end()) {
        return false;
    }
    if (!baselines_) {
        // Before the first sample of this kind every interface is measured from now on.
        resetObtainerCounter();
        return true;
    }
    std::erase_if(*baselines_, [&](const InterfaceBaseline& b) { return b.name == name || b.index == link->index; });
    baselines_->push_back({link->name, link->index, link->rxBytes, link->txBytes});
    return true;
}

void CTrafficObtainer::baselineNewlyCounted()
{
    const auto links = env_->counters.read();
    if (!links || !baselines_) {
        return;  // before the first sample of this kind the next sample takes them all
    }
    const std::vector<CountingDecision> decisions = countingDecisions(*links);
    for (std::size_t i = 0; i < links->size(); ++i) {
        const InterfaceCounters& link = (*links)[i];
        const auto same = [&](const InterfaceBaseline& b) { return b.index == link.index && b.name == link.name; };
        const auto known = std::find_if(baselines_->begin(), baselines_->end(), same);
        if (decisions[i].counted && (known == baselines_->end() || !known->measured)) {
            std::erase_if(*baselines_, same);
            baselines_->push_back({link.name, link.index, link.rxBytes, link.txBytes});
        }
    }
}

std::vector<std::string> CTrafficObtainer::countedInterfaces()
{
    std::vector<std::string> names;
    for (const InterfaceState& state : interfaceReport()) {
        if (state.decision.counted) {
            names.push_back(state.decision.name);
        }
    }
    return names;
}

std::vector<InterfaceState> CTrafficObtainer::interfaceReport()
{
    const auto links = env_->counters.read();
    if (!links) {
        return {};
    }
    const std::vector<CountingDecision> decisions = countingDecisions(*links);
    std::vector<InterfaceState> out;
    out.reserve(links->size());
    for (std::size_t i = 0; i < links->size(); ++i) {
        out.push_back({decisions[i], (*links)[i].rxBytes, (*links)[i].txBytes});
    }
    return out;
}

void CTrafficObtainer::dataUsageChanged()
{
    env_->center.post(messages::kDataUsageWasChanged, this);
}

void CTrafficObtainer::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeDate("PrevShotDate", prevShotDate_);
    coder.encodeInt64("PrevTrafficSize", prevTrafficSize_);
    coder.encodeDouble("SystemUpTime", sysWorkTime_);
    coder.encodeString("BootId", bootId_);
    if (baselines_) {
        coder.encodeObjects("Interfaces", *baselines_);
    } else {
        coder.encodeObject<InterfaceBaseline>("Interfaces", nullptr);
    }
    std::vector<ChoiceEntry> entries;
    for (const auto& choice : choices_.byName) {
        entries.push_back({&choice});
    }
    coder.encodeObjects("CountingChoices", entries);
    coder.encodeBool("CountMetered", choices_.countMetered);
    coder.encodeObject("NetworkManager", &networkManager_);
    coder.encodeUInt64("HeldTraffic", heldTraffic_ != 0 ? std::optional<std::uint64_t>(heldTraffic_) : std::nullopt);
    coder.encodeUInt64("HeldRoaming", heldRoaming_ != 0 ? std::optional<std::uint64_t>(heldRoaming_) : std::nullopt);
}

std::unique_ptr<CTrafficObtainer> CTrafficObtainer::initWithCoder(ArchiveDecoder& coder)
{
    QV_REQUIRE(coder.env() != nullptr, "decoding a sampler needs a decoder made with the platform services");
    auto o = std::make_unique<CTrafficObtainer>(*coder.env(), std::nullopt, 0, 0.0);
    o->prevShotDate_ = coder.decodeDate("PrevShotDate");
    o->prevTrafficSize_ = coder.decodeInt64("PrevTrafficSize");
    if (o->prevTrafficSize_ && *o->prevTrafficSize_ < kNoBaseline) {
        coder.fail("PrevTrafficSize", "a total of bytes, or -1 for none");
    }
    o->sysWorkTime_ = coder.decodeDouble("SystemUpTime");
    o->bootId_ = coder.decodeString("BootId");
    std::vector<InterfaceBaseline> kept;
    if (coder.decodeObjects("Interfaces", [&](ArchiveDecoder& b) {
            if (b.className() != InterfaceBaseline::kClassName) {
                b.fail("Interfaces", "interface baselines");
            }
            kept.push_back(*InterfaceBaseline::initWithCoder(b));
        })) {
        o->baselines_ = std::move(kept);
    }
    coder.decodeObjects("CountingChoices", [&](ArchiveDecoder& c) {
        const std::optional<std::string> name = c.decodeString("Name");
        const std::optional<bool> count = c.decodeBool("Count");
        if (!name || !count) {
            c.fail("CountingChoices", "a name and whether it counts");
        }
        o->choices_.byName[*name] = *count;
    });
    o->choices_.countMetered = coder.decodeBool("CountMetered").value_or(false);
    if (auto cache = coder.decodeObject<NetworkManagerCache>("NetworkManager")) {
        o->networkManager_ = std::move(*cache);
    }
    // Written by every version: a state without them, or with a boot but no interface baselines,
    // was damaged. Booking from no baseline would count every counter whole again; a new one
    // is taken at the next sample instead, and nothing is booked by it.
    const bool noSum = !o->prevTrafficSize_;
    if ((noSum && !o->baselines_) || (o->bootId_ && !o->baselines_)) {
        o->prevTrafficSize_ = kNoBaseline;
        Log::line("the state file held no counter baselines; counting starts again from now");
    }
    o->heldTraffic_ = coder.decodeByteCount("HeldTraffic").value_or(0);
    o->heldRoaming_ = coder.decodeByteCount("HeldRoaming").value_or(0);
    if (o->heldRoaming_ > o->heldTraffic_) {
        coder.fail("HeldRoaming", "at most the held bytes");
    }
    return o;
}

}  // namespace quorvel
