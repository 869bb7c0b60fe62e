// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/TilePolicy.hpp"

#include "platform/Translation.hpp"

namespace quorvel {

TilePolicy::Decision TilePolicy::decide(Network network, bool allowedOverMobileData)
{
    if (!network.available) {
        return Decision::Offline;
    }
    return network.metered && !allowedOverMobileData ? Decision::NotOverMobileData : Decision::Load;
}

const char* TilePolicy::reason(Decision decision)
{
    switch (decision) {
    case Decision::NotOverMobileData:
        return N_("No map tiles over mobile data: allow them in the settings.");
    case Decision::Offline:
        return N_("No map tiles: there is no network connection.");
    case Decision::Load:
        break;
    }
    return "";
}

}  // namespace quorvel
