// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CounterGrowth.hpp"

#include <algorithm>
#include <tuple>

#include "platform/Assert.hpp"

namespace quorvel {

namespace {

// The same interface as at the baseline: by index when the source knows indexes, else by name.
const InterfaceBaseline* baselineOf(const std::vector<InterfaceBaseline>& baselines, const InterfaceCounters& link)
{
    const auto it = std::find_if(baselines.begin(), baselines.end(), [&](const InterfaceBaseline& b) {
        return link.index != 0 ? b.index == link.index : b.index == 0 && b.name == link.name;
    });
    return it == baselines.end() ? nullptr : &*it;
}

// A counter that went down was started again: all it holds is new.
std::uint64_t grownFrom(std::uint64_t before, std::uint64_t now)
{
    return now >= before ? now - before : now;
}

void requireOneDecisionPerLink(const std::vector<InterfaceCounters>& links,
                               const std::vector<CountingDecision>& decisions)
{
    QV_REQUIRE(links.size() == decisions.size(), "the caller must give one counting decision per link");
}

}  // namespace

std::vector<CounterGrowth::LinkGrowth> CounterGrowth::bookedByLink(const std::vector<InterfaceBaseline>& baselines,
                                                                   const std::vector<InterfaceCounters>& links,
                                                                   const std::vector<CountingDecision>& decisions,
                                                                   bool sameBoot)
{
    requireOneDecisionPerLink(links, decisions);
    std::vector<LinkGrowth> grown;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (!decisions[i].counted) {
            continue;
        }
        const InterfaceCounters& link = links[i];
        const InterfaceBaseline* before = sameBoot ? baselineOf(baselines, link) : nullptr;
        if (before != nullptr && !before->measured) {
            continue;  // it was there but not counted: its bytes so far are not the plan's
        }
        const std::uint64_t bytes = before == nullptr ? link.rxBytes + link.txBytes
                                                      : grownFrom(before->received, link.rxBytes) +
                                                            grownFrom(before->sent, link.txBytes);
        if (bytes > 0) {
            grown.push_back({link.name, bytes});
        }
    }
    return grown;
}

std::uint64_t CounterGrowth::booked(const std::vector<InterfaceBaseline>& baselines,
                                    const std::vector<InterfaceCounters>& links,
                                    const std::vector<CountingDecision>& decisions, bool sameBoot)
{
    std::uint64_t sum = 0;
    for (const LinkGrowth& g : bookedByLink(baselines, links, decisions, sameBoot)) {
        sum += g.bytes;
    }
    return sum;
}

std::uint64_t CounterGrowth::bookedSinceSummedTotal(std::int64_t summedTotal,
                                                    const std::vector<InterfaceCounters>& links,
                                                    const std::vector<CountingDecision>& decisions, bool sameBoot)
{
    requireOneDecisionPerLink(links, decisions);
    if (!sameBoot || summedTotal <= 0) {
        return countedTotal(links, decisions);
    }
    constexpr std::uint64_t kLow32 = 0xFFFF'FFFFu;
    std::uint64_t narrow = 0;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (decisions[i].counted) {
            narrow += (links[i].rxBytes & kLow32) + (links[i].txBytes & kLow32);
        }
    }
    const auto stored = static_cast<std::uint64_t>(summedTotal);
    return narrow >= stored ? narrow - stored : 0;
}

std::vector<InterfaceBaseline> CounterGrowth::baselinesOf(const std::vector<InterfaceCounters>& links,
                                                          const std::vector<InterfaceBaseline>& previous,
                                                          bool sameBoot, const std::vector<CountingDecision>* decisions)
{
    if (decisions != nullptr) {
        requireOneDecisionPerLink(links, *decisions);
    }
    const auto counted = [&](std::size_t i) { return decisions == nullptr || (*decisions)[i].counted; };
    std::vector<InterfaceBaseline> vanished;
    if (sameBoot) {
        // Only indexed links: an index is never given to another link on the same boot.
        for (const InterfaceBaseline& b : previous) {
            const bool present = std::any_of(links.begin(), links.end(),
                                             [&](const InterfaceCounters& l) { return l.index == b.index; });
            if (b.index != 0 && b.measured && !present) {
                vanished.push_back(b);
            }
        }
        if (vanished.size() > kKeptVanished) {  // the oldest went first
            vanished.erase(vanished.begin(), vanished.end() - static_cast<std::ptrdiff_t>(kKeptVanished));
        }
    }
    std::vector<InterfaceBaseline> out(vanished.begin(), vanished.end());
    std::vector<std::size_t> uncounted;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (counted(i)) {
            out.push_back({links[i].name, links[i].index, links[i].rxBytes, links[i].txBytes});
        } else {
            uncounted.push_back(i);
        }
    }
    for (std::size_t i : keptUncounted(links, uncounted, counted)) {
        out.push_back({links[i].name, links[i].index, 0, 0, false});
    }
    return out;
}

std::vector<std::size_t> CounterGrowth::keptUncounted(const std::vector<InterfaceCounters>& links,
                                                      std::vector<std::size_t> uncounted,
                                                      const std::function<bool(std::size_t)>& counted)
{
    if (uncounted.size() <= kKeptUncounted) {
        return uncounted;
    }
    // A link below a counted one may come to be counted when the one above goes (a ppp link torn
    // down); a cellular name may be a modem's; low indexes are the machine's own interfaces.
    std::vector<bool> below(links.size(), false);
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (!counted(i)) {
            continue;
        }
        int lower = links[i].lowerIndex;
        for (std::size_t steps = 0; lower != 0 && steps < links.size(); ++steps) {
            const auto it = std::find_if(links.begin(), links.end(), [&](const auto& l) { return l.index == lower; });
            if (it == links.end()) {
                break;
            }
            below[static_cast<std::size_t>(it - links.begin())] = true;
            lower = it->lowerIndex;
        }
    }
    const auto rank = [&](std::size_t i) {
        return std::make_tuple(!below[i], !InterfaceSelection::hasCellularName(links[i].name), links[i].index);
    };
    std::stable_sort(uncounted.begin(), uncounted.end(), [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
    uncounted.resize(kKeptUncounted);
    std::sort(uncounted.begin(), uncounted.end());
    return uncounted;
}

std::uint64_t CounterGrowth::countedTotal(const std::vector<InterfaceCounters>& links,
                                          const std::vector<CountingDecision>& decisions)
{
    requireOneDecisionPerLink(links, decisions);
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (decisions[i].counted) {
            sum += links[i].rxBytes + links[i].txBytes;
        }
    }
    return sum;
}

}  // namespace quorvel
