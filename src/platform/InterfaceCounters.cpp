#include "platform/InterfaceCounters.hpp"

#include <ifaddrs.h>
#include <linux/if_link.h>
#include <sys/socket.h>

#include <memory>

namespace quorvel {

std::optional<std::vector<InterfaceCounters>> IfaddrsCounterSource::read()
{
    ifaddrs* raw = nullptr;
    if (::getifaddrs(&raw) != 0) {
        return std::nullopt;
    }
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> list(raw, &::freeifaddrs);
    std::vector<InterfaceCounters> out;
    for (const ifaddrs* a = list.get(); a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_PACKET || a->ifa_data == nullptr ||
            a->ifa_name == nullptr) {
            continue;
        }
        const auto* stats = static_cast<const rtnl_link_stats*>(a->ifa_data);
        out.push_back(InterfaceCounters{a->ifa_name, 0, 0, stats->rx_bytes, stats->tx_bytes});
    }
    return out;
}

}  // namespace quorvel
