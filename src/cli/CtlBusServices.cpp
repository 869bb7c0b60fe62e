#include "cli/CtlBusServices.hpp"

#include "platform/dbus/ModemRoamingSource.hpp"
#include "platform/dbus/NetworkManagerDeviceDirectory.hpp"
#include "platform/dbus/NetworkManagerMobileData.hpp"

namespace quorvel {

std::unique_ptr<NetworkDeviceDirectory> CtlBusServices::networkDevices()
{
    return std::make_unique<NetworkManagerDeviceDirectory>();
}

std::unique_ptr<MobileDataSwitch> CtlBusServices::mobileDataSwitch()
{
    return std::make_unique<NetworkManagerMobileData>();
}

CtlBusServices::Roaming CtlBusServices::roamingWatch(std::string* error)
{
    std::unique_ptr<ModemRoamingSource> modems =
        ModemRoamingSource::start(ModemRegistrationWatch::Dispatch::OwnContext, error);
    ModemRoamingSource* followed = modems.get();
    return {std::move(modems), followed};
}

}  // namespace quorvel
