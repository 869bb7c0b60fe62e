// The entry point of the bus module (see platform/SystemBusModule.hpp): the one place that hands
// the GIO-backed services to a program that loaded the module on first use.
#include "platform/SystemBusServices.hpp"
#include "platform/dbus/DesktopNotification.hpp"
#include "platform/dbus/NetworkManagerDeviceDirectory.hpp"

namespace quorvel {

namespace {

class GioSystemBusServices final : public SystemBusServices {
public:
    std::unique_ptr<NetworkDeviceDirectory> networkDevices() override
    {
        return std::make_unique<NetworkManagerDeviceDirectory>();
    }
    bool sendDesktopNotification(const std::string& applicationId, const LocalNotification& notification,
                                 std::string& why) override
    {
        return DesktopNotification::send(applicationId, notification, why);
    }
};

}  // namespace

}  // namespace quorvel

extern "C" __attribute__((visibility("default"))) quorvel::SystemBusServices& quorvel_system_bus_services()
{
    static quorvel::GioSystemBusServices services;
    return services;
}
