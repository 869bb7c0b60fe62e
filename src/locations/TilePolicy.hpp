// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// Whether the map may fetch tiles now. A counted (metered, mobile) connection costs the very data
// the user is watching, so tiles come over it only when the user allowed it; without a network
// there is nothing to fetch. Either way the map says why in one line.
class TilePolicy {
public:
    enum class Decision { Load, NotOverMobileData, Offline };
    struct Network {
        bool available = true;
        bool metered = false;
    };

    static Decision decide(Network network, bool allowedOverMobileData);
    // The line the map shows instead of its tiles; empty when it loads them.
    static const char* reason(Decision decision);
};

}  // namespace quorvel
