// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "platform/FollowedLocationSource.hpp"
#include "platform/FollowedRoamingSource.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/MobileDataSwitch.hpp"
#include "platform/NetworkDevices.hpp"
#include "platform/SimCards.hpp"

namespace quorvel {

// The services that talk to the system and session buses (GIO), built into one loadable module
// so that a command which asks no bus loads no GIO (see SystemBusModule). New bus services are
// added here and in the module's entry.
class SystemBusServices {
public:
    virtual ~SystemBusServices() = default;
    // NetworkManager's devices over the system bus.
    virtual std::unique_ptr<NetworkDeviceDirectory> networkDevices() = 0;
    // A desktop notification of the application `applicationId` on the session bus; false, with
    // the reason in `why`, when it cannot be sent.
    virtual bool sendDesktopNotification(const std::string& applicationId, const LocalNotification& notification,
                                         std::string& why) = 0;
    // ModemManager's SIMs over the system bus.
    virtual std::unique_ptr<SimCardDirectory> simCards() = 0;
    // Mobile data on and off through NetworkManager (connects when asked).
    virtual std::unique_ptr<MobileDataSwitch> mobileDataSwitch() = 0;
    // ModemManager's registration, followed in the caller's poll loop; nullptr (with `error`
    // set) when the system bus cannot be reached.
    virtual std::unique_ptr<FollowedRoamingSource> followRoaming(std::string* error) = 0;
    // GeoClue's significant location changes for the application `desktopId`, followed in the
    // caller's poll loop; nullptr (with `error` set) when the system bus cannot be reached.
    virtual std::unique_ptr<FollowedLocationSource> followLocation(const std::string& desktopId,
                                                                   std::string* error) = 0;
};

// The module's one entry point: its services, alive until the process ends (a pointer, as a
// function of C linkage returns no C++ reference).
using SystemBusServicesEntry = SystemBusServices* (*)();
inline constexpr const char* kSystemBusServicesEntry = "quorvel_system_bus_services";
inline constexpr const char* kSystemBusModuleFile = "quorvel-bus.so";

}  // namespace quorvel
