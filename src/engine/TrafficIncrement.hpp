// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "model/CTrafficPoint.hpp"
#include "model/CounterGrowth.hpp"

namespace quorvel {

// What one sample did with the latest day record it was given: a result, read once by the
// history, which books it.
struct TrafficIncrement {
    enum class Kind {
        Nothing,     // no record was given and nothing was booked
        SameRecord,  // the given record, possibly with more bytes
        NewRecord,   // a new day: `point` is the new record
    };
    Kind kind = Kind::Nothing;
    CTrafficPoint point;
    std::uint64_t booked = 0;   // the bytes this sample added, to `point` or to the given record
    std::uint64_t roaming = 0;  // the part of `booked` used while roaming
    std::uint64_t free = 0;     // the part of `booked` used in the plan's free hours
    // What each counted link grew by in this sample; growth held from an earlier sample, or from
    // a file that kept only a summed total (an empty name), belongs to no link.
    std::vector<CounterGrowth::LinkGrowth> links;

    // Bytes with their roaming and free parts.
    struct Share {
        std::uint64_t bytes = 0;
        std::uint64_t roaming = 0;
        std::uint64_t free = 0;
        Share& operator+=(const Share& o)
        {
            bytes += o.bytes;
            roaming += o.roaming;
            free += o.free;
            return *this;
        }
    };
    // `part` of the booked bytes with its roaming and free parts in proportion (exact when the
    // whole sample was roaming or not, free or not, as a sample is), rounded down.
    Share shareOf(std::uint64_t part) const
    {
        if (booked == 0) {
            return {};
        }
        const auto scaled = [&](std::uint64_t of) {
            return static_cast<std::uint64_t>(static_cast<unsigned __int128>(part) * of / booked);
        };
        return {part, scaled(roaming), scaled(free)};
    }
};

}  // namespace quorvel
