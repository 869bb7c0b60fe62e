// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gio/gio.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

struct VariantUnref {
    void operator()(GVariant* v) const { g_variant_unref(v); }
};
// An owned GVariant reference.
using Variant = std::unique_ptr<GVariant, VariantUnref>;

// The answer of one call: the reply, or the D-Bus error text ("org.example.Error.Name: message").
struct BusReply {
    Variant value;
    std::string error;
    bool unknownMember = false;  // the service has no such method, property or interface
    bool timedOut = false;
    explicit operator bool() const { return value != nullptr; }
};

// The process's connection to the system bus (DBUS_SYSTEM_BUS_ADDRESS honoured when it is made),
// made on first use and kept, with plain synchronous calls: no main loop is needed. Calls never start a service by activation, so
// asking about a service that is not running does not launch it.
class SystemBus {
public:
    // Short: a service that hangs must not hold up a sample.
    static constexpr int kCallTimeoutMs = 2000;

    // std::nullopt when the bus cannot be reached; `error` (if given) then says why.
    static std::optional<SystemBus> connect(std::string* error = nullptr);

    bool hasOwner(const char* busName) const;

    BusReply call(const char* busName, const char* path, const char* interface, const char* method,
                  GVariant* parameters, const char* replyType) const;
    // The value inside the reply of Properties.Get, unwrapped from its variant.
    BusReply getProperty(const char* busName, const char* path, const char* interface, const char* name) const;
    // Properties.GetAll: an a{sv} dictionary.
    BusReply getAllProperties(const char* busName, const char* path, const char* interface) const;
    BusReply setProperty(const char* busName, const char* path, const char* interface, const char* name,
                         GVariant* value) const;

    GDBusConnection* connection() const { return connection_.get(); }

private:
    struct ObjectUnref {
        void operator()(gpointer p) const { g_object_unref(p); }
    };
    explicit SystemBus(GDBusConnection* connection) : connection_(connection) {}
    // A new reference to the kept connection, made (again) when there is none or it closed.
    static GDBusConnection* kept(std::string* errorText);
    static GDBusConnection* privateConnection(std::string* errorText);
    std::unique_ptr<GDBusConnection, ObjectUnref> connection_;
};

// Dictionary lookups that say "unknown" (nullopt) for a missing key or a value of another type.
std::optional<std::uint32_t> lookupUint32(GVariant* dictionary, const char* key);
std::optional<std::string> lookupString(GVariant* dictionary, const char* key);
// The paths of an "ao" value; empty for anything else.
std::vector<std::string> objectPathList(GVariant* list);

}  // namespace quorvel
