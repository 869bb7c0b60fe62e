// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlBusServices.hpp"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "cli/CtlDesktopNotifier.hpp"
#include "platform/SystemBusModule.hpp"

namespace quorvel {

namespace {

// Whether a system bus can be there at all: its socket exists. Checked without GIO, so that a
// watcher on a machine without one (a container, a test) never loads the bus module.
bool systemBusSocketExists(std::string* error)
{
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    std::string_view path = "/run/dbus/system_bus_socket";
    if (address != nullptr) {
        const std::string_view a(address);
        constexpr std::string_view kPath = "unix:path=";
        if (!a.starts_with(kPath)) {
            return true;  // another kind of address: let the bus library judge it
        }
        const std::string_view rest = a.substr(kPath.size());
        path = rest.substr(0, rest.find(','));
    }
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::path(path), ignored)) {
        return true;
    }
    if (error != nullptr) {
        *error = "no system bus at " + std::string(path);
    }
    return false;
}

// The bus module's services for a follower, when there can be a system bus at all.
SystemBusServices* systemBus(std::string* error)
{
    if (!systemBusSocketExists(error)) {
        return nullptr;
    }
    SystemBusServices* bus = SystemBusModule::services();
    if (bus == nullptr && error != nullptr) {
        *error = SystemBusModule::failure();
    }
    return bus;
}

}  // namespace

std::unique_ptr<NetworkDeviceDirectory> CtlBusServices::networkDevices()
{
    return std::make_unique<LazyNetworkDeviceDirectory>();
}

std::unique_ptr<MobileDataSwitch> CtlBusServices::mobileDataSwitch()
{
    return std::make_unique<LazyMobileDataSwitch>();
}

CtlBusServices::Roaming CtlBusServices::roamingWatch(std::string* error)
{
    SystemBusServices* bus = systemBus(error);
    if (bus == nullptr) {
        return {};
    }
    std::unique_ptr<FollowedRoamingSource> followed = bus->followRoaming(error);
    FollowedRoamingSource* modems = followed.get();
    return {std::move(followed), modems};
}

std::unique_ptr<FollowedLocationSource> CtlBusServices::locationWatch(std::string* error)
{
    SystemBusServices* bus = systemBus(error);
    return bus != nullptr ? bus->followLocation(CtlDesktopNotifier::kApplicationId, error) : nullptr;
}

}  // namespace quorvel
