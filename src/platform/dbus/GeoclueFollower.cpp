// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/GeoclueFollower.hpp"

#include "platform/dbus/SystemBus.hpp"

#include <geoclue.h>

#include <cstdint>
#include <optional>

namespace quorvel {

namespace {

struct ErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};
using Error = std::unique_ptr<GError, ErrorFree>;

bool cancelled(const Error& error)
{
    return g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED);
}

std::string reasonOf(const Error& error)
{
    if (g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) {
        return "GeoClue does not answer";
    }
    if (g_error_matches(error.get(), G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
        g_error_matches(error.get(), G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER)) {
        return "GeoClue is not running";
    }
    g_dbus_error_strip_remote_error(error.get());
    return std::string("GeoClue refused: ") + error->message;
}

}  // namespace

std::unique_ptr<GeoclueFollower> GeoclueFollower::start(std::string desktopId, std::string* error)
{
    // The process's kept connection, GIO's shared one: GClueSimple uses it too, so one socket
    // to the bus serves the watcher's every question.
    const std::optional<SystemBus> system = SystemBus::connect(error);
    if (!system) {
        return nullptr;
    }
    GDBusConnection* bus = G_DBUS_CONNECTION(g_object_ref(system->connection()));
    // No session bus: no window can be told apart, and this one follows as on its own.
    GDBusConnection* session = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (session != nullptr) {
        g_dbus_connection_set_exit_on_close(session, FALSE);
    }
    return std::unique_ptr<GeoclueFollower>(new GeoclueFollower(std::move(desktopId), bus, session));
}

GeoclueFollower::GeoclueFollower(std::string desktopId, GDBusConnection* bus, GDBusConnection* session)
    : desktopId_(std::move(desktopId)),
      bus_(bus),
      session_(session),
      cancellable_(g_cancellable_new()),
      // Until the session bus has said, a window may be there: nothing is asked before.
      windowOpen_(session != nullptr)
{
    const PolledContext::Default scope(context_);
    nameWatch_ = g_bus_watch_name_on_connection(bus, kService, G_BUS_NAME_WATCHER_FLAGS_NONE, &onAppeared,
                                                &onVanished, this, nullptr);
    if (session_) {
        windowWatch_ = g_bus_watch_name_on_connection(session, desktopId_.c_str(), G_BUS_NAME_WATCHER_FLAGS_NONE,
                                                      &onWindowOpened, &onWindowClosed, this, nullptr);
    }
}

GeoclueFollower::~GeoclueFollower()
{
    drop();
    g_bus_unwatch_name(nameWatch_);
    if (windowWatch_ != 0) {
        g_bus_unwatch_name(windowWatch_);
    }
}

void GeoclueFollower::setFollowing(bool on)
{
    wanted_ = on;
    if (!active()) {
        drop();
    } else {
        resume();
    }
}

void GeoclueFollower::resume()
{
    if (active() && nameKnown_ && !simple_ && !starting_ && !refusedSinceAppeared_) {
        ask();
    }
}

void GeoclueFollower::ask()
{
    starting_ = true;
    const PolledContext::Default scope(context_);
    // A cheap question first, with a short timeout: GClueSimple itself waits for GeoClue's
    // first fix, which may take long, and would not tell a hanging GeoClue from a slow fix.
    // Asked with activation, so that a GeoClue started on demand starts.
    g_dbus_connection_call(bus_.get(), kService, "/org/freedesktop/GeoClue2/Manager",
                           "org.freedesktop.DBus.Properties", "Get",
                           g_variant_new("(ss)", "org.freedesktop.GeoClue2.Manager", "InUse"), G_VARIANT_TYPE("(v)"),
                           G_DBUS_CALL_FLAGS_NONE, kAnswerTimeoutMs, cancellable_.get(), &onPinged, this);
}

void GeoclueFollower::drop()
{
    if (!simple_ && !starting_) {
        return;  // asked at every wake-up: nothing to end costs nothing
    }
    g_cancellable_cancel(cancellable_.get());
    cancellable_.reset(g_cancellable_new());
    starting_ = false;
    if (simple_) {
        g_signal_handlers_disconnect_by_data(simple_.get(), this);
        // Stopped explicitly: the client object of GeoClue lives as long as our connection.
        if (GClueClient* client = gclue_simple_get_client(simple_.get())) {
            gclue_client_call_stop(client, nullptr, nullptr, nullptr);
        }
        // Kept until the next client is asked for: GClueSimple's own request for a location on
        // the way would call back into a freed object.
        retired_ = std::move(simple_);
    }
}

void GeoclueFollower::refused(const std::string& why)
{
    starting_ = false;
    refusedSinceAppeared_ = true;
    if (why != said_ && delegate_.unavailable) {
        delegate_.unavailable(why);
    }
    said_ = why;
}

void GeoclueFollower::onPinged(GObject* bus, GAsyncResult* result, gpointer data)
{
    GError* raw = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &raw);
    Error error(raw);
    if (cancelled(error)) {
        return;  // dropped: the follower may be gone
    }
    auto* self = static_cast<GeoclueFollower*>(data);
    if (reply == nullptr) {
        self->refused(reasonOf(error));
        return;
    }
    g_variant_unref(reply);
    // GeoClue gives one connection one client, and the stopped one's proxy deletes it when it
    // goes: it goes before the next is asked for, or it would take the new one with it.
    self->retired_.reset();
    gclue_simple_new_with_thresholds(self->desktopId_.c_str(), GCLUE_ACCURACY_LEVEL_EXACT, kTimeThresholdSeconds,
                                     kDistanceThresholdMetres, self->cancellable_.get(), &onReady, self);
}

void GeoclueFollower::onReady(GObject*, GAsyncResult* result, gpointer data)
{
    GError* raw = nullptr;
    GClueSimple* simple = gclue_simple_new_with_thresholds_finish(result, &raw);
    Error error(raw);
    if (cancelled(error)) {
        return;
    }
    auto* self = static_cast<GeoclueFollower*>(data);
    if (simple == nullptr) {
        self->refused(reasonOf(error));
        return;
    }
    self->starting_ = false;
    self->said_.clear();
    self->simple_.reset(simple);
    g_signal_connect(simple, "notify::location", G_CALLBACK(&onLocation), self);
    self->report(true);
}

void GeoclueFollower::onLocation(GObject*, GParamSpec*, gpointer data)
{
    static_cast<GeoclueFollower*>(data)->report(false);
}

void GeoclueFollower::report(bool first)
{
    GClueLocation* where = gclue_simple_get_location(simple_.get());
    if (where == nullptr || !delegate_.located) {
        return;
    }
    Fix fix;
    fix.first = first;
    fix.location.latitude = gclue_location_get_latitude(where);
    fix.location.longitude = gclue_location_get_longitude(where);
    fix.location.horizontalAccuracy = gclue_location_get_accuracy(where);
    fix.location.timestamp = Date{static_cast<std::int64_t>(g_get_real_time() / G_USEC_PER_SEC)};
    if (fix.location.isValid()) {
        delegate_.located(fix);
    }
}

void GeoclueFollower::onAppeared(GDBusConnection*, const gchar*, const gchar*, gpointer data)
{
    auto* self = static_cast<GeoclueFollower*>(data);
    self->nameKnown_ = true;
    self->refusedSinceAppeared_ = false;
    self->resume();
}

void GeoclueFollower::onVanished(GDBusConnection*, const gchar*, gpointer data)
{
    auto* self = static_cast<GeoclueFollower*>(data);
    if (!self->nameKnown_) {
        // Not running now: asked once anyway, which starts a GeoClue that is started on demand.
        self->nameKnown_ = true;
        self->setFollowing(self->wanted_);
        return;
    }
    if (self->simple_) {
        self->drop();  // its client went with it; the next appearance starts a new one
        self->refused("GeoClue stopped");
    }
}

void GeoclueFollower::onWindowOpened(GDBusConnection*, const gchar*, const gchar*, gpointer data)
{
    auto* self = static_cast<GeoclueFollower*>(data);
    self->windowOpen_ = true;
    self->drop();
}

void GeoclueFollower::onWindowClosed(GDBusConnection*, const gchar*, gpointer data)
{
    auto* self = static_cast<GeoclueFollower*>(data);
    self->windowOpen_ = false;
    self->resume();
}

}  // namespace quorvel
