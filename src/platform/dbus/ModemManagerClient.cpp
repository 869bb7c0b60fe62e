// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/ModemManagerClient.hpp"

#include <algorithm>

namespace quorvel {

bool ModemManagerClient::isRoaming(std::uint32_t registrationState)
{
    return registrationState == 5 || registrationState == 7 || registrationState == 10;
}

bool ModemManagerClient::anyRoaming(const std::vector<ModemRegistration>& modems)
{
    return std::any_of(modems.begin(), modems.end(), [](const ModemRegistration& modem) {
        return modem.registrationState && isRoaming(*modem.registrationState);
    });
}

void ModemManagerClient::applyChanges(ModemRegistration& modem, GVariant* changed)
{
    if (const std::optional<std::uint32_t> state = lookupUint32(changed, "RegistrationState")) {
        modem.registrationState = state;
    }
    if (std::optional<std::string> name = lookupString(changed, "OperatorName")) {
        modem.operatorName = std::move(name);
    }
}

std::optional<ModemRegistration> ModemManagerClient::fromInterfaces(const char* path, GVariant* interfaces)
{
    const Variant modemProperties(g_variant_lookup_value(interfaces, kModemInterface, G_VARIANT_TYPE("a{sv}")));
    const Variant properties(g_variant_lookup_value(interfaces, k3gppInterface, G_VARIANT_TYPE("a{sv}")));
    if (!modemProperties && !properties) {
        return std::nullopt;  // a SIM, a bearer or another object beside the modems
    }
    ModemRegistration modem{path, std::nullopt, std::nullopt};
    if (properties) {
        applyChanges(modem, properties.get());
    }
    return modem;
}

bool ModemManagerClient::forEachObject(const SystemBus& bus,
                                       const std::function<void(const char* path, GVariant* interfaces)>& visit)
{
    const BusReply reply =
        bus.call(kService, kPath, "org.freedesktop.DBus.ObjectManager", "GetManagedObjects", nullptr, "(a{oa{sa{sv}}})");
    if (!reply) {
        return false;
    }
    const Variant objects(g_variant_get_child_value(reply.value.get(), 0));
    GVariantIter iter;
    const gchar* path = nullptr;
    GVariant* interfaces = nullptr;
    g_variant_iter_init(&iter, objects.get());
    while (g_variant_iter_next(&iter, "{&o@a{sa{sv}}}", &path, &interfaces)) {
        const Variant owned(interfaces);
        visit(path, interfaces);
    }
    return true;
}

std::optional<std::vector<ModemRegistration>> ModemManagerClient::modems()
{
    const std::optional<SystemBus> bus = SystemBus::connect();
    if (!bus) {
        return std::nullopt;
    }
    return modems(*bus);
}

std::optional<std::vector<ModemRegistration>> ModemManagerClient::modems(const SystemBus& bus)
{
    if (!bus.hasOwner(kService)) {
        return std::nullopt;
    }
    std::vector<ModemRegistration> found;
    forEachObject(bus, [&](const char* path, GVariant* interfaces) {
        if (std::optional<ModemRegistration> modem = fromInterfaces(path, interfaces)) {
            found.push_back(std::move(*modem));
        }
    });  // running but not telling: no modem known
    std::sort(found.begin(), found.end(),
              [](const ModemRegistration& a, const ModemRegistration& b) { return a.path < b.path; });
    return found;
}

}  // namespace quorvel
