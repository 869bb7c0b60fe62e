// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// What one attempt to switch mobile data did: done, or the system's reason for not doing it.
struct SwitchOutcome {
    bool ok = true;
    std::string error;
};

// Mobile data on and off as the system's network manager does it. Every call is one attempt:
// the network manager's own authorisation decides, and the caller reports a refusal.
class MobileDataSwitch {
public:
    virtual ~MobileDataSwitch() = default;
    // Why mobile data cannot be switched on this system; nullopt when it can.
    virtual std::optional<std::string> unavailable() = 0;
    // Mobile broadband off, and the connections of `interfaces` (dongles, tethering) ended.
    virtual SwitchOutcome turnOff(const std::vector<std::string>& interfaces) = 0;
    // Only the connections of `interfaces` ended (one SIM's modem among others); where the
    // network manager can tell none of them apart, mobile broadband off as a whole.
    virtual SwitchOutcome turnOffOnly(const std::vector<std::string>& interfaces) { return turnOff(interfaces); }
    virtual SwitchOutcome turnOn() = 0;
};

// For systems (and tests) without a network manager.
class NoMobileDataSwitch final : public MobileDataSwitch {
public:
    static constexpr const char* kReason = "NetworkManager is not running";
    std::optional<std::string> unavailable() override { return kReason; }
    SwitchOutcome turnOff(const std::vector<std::string>&) override { return {false, kReason}; }
    SwitchOutcome turnOn() override { return {false, kReason}; }
};

}  // namespace quorvel
