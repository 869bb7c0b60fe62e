// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "platform/LocalNotifier.hpp"

namespace quorvel {

// Sends a usage alert as a desktop notification of the application, so that a warning reaches
// the user while no window is open. Its default action is the application's "show-alert", the
// one the window's own notifications carry: notification servers that start applications by
// their bus name open Quorvel on its first tab with the alert. GIO only, no toolkit.
class DesktopNotification {
public:
    // False, with the reason in `why`, when there is no session bus to send it on.
    static bool send(const std::string& applicationId, const LocalNotification& notification, std::string& why);
};

}  // namespace quorvel
