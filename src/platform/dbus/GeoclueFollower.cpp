// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/GeoclueFollower.hpp"

#include "platform/dbus/SystemBus.hpp"

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
    // The process's kept connection: one socket to the bus serves the watcher's every question.
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
    if (active() && nameKnown_ && !following_ && !starting_ && !refusedSinceAppeared_) {
        ask();
    }
}

void GeoclueFollower::callGeoclue(const char* path, const char* interface, const char* method, GVariant* parameters,
                                  const char* replyType, int timeoutMs, GAsyncReadyCallback done)
{
    const PolledContext::Default scope(context_);
    g_dbus_connection_call(bus_.get(), kService, path, interface, method, parameters,
                           replyType != nullptr ? G_VARIANT_TYPE(replyType) : nullptr, G_DBUS_CALL_FLAGS_NONE,
                           timeoutMs, cancellable_.get(), done != nullptr ? done : &ignored, this);
}

// A reply is asked for even where none is needed: GeoClue answers every call, and the bus logs
// an answer to a call that wanted none as a rejected message.
void GeoclueFollower::ignored(GObject* bus, GAsyncResult* result, gpointer)
{
    quietReply(bus, result);
}

void GeoclueFollower::ask()
{
    starting_ = true;
    // A cheap question first, with a short timeout, so that a hanging GeoClue is told apart from
    // one whose agent takes its time over the permission. Asked with activation, so that a
    // GeoClue started on demand starts.
    callGeoclue(kManagerPath, "org.freedesktop.DBus.Properties", "Get",
                g_variant_new("(ss)", "org.freedesktop.GeoClue2.Manager", "InUse"), "(v)", kAnswerTimeoutMs, &onPinged);
}

void GeoclueFollower::drop()
{
    if (!following_ && !starting_) {
        return;  // asked at every wake-up: nothing to end costs nothing
    }
    g_cancellable_cancel(cancellable_.get());
    cancellable_.reset(g_cancellable_new());
    starting_ = false;
    following_ = false;
    if (updates_ != 0) {
        g_dbus_connection_signal_unsubscribe(bus_.get(), updates_);
        updates_ = 0;
    }
    if (!client_.empty()) {
        // Deleted rather than stopped: the next client starts afresh, and its first fix comes
        // without waiting for a move. Never by activation, so a GeoClue that went stays gone.
        g_dbus_connection_call(bus_.get(), kService, kManagerPath, "org.freedesktop.GeoClue2.Manager", "DeleteClient",
                               g_variant_new("(o)", client_.c_str()), nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START,
                               kAnswerTimeoutMs, nullptr, &ignored, nullptr);
        client_.clear();
    }
}

void GeoclueFollower::refused(const std::string& why)
{
    // Refusals come before following: a client that was turned away never started, and one of a
    // GeoClue that went is gone with it. Deleting it would only wake the watcher for the answer.
    client_.clear();
    drop();
    refusedSinceAppeared_ = true;
    if (why != said_ && delegate_.unavailable) {
        delegate_.unavailable(why);
    }
    said_ = why;
}

// The reply of a call whose failure says nothing: null when it failed or was cancelled.
Variant GeoclueFollower::quietReply(GObject* bus, GAsyncResult* result)
{
    GError* raw = nullptr;
    Variant reply{g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &raw)};
    g_clear_error(&raw);
    return reply;
}

// The reply of a call to GeoClue; nullptr when it was cancelled (the follower may be gone, so
// `self` is left alone) or failed, which is then said.
GVariant* GeoclueFollower::answer(GObject* bus, GAsyncResult* result, gpointer data, GeoclueFollower** self)
{
    GError* raw = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &raw);
    Error error(raw);
    if (cancelled(error)) {
        return nullptr;
    }
    *self = static_cast<GeoclueFollower*>(data);
    if (reply == nullptr) {
        (*self)->refused(reasonOf(error));
    }
    return reply;
}

void GeoclueFollower::onPinged(GObject* bus, GAsyncResult* result, gpointer data)
{
    GeoclueFollower* self = nullptr;
    if (const Variant reply{answer(bus, result, data, &self)}) {
        self->callGeoclue(kManagerPath, "org.freedesktop.GeoClue2.Manager", "GetClient", nullptr, "(o)",
                          kAnswerTimeoutMs, &onClient);
    }
}

// Its answer is not waited for: Start's tells whether GeoClue took the settings.
void GeoclueFollower::setClientProperty(const char* name, GVariant* value)
{
    callGeoclue(client_.c_str(), "org.freedesktop.DBus.Properties", "Set",
                g_variant_new("(ssv)", "org.freedesktop.GeoClue2.Client", name, value), nullptr, kAnswerTimeoutMs,
                nullptr);
}

void GeoclueFollower::onClient(GObject* bus, GAsyncResult* result, gpointer data)
{
    GeoclueFollower* self = nullptr;
    const Variant reply{answer(bus, result, data, &self)};
    if (!reply) {
        return;
    }
    const gchar* path = nullptr;
    g_variant_get(reply.get(), "(&o)", &path);
    self->client_ = path;
    {
        const PolledContext::Default scope(self->context_);
        self->updates_ = g_dbus_connection_signal_subscribe(
            G_DBUS_CONNECTION(bus), kService, "org.freedesktop.GeoClue2.Client", "LocationUpdated", path, nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE, &onLocationUpdated, self, nullptr);
    }
    // GeoClue takes one connection's calls in order: the settings are in place before Start,
    // whose answer tells whether any of them was refused.
    self->setClientProperty("DesktopId", g_variant_new_string(self->desktopId_.c_str()));
    self->setClientProperty("DistanceThreshold", g_variant_new_uint32(kDistanceThresholdMetres));
    self->setClientProperty("TimeThreshold", g_variant_new_uint32(kTimeThresholdSeconds));
    self->setClientProperty("RequestedAccuracyLevel", g_variant_new_uint32(kAccuracyExact));
    // Without a timeout: GeoClue's agent may be asking the user.
    self->callGeoclue(path, "org.freedesktop.GeoClue2.Client", "Start", nullptr, nullptr, G_MAXINT, &onStarted);
}

void GeoclueFollower::onStarted(GObject* bus, GAsyncResult* result, gpointer data)
{
    GeoclueFollower* self = nullptr;
    if (const Variant reply{answer(bus, result, data, &self)}) {
        self->starting_ = false;
        self->following_ = true;
        self->first_ = true;
        self->lastLocation_.clear();
        // A location GeoClue already had may have been announced before the subscription was
        // in place: it is read from the client.
        self->callGeoclue(self->client_.c_str(), "org.freedesktop.DBus.Properties", "Get",
                          g_variant_new("(ss)", "org.freedesktop.GeoClue2.Client", "Location"), "(v)", kAnswerTimeoutMs,
                          &onCurrent);
    }
}

void GeoclueFollower::onCurrent(GObject* bus, GAsyncResult* result, gpointer data)
{
    const Variant reply = quietReply(bus, result);
    if (!reply) {
        return;  // cancelled (the follower may be gone), or without an answer: the next LocationUpdated tells
    }
    const Variant value{g_variant_get_child_value(reply.get(), 0)};
    const Variant path{g_variant_get_variant(value.get())};
    if (g_variant_is_of_type(path.get(), G_VARIANT_TYPE_OBJECT_PATH)) {
        static_cast<GeoclueFollower*>(data)->read(g_variant_get_string(path.get(), nullptr));
    }
}

void GeoclueFollower::onLocationUpdated(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                        GVariant* parameters, gpointer data)
{
    auto* self = static_cast<GeoclueFollower*>(data);
    const gchar* newPath = nullptr;
    g_variant_get(parameters, "(&o&o)", nullptr, &newPath);
    if (self->following_) {
        self->read(newPath);
    }
}

void GeoclueFollower::read(const std::string& locationPath)
{
    if (locationPath == "/" || locationPath == lastLocation_) {
        return;  // none yet, or read already
    }
    lastLocation_ = locationPath;
    callGeoclue(locationPath.c_str(), "org.freedesktop.DBus.Properties", "GetAll",
                g_variant_new("(s)", "org.freedesktop.GeoClue2.Location"), "(a{sv})", kAnswerTimeoutMs, &onRead);
}

void GeoclueFollower::onRead(GObject* bus, GAsyncResult* result, gpointer data)
{
    // Cancelled, or a location replaced before it was read: the next one is on its way.
    if (const Variant reply = quietReply(bus, result)) {
        const Variant properties{g_variant_get_child_value(reply.get(), 0)};
        static_cast<GeoclueFollower*>(data)->report(properties.get());
    }
}

void GeoclueFollower::report(GVariant* properties)
{
    Fix fix;
    if (!g_variant_lookup(properties, "Latitude", "d", &fix.location.latitude) ||
        !g_variant_lookup(properties, "Longitude", "d", &fix.location.longitude) ||
        !g_variant_lookup(properties, "Accuracy", "d", &fix.location.horizontalAccuracy)) {
        return;
    }
    fix.location.timestamp = Date{static_cast<std::int64_t>(g_get_real_time() / G_USEC_PER_SEC)};
    if (!fix.location.isValid() || !delegate_.located) {
        return;
    }
    fix.first = first_;
    first_ = false;
    said_.clear();
    delegate_.located(fix);
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
    if (self->following_ || self->starting_) {
        self->refused("GeoClue stopped");  // its client went with it; the next appearance starts a new one
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
