// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "model/CTrafficPoint.hpp"

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
};

}  // namespace quorvel
