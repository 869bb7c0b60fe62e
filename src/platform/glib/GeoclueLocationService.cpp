// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/glib/GeoclueLocationService.hpp"

#include <geoclue.h>


namespace quorvel {

GeoclueLocationService::GeoclueLocationService(std::string desktopId)
    : desktopId_(std::move(desktopId)), cancellable_(g_cancellable_new())
{
}

GeoclueLocationService::~GeoclueLocationService()
{
    g_cancellable_cancel(cancellable_.get());
    if (simple_) {
        g_signal_handlers_disconnect_by_data(simple_.get(), this);
    }
}

void GeoclueLocationService::configure(double, double, const std::string&)
{
    // GeoClue shows the application's own name when it asks; the thresholds are fixed above.
}

void GeoclueLocationService::startMonitoringSignificantLocationChanges()
{
    if (simple_ || starting_ || toldUnavailable_) {
        return;  // already monitoring, on the way, or known to be unavailable
    }
    starting_ = true;
    // EXACT, as the resident counter asks: GeoClue starts its GPS (NMEA) source for no less,
    // and on a phone that is often the only source there is.
    gclue_simple_new_with_thresholds(desktopId_.c_str(), GCLUE_ACCURACY_LEVEL_EXACT, kTimeThresholdSeconds,
                                     kDistanceThresholdMetres, cancellable_.get(), &GeoclueLocationService::onReady,
                                     this);
}

void GeoclueLocationService::stopMonitoringSignificantLocationChanges()
{
    // Dropping the client object ends GeoClue's client; a start on the way is abandoned.
    g_cancellable_cancel(cancellable_.get());
    cancellable_.reset(g_cancellable_new());
    starting_ = false;
    if (simple_) {
        g_signal_handlers_disconnect_by_data(simple_.get(), this);
        simple_.reset();
    }
}

void GeoclueLocationService::onReady(GObject*, GAsyncResult* result, gpointer data)
{
    GError* error = nullptr;
    GClueSimple* simple = gclue_simple_new_with_thresholds_finish(result, &error);
    if (error != nullptr && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
        g_error_free(error);
        return;  // the service object is gone
    }
    auto* self = static_cast<GeoclueLocationService*>(data);
    self->starting_ = false;
    if (simple == nullptr) {
        self->unavailable(error != nullptr ? error->message : "no answer");
        if (error != nullptr) {
            g_error_free(error);
        }
        return;
    }
    self->simple_.reset(simple);
    g_signal_connect(simple, "notify::location", G_CALLBACK(&GeoclueLocationService::onLocation), self);
    self->report();
}

void GeoclueLocationService::onLocation(GObject*, GParamSpec*, gpointer data)
{
    static_cast<GeoclueLocationService*>(data)->report();
}

void GeoclueLocationService::report()
{
    GClueLocation* where = gclue_simple_get_location(simple_.get());
    if (where == nullptr || !delegate_.didUpdateToLocation) {
        return;
    }
    Location l;
    l.latitude = gclue_location_get_latitude(where);
    l.longitude = gclue_location_get_longitude(where);
    l.horizontalAccuracy = gclue_location_get_accuracy(where);
    l.timestamp = Date{static_cast<std::int64_t>(g_get_real_time() / G_USEC_PER_SEC)};
    if (l.isValid()) {
        delegate_.didUpdateToLocation(l);
    }
}

void GeoclueLocationService::unavailable(const std::string& why)
{
    // Said once, through the delegate's log line: monitoring is not tried again.
    if (toldUnavailable_) {
        return;
    }
    toldUnavailable_ = true;
    if (delegate_.didFailWithError) {
        delegate_.didFailWithError("location is unavailable (" + why + "); usage is counted but not mapped");
    }
}

}  // namespace quorvel
