#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/InterfaceCounters.hpp"
#include "platform/NetworkDevices.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// NetworkManager's last answer with the set of links (names and indexes) it was taken for. It
// stays right while that set stays the same, so an ordinary sample asks the system bus nothing.
class NetworkManagerCache {
public:
    static constexpr std::string_view kClassName = "NetworkManagerCache";
    using LinkSet = std::vector<std::pair<std::string, int>>;

    // The answer for `links`, asking `directory` only when the links differ from the cached set.
    const std::optional<NetworkDeviceTable>& devicesFor(const std::vector<InterfaceCounters>& links,
                                                        NetworkDeviceDirectory& directory);
    static LinkSet linkSetOf(const std::vector<InterfaceCounters>& links);

    LinkSet links;                             // sorted
    std::optional<NetworkDeviceTable> devices;  // absent: no NetworkManager answered

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<NetworkManagerCache> initWithCoder(ArchiveDecoder& coder);
};

}  // namespace quorvel
