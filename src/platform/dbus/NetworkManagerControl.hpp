// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/dbus/SystemBus.hpp"

namespace quorvel {

// Whether a call went through, and if not, the D-Bus error text as the service gave it.
struct BusOutcome {
    bool ok = true;
    std::string error;
};

// One of NetworkManager's active connections with the interfaces of its devices.
struct ActiveConnection {
    std::string path;
    std::vector<std::string> interfaces;
};

struct ActiveConnectionList {
    std::vector<ActiveConnection> connections;
    std::string error;  // empty when the list could be read
};

// Turns mobile data off through NetworkManager. Every call is made once and its answer returned:
// NetworkManager's own authorisation decides, and a refusal is the caller's to report.
class NetworkManagerControl {
public:
    // std::nullopt when NetworkManager is not on the system bus; `why` then says so.
    static std::optional<NetworkManagerControl> connect(std::string* why = nullptr);

    // The manager's WwanEnabled property (mobile broadband on or off).
    BusOutcome setWwanEnabled(bool enabled) const;
    ActiveConnectionList activeConnections() const;
    // Deactivates every active connection one of whose devices is one of `interfaceNames`; the
    // others are still tried after a refusal, and every error is in the answer.
    // `ended`, when given, counts the connections found for those interfaces.
    BusOutcome deactivateConnectionsOf(const std::vector<std::string>& interfaceNames,
                                       std::size_t* ended = nullptr) const;

private:
    explicit NetworkManagerControl(SystemBus bus) : bus_(std::move(bus)) {}
    std::vector<std::string> interfacesOfDevice(const char* devicePath) const;
    SystemBus bus_;
};

}  // namespace quorvel
