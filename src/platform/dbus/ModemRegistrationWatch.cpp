// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/ModemRegistrationWatch.hpp"

#include <algorithm>
#include <cstring>

#include "platform/dbus/PolledContext.hpp"

namespace quorvel {

namespace {

constexpr const char* kObjectManager = "org.freedesktop.DBus.ObjectManager";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

}  // namespace

std::unique_ptr<ModemRegistrationWatch> ModemRegistrationWatch::start(Dispatch dispatch, Callback onChange,
                                                                      std::string* error)
{
    std::optional<SystemBus> bus = SystemBus::connect(error);
    if (!bus) {
        return nullptr;
    }
    // Polling from a thread that does not own the context must still be woken by the signals
    // GDBus's own thread queues there.
    GMainContext* context = dispatch == Dispatch::OwnContext
                                ? g_main_context_new_with_flags(G_MAIN_CONTEXT_FLAGS_OWNERLESS_POLLING)
                                : g_main_context_ref_thread_default();
    std::unique_ptr<ModemRegistrationWatch> watch(
        new ModemRegistrationWatch(std::move(*bus), context, std::move(onChange)));
    watch->subscribe();
    watch->reload();
    return watch;
}

ModemRegistrationWatch::ModemRegistrationWatch(SystemBus bus, GMainContext* context, Callback onChange)
    : bus_(std::move(bus)), context_(context), onChange_(std::move(onChange))
{
}

ModemRegistrationWatch::~ModemRegistrationWatch()
{
    for (guint id : subscriptions_) {
        g_dbus_connection_signal_unsubscribe(bus_.connection(), id);
    }
    g_main_context_unref(context_);
}

void ModemRegistrationWatch::subscribe()
{
    // Subscriptions deliver on the thread-default context at the time they are made.
    g_main_context_push_thread_default(context_);
    GDBusConnection* c = bus_.connection();
    const auto flags = G_DBUS_SIGNAL_FLAGS_NONE;
    using K = ModemManagerClient;
    subscriptions_.push_back(g_dbus_connection_signal_subscribe(c, K::kService, kProperties, "PropertiesChanged",
                                                                nullptr, K::k3gppInterface, flags, signalThunk, this,
                                                                nullptr));
    subscriptions_.push_back(g_dbus_connection_signal_subscribe(c, K::kService, kProperties, "PropertiesChanged",
                                                                nullptr, K::kModemInterface, flags, signalThunk, this,
                                                                nullptr));
    subscriptions_.push_back(g_dbus_connection_signal_subscribe(c, K::kService, kObjectManager, nullptr, K::kPath,
                                                                nullptr, flags, signalThunk, this, nullptr));
    subscriptions_.push_back(g_dbus_connection_signal_subscribe(c, "org.freedesktop.DBus", "org.freedesktop.DBus",
                                                                "NameOwnerChanged", "/org/freedesktop/DBus",
                                                                K::kService, flags, signalThunk, this, nullptr));
    g_main_context_pop_thread_default(context_);
}

void ModemRegistrationWatch::reload()
{
    modems_ = ModemManagerClient::modems(bus_).value_or(std::vector<ModemRegistration>{});
}

void ModemRegistrationWatch::signalThunk(GDBusConnection*, const gchar*, const gchar* path, const gchar* interface,
                                         const gchar* member, GVariant* parameters, gpointer self)
{
    static_cast<ModemRegistrationWatch*>(self)->onSignal(path, interface, member, parameters);
}

void ModemRegistrationWatch::onSignal(const char* path, const char* interface, const char* member,
                                      GVariant* parameters)
{
    if (std::strcmp(member, "PropertiesChanged") == 0) {
        onPropertiesChanged(path, parameters);
    } else if (std::strcmp(member, "InterfacesAdded") == 0) {
        onInterfacesAdded(parameters);
        simsChanged_ = true;
    } else if (std::strcmp(member, "InterfacesRemoved") == 0) {
        onInterfacesRemoved(parameters);
        simsChanged_ = true;
    } else if (std::strcmp(interface, "org.freedesktop.DBus") == 0) {
        reload();  // ModemManager started (read what it has) or stopped (nothing known)
        simsChanged_ = true;
    } else {
        return;
    }
    if (onChange_) {
        onChange_();
    }
}

void ModemRegistrationWatch::onPropertiesChanged(const char* path, GVariant* parameters)
{
    const Variant changed(g_variant_get_child_value(parameters, 1));
    const gchar* interface = nullptr;
    g_variant_get_child(parameters, 0, "&s", &interface);
    if (std::strcmp(interface, ModemManagerClient::kModemInterface) == 0) {
        for (const char* key : {"Sim", "SimSlots", "PrimarySimSlot", "Bearers", "Ports"}) {
            const Variant value(g_variant_lookup_value(changed.get(), key, nullptr));
            simsChanged_ = simsChanged_ || value != nullptr;
        }
        return;  // the registration is the 3GPP interface's
    }
    for (ModemRegistration& modem : modems_) {
        if (modem.path == path) {
            ModemManagerClient::applyChanges(modem, changed.get());
            return;
        }
    }
    // A modem that was not announced: read everything again rather than guess.
    reload();
}

void ModemRegistrationWatch::onInterfacesAdded(GVariant* parameters)
{
    const gchar* path = nullptr;
    GVariant* interfaces = nullptr;
    g_variant_get(parameters, "(&o@a{sa{sv}})", &path, &interfaces);
    const Variant owned(interfaces);
    std::optional<ModemRegistration> added = ModemManagerClient::fromInterfaces(path, interfaces);
    if (!added) {
        return;
    }
    const auto known = std::find_if(modems_.begin(), modems_.end(),
                                    [&](const ModemRegistration& modem) { return modem.path == path; });
    if (known == modems_.end()) {
        modems_.push_back(std::move(*added));
    } else if (added->registrationState || added->operatorName) {
        *known = std::move(*added);
    }
}

void ModemRegistrationWatch::onInterfacesRemoved(GVariant* parameters)
{
    const gchar* path = nullptr;
    GVariantIter* removed = nullptr;
    g_variant_get(parameters, "(&oas)", &path, &removed);
    bool modemGone = false;
    const gchar* name = nullptr;
    while (g_variant_iter_next(removed, "&s", &name)) {
        modemGone = modemGone || std::strcmp(name, ModemManagerClient::kModemInterface) == 0;
    }
    g_variant_iter_free(removed);
    if (modemGone) {
        std::erase_if(modems_, [&](const ModemRegistration& modem) { return modem.path == path; });
    }
}

std::vector<pollfd> ModemRegistrationWatch::descriptors() const
{
    return PolledContext::descriptorsOf(context_);
}

void ModemRegistrationWatch::dispatch()
{
    while (g_main_context_iteration(context_, FALSE)) {
    }
}

void ModemRegistrationWatch::dispatchUntil(const std::function<bool()>& done)
{
    while (!done()) {
        g_main_context_iteration(context_, TRUE);
    }
}

}  // namespace quorvel
