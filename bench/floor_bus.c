// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the watcher's resident memory: a bare GIO program that joins the system bus and
// waits in GLib's main loop, as the watcher's bus part does, and nothing else.
#include <gio/gio.h>

int main(void)
{
    GError* error = NULL;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, NULL, &error);
    if (bus == NULL) {
        g_printerr("floor_bus: %s\n", error->message);
        return 1;
    }
    GMainLoop* loop = g_main_loop_new(NULL, FALSE);
    g_main_loop_run(loop);
    return 0;
}
