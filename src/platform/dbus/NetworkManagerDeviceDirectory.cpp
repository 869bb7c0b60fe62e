// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/NetworkManagerDeviceDirectory.hpp"

#include <string>
#include <vector>

#include "platform/Log.hpp"
#include "platform/dbus/NetworkManagerNames.hpp"
#include "platform/dbus/SystemBus.hpp"

namespace quorvel {

namespace {

// A manager that owns its name but does not answer leaves every field unknown; said once per query.
void logSilence(const BusReply& reply)
{
    Log::line("NetworkManager did not answer: " + reply.error);
}

// GetDevices, or the Devices property when the method is missing; empty when neither answers.
std::vector<std::string> devicePaths(const SystemBus& bus)
{
    const BusReply reply = bus.call(nm::kService, nm::kPath, nm::kInterface, "GetDevices", nullptr, "(ao)");
    if (reply) {
        const Variant list(g_variant_get_child_value(reply.value.get(), 0));
        return objectPathList(list.get());
    }
    if (reply.timedOut) {
        logSilence(reply);
        return {};
    }
    return objectPathList(bus.getProperty(nm::kService, nm::kPath, nm::kInterface, "Devices").value.get());
}

void addEntries(GVariant* properties, NetworkDeviceTable& table)
{
    const std::optional<std::uint32_t> type = lookupUint32(properties, "DeviceType");
    const std::optional<std::uint32_t> metered = lookupUint32(properties, "Metered");
    const std::optional<std::string> name = lookupString(properties, "Interface");
    const std::optional<std::string> ipName = lookupString(properties, "IpInterface");
    if (name && !name->empty()) {
        table.push_back({*name, type, metered});
    }
    if (ipName && !ipName->empty() && ipName != name) {
        table.push_back({*ipName, type, metered});
    }
}

}  // namespace

std::optional<NetworkDeviceTable> NetworkManagerDeviceDirectory::devices()
{
    const std::optional<SystemBus> bus = SystemBus::connect();
    if (!bus || !bus->hasOwner(nm::kService)) {
        return std::nullopt;
    }
    NetworkDeviceTable table;
    for (const std::string& path : devicePaths(*bus)) {
        const BusReply reply = bus->getAllProperties(nm::kService, path.c_str(), nm::kDeviceInterface);
        if (reply.timedOut) {
            logSilence(reply);
            break;  // a service that stopped answering would cost a timeout per device
        }
        addEntries(reply.value.get(), table);
    }
    return table;
}

}  // namespace quorvel
