// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gio/gio.h>

#include <memory>
#include <string>

#include "platform/FollowedLocationSource.hpp"
#include "platform/dbus/PolledContext.hpp"
#include "platform/dbus/SystemBus.hpp"

namespace quorvel {

// GeoClue's significant location changes for a poll loop, on a context of its own. It talks to
// GeoClue's client object directly: it listens for LocationUpdated alone and reads each new
// location once. A proxy kept on the location would follow its properties, and GeoClue moves the
// location's timestamp with every fix of the receiver, once a second while the device stands
// still: the watcher would wake as often.
// A GeoClue that is not there, refuses or does not answer is said once and asked again only when
// its name appears on the system bus (a name-owner watch, no polling). While the window owns the
// application's name on the session bus it follows GeoClue itself, and this one leaves it: one
// client per user, whose fixes land in the one state.
class GeoclueFollower final : public FollowedLocationSource {
public:
    // What a significant change is, the same as for the window: half a kilometre, at most once a
    // minute; the best accuracy, since a place is told apart from its neighbours within 100 m.
    static constexpr unsigned kDistanceThresholdMetres = 500;
    static constexpr unsigned kTimeThresholdSeconds = 60;
    // A GeoClue that hangs must not hold up counting for longer.
    static constexpr int kAnswerTimeoutMs = 2000;
    static constexpr const char* kService = "org.freedesktop.GeoClue2";
    static constexpr const char* kManagerPath = "/org/freedesktop/GeoClue2/Manager";
    static constexpr unsigned kAccuracyExact = 8;  // the finest of GeoClue's accuracy levels

    // GeoClue asks on behalf of `desktopId`, which is also the window's name on the session bus.
    // nullptr (with `error` set) when the system bus cannot be reached; without a session bus it
    // follows whatever the window does.
    static std::unique_ptr<GeoclueFollower> start(std::string desktopId, std::string* error);
    ~GeoclueFollower() override;
    GeoclueFollower(const GeoclueFollower&) = delete;
    GeoclueFollower& operator=(const GeoclueFollower&) = delete;

    void setDelegate(Delegate delegate) override { delegate_ = std::move(delegate); }
    void setFollowing(bool on) override;
    std::vector<pollfd> descriptors() override { return context_.descriptors(); }
    void dispatch() override { context_.dispatch(); }

private:
    struct ObjectUnref {
        void operator()(gpointer p) const { g_object_unref(p); }
    };
    template <class T>
    using Owned = std::unique_ptr<T, ObjectUnref>;

    GeoclueFollower(std::string desktopId, GDBusConnection* bus, GDBusConnection* session);
    bool active() const { return wanted_ && !windowOpen_; }
    // Asks GeoClue when following is wanted, it is there and nothing is on the way.
    void resume();
    void ask();
    // Ends the client or the request on the way; a request ended so never calls back.
    void drop();
    void refused(const std::string& why);
    // A call to GeoClue on the kept connection, answered on this context.
    void callGeoclue(const char* path, const char* interface, const char* method, GVariant* parameters,
                     const char* replyType, int timeoutMs, GAsyncReadyCallback done);
    void setClientProperty(const char* name, GVariant* value);
    void read(const std::string& locationPath);
    void report(GVariant* properties);
    static Variant quietReply(GObject* bus, GAsyncResult* result);
    static void ignored(GObject* bus, GAsyncResult* result, gpointer unused);
    static GVariant* answer(GObject* bus, GAsyncResult* result, gpointer data, GeoclueFollower** self);
    static void onPinged(GObject* bus, GAsyncResult* result, gpointer self);
    static void onClient(GObject* bus, GAsyncResult* result, gpointer self);
    static void onStarted(GObject* bus, GAsyncResult* result, gpointer self);
    static void onCurrent(GObject* bus, GAsyncResult* result, gpointer self);
    static void onRead(GObject* bus, GAsyncResult* result, gpointer self);
    static void onLocationUpdated(GDBusConnection* bus, const gchar* sender, const gchar* path, const gchar* interface,
                                  const gchar* signal, GVariant* parameters, gpointer self);
    static void onAppeared(GDBusConnection* bus, const gchar* name, const gchar* owner, gpointer self);
    static void onVanished(GDBusConnection* bus, const gchar* name, gpointer self);
    static void onWindowOpened(GDBusConnection* bus, const gchar* name, const gchar* owner, gpointer self);
    static void onWindowClosed(GDBusConnection* bus, const gchar* name, gpointer self);

    PolledContext context_;
    std::string desktopId_;
    Owned<GDBusConnection> bus_;
    Owned<GDBusConnection> session_;  // null without a session bus
    Owned<GCancellable> cancellable_;
    std::string client_;        // GeoClue's client object for this connection, while one is asked for
    std::string lastLocation_;  // the location object read last, so that each is reported once
    Delegate delegate_;
    guint nameWatch_ = 0;
    guint updates_ = 0;  // the subscription to the client's LocationUpdated
    guint windowWatch_ = 0;
    bool windowOpen_ = false;
    bool nameKnown_ = false;  // the watch has said whether GeoClue is there
    bool wanted_ = false;
    bool starting_ = false;   // asked, and not yet started
    bool following_ = false;  // started
    bool first_ = true;       // the next fix is the first since following began
    bool refusedSinceAppeared_ = false;
    std::string said_;  // the last reason given, so that each is said once
};

}  // namespace quorvel
