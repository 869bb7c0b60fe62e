// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>

#include "platform/Location.hpp"

namespace quorvel {

// Significant-change location monitoring: reports a new location when the device moved far
// enough, or a failure. Without a service, nothing is reported.
class LocationService {
public:
    struct Delegate {
        std::function<void(const Location&)> didUpdateToLocation;
        std::function<void(const std::string&)> didFailWithError;
    };

    virtual ~LocationService() = default;
    virtual void setDelegate(Delegate delegate) = 0;
    // Distance filter and desired accuracy in metres, and the purpose shown to the user.
    virtual void configure(double distanceFilter, double desiredAccuracy, const std::string& purpose) = 0;
    virtual void startMonitoringSignificantLocationChanges() = 0;
    // Stops asking the service for the location at all, until monitoring is started again.
    virtual void stopMonitoringSignificantLocationChanges() = 0;
    // Stops the standard (continuous) updates; where the service has only one kind, that one.
    virtual void stopUpdatingLocation() = 0;
};

}  // namespace quorvel
