// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "engine/TrafficIncrement.hpp"

namespace quorvel {

// Where a sample's bytes go when some of its links belong to a SIM: the route books each SIM's
// share into that SIM's history and tells what it took; the rest stays with the device's own.
class TrafficRoute {
public:
    using Share = TrafficIncrement::Share;
    virtual ~TrafficRoute() = default;
    // The sampler found another set of links (these counted): who carries them may differ now.
    virtual void linksChanged(const std::vector<std::string>& counted) = 0;
    // Called only for a sample that booked bytes, after linksChanged when both happened.
    virtual Share take(const TrafficIncrement& increment) = 0;
};

}  // namespace quorvel
