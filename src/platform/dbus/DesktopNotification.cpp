// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/DesktopNotification.hpp"

#include <gio/gio.h>

#include <memory>

namespace quorvel {

namespace {
struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using Owned = std::unique_ptr<T, ObjectUnref>;
}  // namespace

bool DesktopNotification::send(const std::string& applicationId, const LocalNotification& n, std::string& why)
{
    g_set_application_name("Quorvel");
    // Not unique: a running window keeps its name, and this process only borrows the identity.
    Owned<GApplication> app(g_application_new(applicationId.c_str(), G_APPLICATION_NON_UNIQUE));
    GError* error = nullptr;
    if (!g_application_register(app.get(), nullptr, &error)) {
        why = error != nullptr ? error->message : "cannot register on the session bus";
        g_clear_error(&error);
        return false;
    }
    if (g_application_get_dbus_connection(app.get()) == nullptr) {
        why = "no session bus";
        return false;
    }
    Owned<GNotification> notification(g_notification_new(n.title.c_str()));
    g_notification_set_body(notification.get(), n.body.c_str());
    g_notification_set_default_action_and_target_value(
        notification.get(), "app.show-alert",
        g_variant_new("(sss)", n.title.c_str(), n.body.c_str(), n.type.c_str()));
    // The same slot as the window's: a newer alert replaces one still on screen.
    g_application_send_notification(app.get(), "usage-alert", notification.get());
    // The request leaves on the bus before the process ends.
    g_dbus_connection_flush_sync(g_application_get_dbus_connection(app.get()), nullptr, nullptr);
    return true;
}

}  // namespace quorvel
