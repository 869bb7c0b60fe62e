// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/NetworkManagerControl.hpp"

#include <algorithm>

#include "platform/dbus/NetworkManagerNames.hpp"

namespace quorvel {

namespace {

BusOutcome outcomeOf(const BusReply& reply)
{
    return reply ? BusOutcome{} : BusOutcome{false, reply.error};
}

}  // namespace

std::optional<NetworkManagerControl> NetworkManagerControl::connect(std::string* why)
{
    std::string busError;
    std::optional<SystemBus> bus = SystemBus::connect(&busError);
    if (!bus) {
        if (why != nullptr) {
            *why = "The system bus cannot be reached: " + busError;
        }
        return std::nullopt;
    }
    if (!bus->hasOwner(nm::kService)) {
        if (why != nullptr) {
            *why = "NetworkManager is not running";
        }
        return std::nullopt;
    }
    return NetworkManagerControl(std::move(*bus));
}

BusOutcome NetworkManagerControl::setWwanEnabled(bool enabled) const
{
    return outcomeOf(bus_.setProperty(nm::kService, nm::kPath, nm::kInterface, "WwanEnabled",
                                      g_variant_new_boolean(enabled ? TRUE : FALSE)));
}

std::vector<std::string> NetworkManagerControl::interfacesOfDevice(const char* devicePath) const
{
    std::vector<std::string> names;
    const BusReply reply = bus_.getAllProperties(nm::kService, devicePath, nm::kDeviceInterface);
    for (const char* key : {"Interface", "IpInterface"}) {
        const std::optional<std::string> name = lookupString(reply.value.get(), key);
        if (name && !name->empty() && std::find(names.begin(), names.end(), *name) == names.end()) {
            names.push_back(*name);
        }
    }
    return names;
}

ActiveConnectionList NetworkManagerControl::activeConnections() const
{
    ActiveConnectionList list;
    const BusReply reply = bus_.getProperty(nm::kService, nm::kPath, nm::kInterface, "ActiveConnections");
    if (!reply) {
        list.error = reply.error;
        return list;
    }
    for (const std::string& path : objectPathList(reply.value.get())) {
        ActiveConnection connection{path, {}};
        const BusReply devices = bus_.getProperty(nm::kService, path.c_str(), nm::kActiveInterface, "Devices");
        for (const std::string& device : objectPathList(devices.value.get())) {
            for (std::string& name : interfacesOfDevice(device.c_str())) {
                connection.interfaces.push_back(std::move(name));
            }
        }
        list.connections.push_back(std::move(connection));
    }
    return list;
}

BusOutcome NetworkManagerControl::deactivateConnectionsOf(const std::vector<std::string>& interfaceNames,
                                                          std::size_t* ended) const
{
    const ActiveConnectionList list = activeConnections();
    BusOutcome outcome{list.error.empty(), list.error};
    for (const ActiveConnection& connection : list.connections) {
        const bool wanted = std::any_of(connection.interfaces.begin(), connection.interfaces.end(),
                                        [&](const std::string& name) {
                                            return std::find(interfaceNames.begin(), interfaceNames.end(), name) !=
                                                   interfaceNames.end();
                                        });
        if (!wanted) {
            continue;
        }
        if (ended != nullptr) {
            ++*ended;
        }
        const BusOutcome one = outcomeOf(bus_.call(nm::kService, nm::kPath, nm::kInterface, "DeactivateConnection",
                                                   g_variant_new("(o)", connection.path.c_str()), "()"));
        if (!one.ok) {
            outcome.error += (outcome.ok ? "" : "; ") + one.error;
            outcome.ok = false;
        }
    }
    return outcome;
}

}  // namespace quorvel
