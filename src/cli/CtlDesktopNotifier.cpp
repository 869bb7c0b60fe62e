// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlDesktopNotifier.hpp"

#include "platform/SystemBusModule.hpp"

namespace quorvel {

bool CtlDesktopNotifier::send(const LocalNotification& notification, std::string& why)
{
    SystemBusServices* bus = SystemBusModule::services();
    if (bus == nullptr) {
        why = SystemBusModule::failure();
        return false;
    }
    return bus->sendDesktopNotification(kApplicationId, notification, why);
}

}  // namespace quorvel
