// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/InterfaceBaseline.hpp"
#include "model/InterfaceSelection.hpp"
#include "platform/InterfaceCounters.hpp"

namespace quorvel {

// How much traffic the counted interfaces carried between two samples, from each interface's
// own counters: growth since its baseline; its whole counter when it is new since the last
// sample (an index not seen before, or a new boot) or when its counter went down (the driver
// started it again); nothing for an interface that went away. Pure: no I/O.
class CounterGrowth {
public:
    // One counted link's share of a sample.
    struct LinkGrowth {
        std::string name;
        std::uint64_t bytes = 0;
        bool operator==(const LinkGrowth&) const = default;
    };
    // The same growth as `booked`, per counted link that grew (in the links' order).
    static std::vector<LinkGrowth> bookedByLink(const std::vector<InterfaceBaseline>& baselines,
                                                const std::vector<InterfaceCounters>& links,
                                                const std::vector<CountingDecision>& decisions, bool sameBoot);

    // `decisions` holds one entry per link of `links`, in the same order.
    static std::uint64_t booked(const std::vector<InterfaceBaseline>& baselines,
                                const std::vector<InterfaceCounters>& links,
                                const std::vector<CountingDecision>& decisions, bool sameBoot);

    // What a state that kept only the summed total of 32-bit counters can still tell: on the
    // same boot, today's counted counters taken modulo 2^32 and summed, against that total; a
    // drop cannot be told from a wrap or a removed interface and books nothing. On a new boot,
    // or when no counted interface was there before (a total of 0), the whole counters.
    static std::uint64_t bookedSinceSummedTotal(std::int64_t summedTotal, const std::vector<InterfaceCounters>& links,
                                                const std::vector<CountingDecision>& decisions, bool sameBoot);

    // The counted links' counters, to measure the next growth from, and the name and index of
    // at most kKeptUncounted others (links stacked below counted ones first, then cellular
    // names, then the oldest indexes), so that the state stays small whatever the link count.
    // On the same boot the baselines of counted links that went away are kept too (the latest
    // kKeptVanished): a watcher may still book a vanished link's last counters after another
    // sampler saw it gone, and must book only its growth. Without decisions every link counts.
    static std::vector<InterfaceBaseline> baselinesOf(const std::vector<InterfaceCounters>& links,
                                                      const std::vector<InterfaceBaseline>& previous = {},
                                                      bool sameBoot = false,
                                                      const std::vector<CountingDecision>* decisions = nullptr);
    static constexpr std::size_t kKeptVanished = 16;
    static constexpr std::size_t kKeptUncounted = 64;

    // Which of the uncounted links (positions into `links`) keep a name-and-index baseline.
    static std::vector<std::size_t> keptUncounted(const std::vector<InterfaceCounters>& links,
                                                  std::vector<std::size_t> uncounted,
                                                  const std::function<bool(std::size_t)>& counted);

    // Received plus sent bytes of the counted links.
    static std::uint64_t countedTotal(const std::vector<InterfaceCounters>& links,
                                      const std::vector<CountingDecision>& decisions);
};

}  // namespace quorvel
