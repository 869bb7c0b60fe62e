// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlBusServices.hpp"

#include "cli/CtlDesktopNotifier.hpp"
#include "platform/SystemBusModule.hpp"

namespace quorvel {

namespace {

// The bus module's services for a follower, when there can be a system bus at all.
SystemBusServices* systemBus(std::string* error)
{
    if (!SystemBusModule::busCanBeThere(error)) {
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

std::unique_ptr<SimCardDirectory> CtlBusServices::simCards()
{
    return std::make_unique<LazySimCardDirectory>();
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
