// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/SystemBus.hpp"

#include <mutex>
#include <string_view>

namespace quorvel {

namespace {

struct ErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};
using Error = std::unique_ptr<GError, ErrorFree>;

bool namesUnknownMember(std::string_view errorName)
{
    for (std::string_view tail : {".UnknownMethod", ".UnknownProperty", ".UnknownInterface", ".UnknownObject"}) {
        if (errorName.ends_with(tail)) {
            return true;
        }
    }
    return false;
}

BusReply failure(GError* raw)
{
    Error error(raw);
    BusReply reply;
    reply.timedOut = g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_TIMED_OUT);
    std::unique_ptr<gchar, decltype(&g_free)> name(g_dbus_error_get_remote_error(error.get()), g_free);
    g_dbus_error_strip_remote_error(error.get());
    if (name) {
        reply.unknownMember = namesUnknownMember(name.get());
        reply.error = std::string(name.get()) + ": " + error->message;
    } else {
        reply.error = error->message;
    }
    return reply;
}

}  // namespace

// The process's one connection to the system bus, GIO's own (that GeoClue's client uses too),
// kept from its first use to the end: a watcher asks at every change of its links, and a new
// connection each time is a new peer for the bus to set up and tear down.
GDBusConnection* SystemBus::kept(std::string* errorText)
{
    static std::mutex guard;
    static std::unique_ptr<GDBusConnection, ObjectUnref> connection;
    const std::lock_guard<std::mutex> lock(guard);
    if (connection && g_dbus_connection_is_closed(connection.get())) {
        connection.reset();  // the bus went away: the next call connects again
    }
    if (!connection) {
        GError* raw = nullptr;
        GDBusConnection* fresh = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &raw);
        if (fresh == nullptr) {
            Error error(raw);
            if (errorText != nullptr) {
                *errorText = error ? error->message : "no system bus";
            }
            return nullptr;
        }
        // A bus that goes away ends what follows it, not the program.
        g_dbus_connection_set_exit_on_close(fresh, FALSE);
        connection.reset(fresh);
        if (g_dbus_connection_is_closed(fresh)) {
            // GIO still hands out the closed one while another holder keeps it: a private one then.
            connection.reset(privateConnection(errorText));
        }
    }
    return connection ? G_DBUS_CONNECTION(g_object_ref(connection.get())) : nullptr;
}

GDBusConnection* SystemBus::privateConnection(std::string* errorText)
{
    GError* raw = nullptr;
    std::unique_ptr<gchar, decltype(&g_free)> address(g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &raw),
                                                      g_free);
    GDBusConnection* connection = nullptr;
    if (address) {
        const auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
        connection = g_dbus_connection_new_for_address_sync(address.get(), flags, nullptr, nullptr, &raw);
    }
    if (connection == nullptr) {
        Error error(raw);
        if (errorText != nullptr) {
            *errorText = error ? error->message : "no system bus";
        }
    }
    return connection;
}

std::optional<SystemBus> SystemBus::connect(std::string* errorText)
{
    GDBusConnection* connection = kept(errorText);
    if (connection == nullptr) {
        return std::nullopt;
    }
    return SystemBus(connection);
}

bool SystemBus::hasOwner(const char* busName) const
{
    const BusReply reply = call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                "NameHasOwner", g_variant_new("(s)", busName), "(b)");
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply.value.get(), "(b)", &owned);
    }
    return owned != FALSE;
}

BusReply SystemBus::call(const char* busName, const char* path, const char* interface, const char* method,
                         GVariant* parameters, const char* replyType) const
{
    GError* raw = nullptr;
    GVariant* value = g_dbus_connection_call_sync(connection_.get(), busName, path, interface, method, parameters,
                                                  replyType ? G_VARIANT_TYPE(replyType) : nullptr,
                                                  G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, &raw);
    if (value == nullptr) {
        return failure(raw);
    }
    BusReply reply;
    reply.value.reset(value);
    return reply;
}

BusReply SystemBus::getProperty(const char* busName, const char* path, const char* interface, const char* name) const
{
    BusReply reply = call(busName, path, "org.freedesktop.DBus.Properties", "Get",
                          g_variant_new("(ss)", interface, name), "(v)");
    if (reply) {
        GVariant* inner = nullptr;
        g_variant_get(reply.value.get(), "(v)", &inner);
        reply.value.reset(inner);
    }
    return reply;
}

BusReply SystemBus::getAllProperties(const char* busName, const char* path, const char* interface) const
{
    BusReply reply = call(busName, path, "org.freedesktop.DBus.Properties", "GetAll", g_variant_new("(s)", interface),
                          "(a{sv})");
    if (reply) {
        reply.value.reset(g_variant_get_child_value(reply.value.get(), 0));
    }
    return reply;
}

BusReply SystemBus::setProperty(const char* busName, const char* path, const char* interface, const char* name,
                                GVariant* value) const
{
    return call(busName, path, "org.freedesktop.DBus.Properties", "Set",
                g_variant_new("(ssv)", interface, name, value), nullptr);
}

std::optional<std::uint32_t> lookupUint32(GVariant* dictionary, const char* key)
{
    guint32 value = 0;
    if (dictionary == nullptr || !g_variant_lookup(dictionary, key, "u", &value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> lookupString(GVariant* dictionary, const char* key)
{
    const gchar* value = nullptr;
    if (dictionary == nullptr || !g_variant_lookup(dictionary, key, "&s", &value)) {
        return std::nullopt;
    }
    return std::string(value);
}

std::vector<std::string> objectPathList(GVariant* list)
{
    std::vector<std::string> paths;
    if (list == nullptr || !g_variant_is_of_type(list, G_VARIANT_TYPE("ao"))) {
        return paths;
    }
    GVariantIter iter;
    const gchar* path = nullptr;
    g_variant_iter_init(&iter, list);
    while (g_variant_iter_next(&iter, "&o", &path)) {
        paths.emplace_back(path);
    }
    return paths;
}

}  // namespace quorvel
