// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlDesktopNotifier.hpp"

#include "model/AlertWords.hpp"
#include "platform/SystemBusModule.hpp"

namespace quorvel {

bool CtlDesktopNotifier::send(const LocalNotification& notification, std::string& why)
{
    SystemBusServices* bus = SystemBusModule::services();
    if (bus == nullptr) {
        why = SystemBusModule::failure();
        return false;
    }
    LocalNotification said = notification;  // in the user's language; the report keeps the English
    said.title = AlertWords::translated(notification.title);
    said.body = AlertWords::translated(notification.body);
    said.buttonLabel = AlertWords::translated(notification.buttonLabel);
    return bus->sendDesktopNotification(kApplicationId, said, why);
}

}  // namespace quorvel
