// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <poll.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/dbus/ModemManagerClient.hpp"

namespace quorvel {

// Keeps ModemManager's modem registrations current from its signals (PropertiesChanged of
// Modem3gpp, modems added and removed, ModemManager starting and stopping), so that a resident
// sampler asks `roaming()` at every sample without a D-Bus call.
//
// Signals are dispatched on a GLib main context:
// - `Dispatch::ThreadDefault`: the context that is the thread's default when the watch starts;
//   a GLib main loop running it (the window's) calls `onChange` by itself.
// - `Dispatch::OwnContext`: a context of the watch's own, for a program with its own poll loop:
//   add `descriptors()` to the poll set and call `dispatch()` when any of them is ready (or after
//   every wake-up). The descriptors stay the same for the life of the watch.
class ModemRegistrationWatch {
public:
    enum class Dispatch { ThreadDefault, OwnContext };
    using Callback = std::function<void()>;

    // Subscribes and reads the current registrations. nullptr (with `error` set) only when the
    // system bus cannot be reached; ModemManager not running is an empty list that fills when it
    // starts. `onChange` runs after every change, on the dispatching context.
    static std::unique_ptr<ModemRegistrationWatch> start(Dispatch dispatch, Callback onChange = {},
                                                         std::string* error = nullptr);
    ~ModemRegistrationWatch();
    ModemRegistrationWatch(const ModemRegistrationWatch&) = delete;
    ModemRegistrationWatch& operator=(const ModemRegistrationWatch&) = delete;

    const std::vector<ModemRegistration>& modems() const { return modems_; }
    bool roaming() const { return ModemManagerClient::anyRoaming(modems_); }
    // Whether the SIMs or the data interfaces may have changed since this was last asked (a
    // modem's SIM, slots, bearers or ports; a modem or ModemManager coming or going).
    bool takeSimsChanged() { return std::exchange(simsChanged_, false); }

    // Own context only: the descriptors to poll for reading, and the dispatch of what arrived.
    std::vector<pollfd> descriptors() const;
    void dispatch();
    // Own context only: dispatches until `done` holds, blocking between signals (for callers and
    // tests that wait for a change they caused).
    void dispatchUntil(const std::function<bool()>& done);

private:
    ModemRegistrationWatch(SystemBus bus, GMainContext* context, Callback onChange);
    void subscribe();
    void reload();
    void onSignal(const char* path, const char* interface, const char* member, GVariant* parameters);
    void onPropertiesChanged(const char* path, GVariant* parameters);
    void onInterfacesAdded(GVariant* parameters);
    void onInterfacesRemoved(GVariant* parameters);
    static void signalThunk(GDBusConnection*, const gchar* sender, const gchar* path, const gchar* interface,
                            const gchar* member, GVariant* parameters, gpointer self);

    SystemBus bus_;
    GMainContext* context_;  // owned reference; the thread default one for ThreadDefault
    Callback onChange_;
    std::vector<ModemRegistration> modems_;
    std::vector<guint> subscriptions_;
    bool simsChanged_ = false;
};

}  // namespace quorvel
