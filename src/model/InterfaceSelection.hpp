// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/InterfaceCounters.hpp"
#include "platform/NetworkDevices.hpp"

namespace quorvel {

// Why an interface is counted or not, in the order the rules are asked.
enum class CountReason { User, NetworkManager, Metered, Name, Ignored, None };

// "user", "networkmanager", "metered", "name", "ignored", "none": the words the command line prints.
std::string_view countReasonName(CountReason reason);

// What the user chose: true counts a named interface, false ignores it; names not in the map are
// left to detection. The metered option counts every interface of a metered connection.
struct CountingChoices {
    std::map<std::string, bool> byName;
    bool countMetered = false;
};

struct CountingDecision {
    std::string name;
    int index = 0;
    bool counted = false;
    CountReason reason = CountReason::None;
};

// Which interfaces carry the mobile data the plan is billed for: the user's choice first, then
// NetworkManager's modem devices (and metered connections when asked), then cellular name
// prefixes for interfaces NetworkManager does not report or whose device type it did not tell;
// otherwise none. Pure: no I/O.
//
// Stacked links are billed once: a detected link that carries counted links stacked on it (at
// any depth, through `lowerIndex`) is skipped with reason none. The user's own count is never
// overridden: detected links stacked above a link the user counts are skipped instead, and two
// links of one stack that the user both counts are both counted, as asked. The two ends of a
// pair that name each other (veth) are not a stack.
class InterfaceSelection {
public:
    // One decision per link, in the order of `links`.
    static std::vector<CountingDecision> decide(const std::vector<InterfaceCounters>& links,
                                                const CountingChoices& choices,
                                                const std::optional<NetworkDeviceTable>& networkManager);
    // Whether the name alone says cellular ("wwan", "ww", "rmnet", "ppp", "pdp_ip", "qmapmux",
    // "mhi_hwip", "mhi_swip", "ccmni").
    static bool hasCellularName(std::string_view name);
};

}  // namespace quorvel
