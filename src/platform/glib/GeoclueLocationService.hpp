// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gio/gio.h>

#include <string>

#include "platform/LocationService.hpp"
#include "platform/glib/GObjectHandle.hpp"

typedef struct _GClueSimple GClueSimple;

namespace quorvel {

// Significant location changes from GeoClue: a new position is reported only when the device
// moved further than the distance threshold and the time threshold has passed. Without the
// GeoClue service, or without permission, there is no location; that is said once.
class GeoclueLocationService final : public LocationService {
public:
    // GeoClue asks the user on behalf of this desktop id.
    explicit GeoclueLocationService(std::string desktopId);
    ~GeoclueLocationService() override;
    GeoclueLocationService(const GeoclueLocationService&) = delete;
    GeoclueLocationService& operator=(const GeoclueLocationService&) = delete;

    void setDelegate(Delegate delegate) override { delegate_ = std::move(delegate); }
    void configure(double distanceFilter, double desiredAccuracy, const std::string& purpose) override;
    void startMonitoringSignificantLocationChanges() override;
    void stopMonitoringSignificantLocationChanges() override;
    // GeoClue has one kind of update: the window's foreground restart ends it here, and the
    // monitoring that follows asks GeoClue afresh.
    void stopUpdatingLocation() override { stopMonitoringSignificantLocationChanges(); }

    // What a significant change is on the desktop: half a kilometre, at most once a minute.
    static constexpr unsigned kDistanceThresholdMetres = 500;
    static constexpr unsigned kTimeThresholdSeconds = 60;

private:
    static void onReady(GObject* source, GAsyncResult* result, gpointer self);
    static void onLocation(GObject* simple, GParamSpec* pspec, gpointer self);
    void report();
    void unavailable(const std::string& why);

    std::string desktopId_;
    Delegate delegate_;
    GObjectHandle<GCancellable> cancellable_;
    GObjectHandle<GClueSimple> simple_;
    bool starting_ = false;
    bool toldUnavailable_ = false;
};

}  // namespace quorvel
