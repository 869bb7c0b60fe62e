// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/ModemSimDirectory.hpp"

#include <algorithm>

#include "platform/dbus/ModemManagerClient.hpp"

namespace quorvel {

namespace {

constexpr const char* kNoObject = "/";

std::optional<bool> lookupBool(GVariant* dictionary, const char* key)
{
    gboolean value = FALSE;
    if (!g_variant_lookup(dictionary, key, "b", &value)) {
        return std::nullopt;
    }
    return value != FALSE;
}

std::string stringOr(GVariant* dictionary, const char* key)
{
    return lookupString(dictionary, key).value_or("");
}

std::string objectPath(GVariant* dictionary, const char* key)
{
    const gchar* path = nullptr;
    return g_variant_lookup(dictionary, key, "&o", &path) ? std::string(path) : std::string(kNoObject);
}

void addUnique(std::vector<std::string>& names, std::string name)
{
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(std::move(name));
    }
}

// The modem's net ports, then the interfaces of its connected bearers.
std::vector<std::string> dataInterfaces(const SystemBus& bus, GVariant* modem)
{
    std::vector<std::string> names;
    if (const Variant ports{g_variant_lookup_value(modem, "Ports", G_VARIANT_TYPE("a(su)"))}) {
        GVariantIter iter;
        const gchar* name = nullptr;
        guint32 type = 0;
        g_variant_iter_init(&iter, ports.get());
        while (g_variant_iter_next(&iter, "(&su)", &name, &type)) {
            if (type == ModemSimDirectory::kNetPort) {
                addUnique(names, name);
            }
        }
    }
    const Variant bearers{g_variant_lookup_value(modem, "Bearers", G_VARIANT_TYPE("ao"))};
    for (const std::string& path : objectPathList(bearers.get())) {
        const BusReply all = bus.getAllProperties(ModemManagerClient::kService, path.c_str(),
                                                  ModemSimDirectory::kBearerInterface);
        if (all && lookupBool(all.value.get(), "Connected").value_or(false)) {
            addUnique(names, stringOr(all.value.get(), "Interface"));
        }
    }
    return names;
}

}  // namespace

std::optional<SimCardList> ModemSimDirectory::sims()
{
    const std::optional<SystemBus> bus = SystemBus::connect();
    return bus ? simsOn(*bus) : std::nullopt;
}

std::optional<SimCardList> ModemSimDirectory::simsOn(const SystemBus& bus)
{
    if (!bus.hasOwner(ModemManagerClient::kService)) {
        return std::nullopt;
    }
    SimCardList found;
    const bool answered = ModemManagerClient::forEachObject(bus, [&](const char* path, GVariant* interfaces) {
        const Variant modem(
            g_variant_lookup_value(interfaces, ModemManagerClient::kModemInterface, G_VARIANT_TYPE("a{sv}")));
        if (modem) {
            addModemSims(bus, path, modem.get(), found);
        }
    });
    if (!answered) {
        return std::nullopt;  // hanging or refusing: as if there were none
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const SimCard& a, const SimCard& b) { return a.modemPath < b.modemPath; });
    return found;
}

void ModemSimDirectory::addModemSims(const SystemBus& bus, const char* modemPath, GVariant* modem, SimCardList& found)
{
    const std::string activePath = objectPath(modem, "Sim");
    std::vector<std::string> paths;
    addUnique(paths, activePath == kNoObject ? std::string() : activePath);
    const Variant slots{g_variant_lookup_value(modem, "SimSlots", G_VARIANT_TYPE("ao"))};
    for (std::string& slot : objectPathList(slots.get())) {
        addUnique(paths, slot == kNoObject ? std::string() : std::move(slot));  // "/" is an empty slot
    }
    for (const std::string& simPath : paths) {
        std::optional<SimCard> sim = readSim(bus, simPath);
        if (!sim || sim->key().empty()) {
            continue;  // gone meanwhile, or locked with nothing to tell it by
        }
        sim->modemPath = modemPath;
        sim->active = simPath == activePath;
        if (sim->active) {
            sim->interfaces = dataInterfaces(bus, modem);
        }
        found.push_back(std::move(*sim));
    }
}

std::optional<SimCard> ModemSimDirectory::readSim(const SystemBus& bus, const std::string& simPath)
{
    const BusReply all = bus.getAllProperties(ModemManagerClient::kService, simPath.c_str(), kSimInterface);
    if (!all) {
        return std::nullopt;
    }
    GVariant* p = all.value.get();
    SimCard sim;
    sim.iccid = stringOr(p, "SimIdentifier");
    sim.imsi = stringOr(p, "Imsi");
    sim.operatorName = stringOr(p, "OperatorName");
    sim.operatorId = stringOr(p, "OperatorIdentifier");
    return sim;
}

}  // namespace quorvel
