// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/MobileDataSwitch.hpp"

namespace quorvel {

// Mobile data through NetworkManager on the system bus: its WwanEnabled switch, and the active
// connections of other counted interfaces (USB dongles, tethering) deactivated. Connects anew
// for each call, so that holding one costs nothing until mobile data is actually switched.
class NetworkManagerMobileData final : public MobileDataSwitch {
public:
    std::optional<std::string> unavailable() override;
    SwitchOutcome turnOff(const std::vector<std::string>& interfaces) override;
    SwitchOutcome turnOffOnly(const std::vector<std::string>& interfaces) override;
    // WwanEnabled on again; NetworkManager's own automatic connection brings the modem back.
    SwitchOutcome turnOn() override;
};

}  // namespace quorvel
