// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ModemManager played by dbusmock: its root object with the object manager, and modems with
// their 3GPP registration, announced and changed as ModemManager does.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MockBus.hpp"

namespace quorvel::test {

inline constexpr const char* kModemManagerRoot = "/org/freedesktop/ModemManager1";
inline constexpr const char* kModem0 = "/org/freedesktop/ModemManager1/Modem/0";
inline constexpr const char* kModem3gpp = "org.freedesktop.ModemManager1.Modem.Modem3gpp";

inline std::unique_ptr<MockService> startModemManager()
{
    return MockService::plain("org.freedesktop.ModemManager1", kModemManagerRoot, "org.freedesktop.ModemManager1",
                              true);
}

inline std::string modemInterfacesText(std::uint32_t state, const std::string& operatorName)
{
    return "{'org.freedesktop.ModemManager1.Modem': {'State': <int32 11>},"
           " 'org.freedesktop.ModemManager1.Modem.Modem3gpp': {'RegistrationState': <uint32 " +
           std::to_string(state) + ">, 'OperatorName': <'" + operatorName + "'>}}";
}

// A modem object with its 3GPP interface, announced as the object manager does.
inline void addModem(MockService& mm, const std::string& path, std::uint32_t state, const std::string& operatorName)
{
    mm.control(kModemManagerRoot, "AddObject",
               "('" + path + "', 'org.freedesktop.ModemManager1.Modem', {'State': <int32 11>}, @a(ssss) [])");
    mm.control(path, "AddProperties",
               "('" + std::string(kModem3gpp) + "', {'RegistrationState': <uint32 " + std::to_string(state) +
                   ">, 'OperatorName': <'" + operatorName + "'>})");
    mm.control(kModemManagerRoot, "EmitSignal",
               "('org.freedesktop.DBus.ObjectManager', 'InterfacesAdded', 'oa{sa{sv}}',"
               " [<objectpath '" + path + "'>, <" + modemInterfacesText(state, operatorName) + ">])");
}

inline void setRegistration(MockService& mm, const std::string& path, std::uint32_t state)
{
    mm.control(path, "UpdateProperties",
               "('" + std::string(kModem3gpp) + "', {'RegistrationState': <uint32 " + std::to_string(state) + ">})");
}

inline constexpr const char* kSimInterface = "org.freedesktop.ModemManager1.Sim";
inline std::string simPath(int n) { return "/org/freedesktop/ModemManager1/SIM/" + std::to_string(n); }

// A SIM object as ModemManager exports it (not among the managed objects' modems).
inline void addSim(MockService& mm, int n, const std::string& iccid, const std::string& imsi,
                   const std::string& operatorName)
{
    mm.control(kModemManagerRoot, "AddObject",
               "('" + simPath(n) + "', '" + kSimInterface + "', {'Active': <true>, 'SimIdentifier': <'" + iccid +
                   "'>, 'Imsi': <'" + imsi + "'>, 'OperatorIdentifier': <'26201'>, 'OperatorName': <'" +
                   operatorName + "'>}, @a(ssss) [])");
}

// A modem with SIM slots (paths or "/" for an empty one), the primary one's SIM active, a net
// port `port` and a control port.
inline void addSlottedModem(MockService& mm, const std::string& path, const std::vector<std::string>& slots,
                            std::uint32_t primary, const std::string& port)
{
    std::string list;
    for (const std::string& slot : slots) {
        list += (list.empty() ? "objectpath '" : ", '") + slot + "'";
    }
    mm.control(kModemManagerRoot, "AddObject",
               "('" + path + "', 'org.freedesktop.ModemManager1.Modem', {'State': <int32 11>, 'Sim': <objectpath '" +
                   slots[primary - 1] + "'>, 'SimSlots': <[" + list + "]>, 'PrimarySimSlot': <uint32 " +
                   std::to_string(primary) + ">, 'Ports': <[('" + port +
                   "', uint32 2), ('cdc-wdm0', uint32 6)]>, 'Bearers': <@ao []>}, @a(ssss) [])");
}

// The modem's primary slot switched: another SIM active, as ModemManager reports it.
inline void switchPrimarySlot(MockService& mm, const std::string& modem, const std::string& sim, std::uint32_t slot)
{
    // Set, not UpdateProperties: this dbusmock cannot wrap an object path for the latter.
    mm.call(modem, "org.freedesktop.DBus.Properties", "Set",
            "('org.freedesktop.ModemManager1.Modem', 'PrimarySimSlot', <uint32 " + std::to_string(slot) + ">)");
    mm.call(modem, "org.freedesktop.DBus.Properties", "Set",
            "('org.freedesktop.ModemManager1.Modem', 'Sim', <objectpath '" + sim + "'>)");
}

}  // namespace quorvel::test
