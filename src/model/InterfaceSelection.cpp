#include "model/InterfaceSelection.hpp"

#include <array>

namespace quorvel {

std::string_view countReasonName(CountReason reason)
{
    switch (reason) {
    case CountReason::User: return "user";
    case CountReason::NetworkManager: return "networkmanager";
    case CountReason::Metered: return "metered";
    case CountReason::Name: return "name";
    case CountReason::Ignored: return "ignored";
    case CountReason::None: return "none";
    }
    return "none";
}

bool InterfaceSelection::hasCellularName(std::string_view name)
{
    static constexpr std::array<std::string_view, 9> kPrefixes = {
        "pdp_ip", "wwan", "ww", "rmnet", "ppp", "qmapmux", "mhi_hwip", "mhi_swip", "ccmni"};
    for (std::string_view prefix : kPrefixes) {
        if (name.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

// Provisional: names only. The full rules (user, NetworkManager, metered, stacked links) replace it.
std::vector<CountingDecision> InterfaceSelection::decide(const std::vector<InterfaceCounters>& links,
                                                         const CountingChoices& /*choices*/,
                                                         const std::optional<NetworkDeviceTable>& /*networkManager*/)
{
    std::vector<CountingDecision> out;
    out.reserve(links.size());
    for (const InterfaceCounters& link : links) {
        const bool cellular = hasCellularName(link.name);
        out.push_back({link.name, link.index, cellular, cellular ? CountReason::Name : CountReason::None});
    }
    return out;
}

}  // namespace quorvel
