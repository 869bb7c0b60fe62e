// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/NetworkManagerMobileData.hpp"

#include "platform/dbus/NetworkManagerControl.hpp"

namespace quorvel {

namespace {

SwitchOutcome outcomeOf(const BusOutcome& outcome)
{
    return {outcome.ok, outcome.error};
}

}  // namespace

std::optional<std::string> NetworkManagerMobileData::unavailable()
{
    std::string why;
    if (NetworkManagerControl::connect(&why)) {
        return std::nullopt;
    }
    return why;
}

SwitchOutcome NetworkManagerMobileData::turnOff(const std::vector<std::string>& interfaces)
{
    std::string why;
    const std::optional<NetworkManagerControl> control = NetworkManagerControl::connect(&why);
    if (!control) {
        return {false, why};
    }
    // Both are tried: a refused switch must not keep a dongle's connection up, nor the reverse.
    SwitchOutcome outcome = outcomeOf(control->setWwanEnabled(false));
    if (!interfaces.empty()) {
        const SwitchOutcome connections = outcomeOf(control->deactivateConnectionsOf(interfaces));
        if (!connections.ok) {
            outcome.error += (outcome.ok ? "" : "; ") + connections.error;
            outcome.ok = false;
        }
    }
    return outcome;
}

SwitchOutcome NetworkManagerMobileData::turnOffOnly(const std::vector<std::string>& interfaces)
{
    std::string why;
    const std::optional<NetworkManagerControl> control = NetworkManagerControl::connect(&why);
    if (!control) {
        return {false, why};
    }
    std::size_t ended = 0;
    const SwitchOutcome outcome = outcomeOf(control->deactivateConnectionsOf(interfaces, &ended));
    if (outcome.ok && ended == 0) {
        return turnOff(interfaces);  // no connection of its own to end: the whole switch
    }
    return outcome;
}

SwitchOutcome NetworkManagerMobileData::turnOn()
{
    std::string why;
    const std::optional<NetworkManagerControl> control = NetworkManagerControl::connect(&why);
    if (!control) {
        return {false, why};
    }
    return outcomeOf(control->setWwanEnabled(true));
}

}  // namespace quorvel
