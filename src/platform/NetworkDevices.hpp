// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// What the network manager of the system says about one of its devices, by interface name. A
// device with both a control interface and a separate data interface appears once for each.
struct NetworkDevice {
    std::string interfaceName;
    std::optional<std::uint32_t> deviceType;  // NetworkManager's NMDeviceType; absent: unknown
    std::optional<std::uint32_t> metered;     // NetworkManager's NMMetered; absent: unknown
};

// The answer of one query: absent as a whole when no network manager is on the system bus.
using NetworkDeviceTable = std::vector<NetworkDevice>;

// Where the devices the network manager knows come from; the real one asks NetworkManager over
// the system bus, tests and the command line's lean paths may give none.
class NetworkDeviceDirectory {
public:
    virtual ~NetworkDeviceDirectory() = default;
    // std::nullopt when no network manager answers on the system bus.
    virtual std::optional<NetworkDeviceTable> devices() = 0;
};

// A directory for systems (and tests) without a network manager.
class NoNetworkDeviceDirectory final : public NetworkDeviceDirectory {
public:
    std::optional<NetworkDeviceTable> devices() override { return std::nullopt; }
};

}  // namespace quorvel
