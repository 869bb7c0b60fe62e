// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

#include "platform/SimCards.hpp"
#include "platform/dbus/SystemBus.hpp"

namespace quorvel {

// The SIMs of ModemManager's modems: the active SIM of each modem with the modem's data
// interfaces, and the SIMs of its other slots. Read synchronously; every call times out after
// SystemBus::kCallTimeoutMs, so a hanging ModemManager holds up a sample only that long.
class ModemSimDirectory final : public SimCardDirectory {
public:
    static constexpr const char* kSimInterface = "org.freedesktop.ModemManager1.Sim";
    static constexpr const char* kBearerInterface = "org.freedesktop.ModemManager1.Bearer";
    static constexpr std::uint32_t kNetPort = 2;  // MM_MODEM_PORT_TYPE_NET

    std::optional<SimCardList> sims() override;
    // The same over a connection the caller holds.
    static std::optional<SimCardList> simsOn(const SystemBus& bus);

private:
    static void addModemSims(const SystemBus& bus, const char* modemPath, GVariant* modem, SimCardList& found);
    static std::optional<SimCard> readSim(const SystemBus& bus, const std::string& simPath);
};

}  // namespace quorvel
