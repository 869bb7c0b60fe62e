// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "platform/LocalNotifier.hpp"

namespace quorvel {

// Sends a usage alert of a background sample as a desktop notification of the application
// (org.quorvel.Quorvel), so that a warning reaches the user while no window is open. Its default
// action is the application's "show-alert", the one the window's own notifications carry:
// notification servers that start applications by their bus name open Quorvel on its first tab
// with the alert. Sent through the bus module, loaded only when an alert goes out.
class CtlDesktopNotifier {
public:
    static constexpr const char* kApplicationId = "org.quorvel.Quorvel";
    // False, with the reason in `why`, when there is no session bus to send it on
    // or the bus module is missing.
    static bool send(const LocalNotification& notification, std::string& why);
};

}  // namespace quorvel
