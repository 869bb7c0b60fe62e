// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemBusModule.hpp"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/LoadableModule.hpp"
#include "platform/Log.hpp"
#include "platform/Translation.hpp"

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

bool SystemBusModule::busCanBeThere(std::string* error)
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
        *error = Translation::fill(_("no system bus at %s"), {std::string(path)});
    }
    return false;
}

SystemBusServices* SystemBusModule::services()
{
    return loaded().services;
}

const std::string& SystemBusModule::failure()
{
    return loaded().failure;
}

namespace {

// A service of the bus module made on first use; null (and no module loaded, no connection
// tried) while there can be no system bus. Asked at every change of the links.
template <class Service, class Make>
Service* loadedWhenBusThere(std::unique_ptr<Service>& slot, Make make)
{
    if (!SystemBusModule::busCanBeThere(nullptr)) {
        return nullptr;
    }
    if (!slot) {
        SystemBusServices* bus = SystemBusModule::services();
        if (bus == nullptr) {
            return nullptr;
        }
        slot = make(*bus);
    }
    return slot.get();
}

}  // namespace

std::optional<NetworkDeviceTable> LazyNetworkDeviceDirectory::devices()
{
    NetworkDeviceDirectory* d = loadedWhenBusThere(loaded_, [](SystemBusServices& bus) { return bus.networkDevices(); });
    return d != nullptr ? d->devices() : std::nullopt;
}

std::optional<SimCardList> LazySimCardDirectory::sims()
{
    SimCardDirectory* d = loadedWhenBusThere(loaded_, [](SystemBusServices& bus) { return bus.simCards(); });
    return d != nullptr ? d->sims() : std::nullopt;
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

SwitchOutcome LazyMobileDataSwitch::turnOffOnly(const std::vector<std::string>& interfaces)
{
    return target().turnOffOnly(interfaces);
}

SwitchOutcome LazyMobileDataSwitch::turnOn()
{
    return target().turnOn();
}

}  // namespace quorvel
