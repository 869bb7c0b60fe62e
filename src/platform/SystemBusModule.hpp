// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "platform/SystemBusServices.hpp"

namespace quorvel {

// Loads the bus module on first use. Without it (not installed, or GIO missing) the program
// goes on as on a system without NetworkManager or a session bus, and says so once.
class SystemBusModule {
public:
    // The module's services; nullptr when it cannot be loaded (logged the first time).
    static SystemBusServices* services();
    // Why the module could not be loaded (trying it first if need be); empty when it was.
    static const std::string& failure();
    // Whether a system bus can be there at all: its socket exists (an address of another kind is
    // the bus library's to judge). Checked without GIO, so that on a machine without one (a
    // container, a test) the module is never loaded; `error` (if given) says why not.
    static bool busCanBeThere(std::string* error);
};

// NetworkManager's devices through the bus module, loaded only when the devices are asked for.
// No module, or no system bus, answers like no NetworkManager.
class LazyNetworkDeviceDirectory final : public NetworkDeviceDirectory {
public:
    std::optional<NetworkDeviceTable> devices() override;

private:
    std::unique_ptr<NetworkDeviceDirectory> loaded_;
};

// ModemManager's SIMs through the bus module, loaded when first asked. No module or no system
// bus answers like no ModemManager.
class LazySimCardDirectory final : public SimCardDirectory {
public:
    std::optional<SimCardList> sims() override;

private:
    std::unique_ptr<SimCardDirectory> loaded_;
};

// NetworkManager's mobile-data switch through the bus module, loaded only when it is used (a
// cut-off, or the question whether one is possible). No module answers like no NetworkManager.
class LazyMobileDataSwitch final : public MobileDataSwitch {
public:
    std::optional<std::string> unavailable() override;
    SwitchOutcome turnOff(const std::vector<std::string>& interfaces) override;
    SwitchOutcome turnOffOnly(const std::vector<std::string>& interfaces) override;
    SwitchOutcome turnOn() override;

private:
    MobileDataSwitch& target();
    std::unique_ptr<MobileDataSwitch> loaded_;
};

}  // namespace quorvel
