// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "engine/InterfaceState.hpp"
#include "model/InterfaceSelection.hpp"

namespace quorvel {

// One line of the "Counted connections" page: the interface, whether its traffic is counted,
// and why, in the words the page shows.
struct ConnectionRow {
    std::string name;
    bool counted = false;
    std::string reason;

    bool operator==(const ConnectionRow&) const = default;
};

// The "Counted connections" page's texts and rows, apart from its widgets.
class ConnectionRows {
public:
    static constexpr const char* kTitle = "Counted connections";
    static constexpr const char* kHeaderInterfaces = "Connections";
    static constexpr const char* kFooterInterfaces = "Only the traffic of switched-on connections counts towards the plan";
    static constexpr const char* kRowMetered = "Count Metered Connections";
    static constexpr const char* kMeteredSubtitle = "Wi-Fi, tethering and other connections marked as metered";
    static constexpr const char* kNoInterfaces = "No connections found";

    // Why an interface is counted or not, as a user reads it.
    static std::string reasonText(CountReason reason);
    // The rows in the order the manager reports the interfaces.
    static std::vector<ConnectionRow> fromReport(const std::vector<InterfaceState>& report);
    // Whether two lists show the same interfaces in the same order, so that rows can be kept.
    static bool sameInterfaces(const std::vector<ConnectionRow>& a, const std::vector<ConnectionRow>& b);
};

}  // namespace quorvel
