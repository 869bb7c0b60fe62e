// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point of the bus module (see platform/SystemBusModule.hpp): the one place that hands
// the GIO-backed services to a program that loaded the module on first use.
#include "platform/SystemBusServices.hpp"
#include "platform/dbus/DesktopNotification.hpp"
#include "platform/dbus/GeoclueFollower.hpp"
#include "platform/dbus/ModemRoamingSource.hpp"
#include "platform/dbus/ModemSimDirectory.hpp"
#include "platform/dbus/NetworkManagerDeviceDirectory.hpp"
#include "platform/dbus/NetworkManagerMobileData.hpp"

namespace quorvel {

namespace {

class GioSystemBusServices final : public SystemBusServices {
public:
    std::unique_ptr<NetworkDeviceDirectory> networkDevices() override
    {
        return std::make_unique<NetworkManagerDeviceDirectory>();
    }
    std::unique_ptr<SimCardDirectory> simCards() override { return std::make_unique<ModemSimDirectory>(); }
    bool sendDesktopNotification(const std::string& applicationId, const LocalNotification& notification,
                                 std::string& why) override
    {
        return DesktopNotification::send(applicationId, notification, why);
    }
    std::unique_ptr<MobileDataSwitch> mobileDataSwitch() override
    {
        return std::make_unique<NetworkManagerMobileData>();
    }
    std::unique_ptr<FollowedRoamingSource> followRoaming(std::string* error) override
    {
        return ModemRoamingSource::start(ModemRegistrationWatch::Dispatch::OwnContext, error);
    }
    std::unique_ptr<FollowedLocationSource> followLocation(const std::string& desktopId, std::string* error) override
    {
        return GeoclueFollower::start(desktopId, error);
    }
};

}  // namespace

}  // namespace quorvel

extern "C" __attribute__((visibility("default"))) quorvel::SystemBusServices* quorvel_system_bus_services()
{
    static quorvel::GioSystemBusServices services;
    return &services;
}
