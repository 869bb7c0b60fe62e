// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ModemManager played by dbusmock: its root object with the object manager, and modems with
// their 3GPP registration, announced and changed as ModemManager does.
#include <cstdint>
#include <memory>
#include <string>

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

}  // namespace quorvel::test
