// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemBusModule.hpp"

#include "platform/LoadableModule.hpp"
#include "platform/Log.hpp"

namespace quorvel {

namespace {

struct Loaded {
    SystemBusServices* services = nullptr;
    std::string failure;
};

Loaded load()
{
    Loaded l;
    void* entry = LoadableModule::entryPoint(kSystemBusModuleFile, kSystemBusServicesEntry, l.failure);
    if (entry == nullptr) {
        Log::line("No NetworkManager or desktop notifications: " + l.failure);
        return l;
    }
    l.services = reinterpret_cast<SystemBusServicesEntry>(entry)();
    return l;
}

const Loaded& loaded()
{
    static const Loaded once = load();
    return once;
}

}  // namespace

SystemBusServices* SystemBusModule::services()
{
    return loaded().services;
}

const std::string& SystemBusModule::failure()
{
    return loaded().failure;
}

std::optional<NetworkDeviceTable> LazyNetworkDeviceDirectory::devices()
{
    if (!loaded_) {
        SystemBusServices* bus = SystemBusModule::services();
        if (bus == nullptr) {
            return std::nullopt;
        }
        loaded_ = bus->networkDevices();
    }
    return loaded_->devices();
}

MobileDataSwitch& LazyMobileDataSwitch::target()
{
    if (!loaded_) {
        SystemBusServices* bus = SystemBusModule::services();
        loaded_ = bus != nullptr ? bus->mobileDataSwitch() : std::make_unique<NoMobileDataSwitch>();
    }
    return *loaded_;
}

std::optional<std::string> LazyMobileDataSwitch::unavailable()
{
    return target().unavailable();
}

SwitchOutcome LazyMobileDataSwitch::turnOff(const std::vector<std::string>& interfaces)
{
    return target().turnOff(interfaces);
}

SwitchOutcome LazyMobileDataSwitch::turnOn()
{
    return target().turnOn();
}

}  // namespace quorvel
