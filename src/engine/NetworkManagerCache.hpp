// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
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

// NetworkManager's last answer with the set of links (names and indexes) it was taken for, kept
// as a digest so that the state stays small however many links there are. It stays right while
// that set stays the same, so an ordinary sample asks the system bus nothing. Only the devices
// that can change a counting decision are stored; a larger answer than kMaxStoredDevices is not
// stored at all (the next process asks again).
class NetworkManagerCache {
public:
    static constexpr std::string_view kClassName = "NetworkManagerCache";
    using LinkSet = std::vector<std::pair<std::string, int>>;

    static constexpr std::size_t kMaxStoredDevices = 64;

    // The answer for `links`, asking `directory` only when the links differ from the cached set.
    const std::optional<NetworkDeviceTable>& devicesFor(const std::vector<InterfaceCounters>& links,
                                                        NetworkDeviceDirectory& directory);
    static LinkSet linkSetOf(const std::vector<InterfaceCounters>& links);
    // FNV-1a over the sorted names and indexes: the same set gives the same digest in every process.
    static std::uint64_t digestOf(const LinkSet& links);

    std::optional<std::uint64_t> linksDigest;  // absent: nothing asked yet
    std::optional<NetworkDeviceTable> devices;  // absent: no NetworkManager answered

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<NetworkManagerCache> initWithCoder(ArchiveDecoder& coder);
};

}  // namespace quorvel
