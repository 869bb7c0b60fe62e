// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/NetworkDevices.hpp"

namespace quorvel {

// NetworkManager's devices over the system bus, with plain synchronous calls: GetDevices, then
// each device's DeviceType, Interface, IpInterface and Metered. A device gives one entry for its
// interface and one for its IP interface when that differs (a modem's control and data links).
// NetworkManager not on the bus: std::nullopt. A method or property it does not answer leaves the
// field unknown; the table is still its answer.
class NetworkManagerDeviceDirectory final : public NetworkDeviceDirectory {
public:
    std::optional<NetworkDeviceTable> devices() override;
};

}  // namespace quorvel
