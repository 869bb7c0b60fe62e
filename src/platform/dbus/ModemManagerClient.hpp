// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dbus/SystemBus.hpp"

namespace quorvel {

// What ModemManager says about one modem's 3GPP network registration.
struct ModemRegistration {
    std::string path;                                // the modem's object path
    std::optional<std::uint32_t> registrationState;  // MMModem3gppRegistrationState; absent: unknown
    std::optional<std::string> operatorName;         // absent: unknown
};

// ModemManager's modems read through its object manager (GetManagedObjects), synchronously.
class ModemManagerClient {
public:
    static constexpr const char* kService = "org.freedesktop.ModemManager1";
    static constexpr const char* kPath = "/org/freedesktop/ModemManager1";
    static constexpr const char* kModemInterface = "org.freedesktop.ModemManager1.Modem";
    static constexpr const char* k3gppInterface = "org.freedesktop.ModemManager1.Modem.Modem3gpp";

    // Roaming, roaming for SMS only, roaming with CS fallback not preferred (5, 7, 10).
    static bool isRoaming(std::uint32_t registrationState);
    // Whether any of the modems is registered as roaming.
    static bool anyRoaming(const std::vector<ModemRegistration>& modems);

    // std::nullopt when ModemManager is not on the system bus (or the bus cannot be reached).
    static std::optional<std::vector<ModemRegistration>> modems();
    // The same over a connection the caller holds.
    static std::optional<std::vector<ModemRegistration>> modems(const SystemBus& bus);

    // Each object ModemManager manages, with its interfaces (a{sa{sv}}); false when it did not
    // answer (hanging: after SystemBus::kCallTimeoutMs).
    static bool forEachObject(const SystemBus& bus, const std::function<void(const char* path, GVariant* interfaces)>& visit);

    // The modem's registration from its interfaces (a{sa{sv}}) as the object manager gives them;
    // nullopt for an object that is not a modem.
    static std::optional<ModemRegistration> fromInterfaces(const char* path, GVariant* interfaces);
    // Applies changed Modem3gpp properties (a{sv}) to a modem's registration.
    static void applyChanges(ModemRegistration& modem, GVariant* changed);
};

}  // namespace quorvel
