// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <utility>

namespace quorvel {

// A local notification as the alert dispatcher presents it; the type is
// "NotificationDataChanged" for usage alerts. One may carry a button that activates an
// application action.
struct LocalNotification {
    LocalNotification(std::string body = {}, std::string title = {}, std::string type = {},
                      std::string buttonLabel = {}, std::string buttonAction = {})
        : body(std::move(body)),
          title(std::move(title)),
          type(std::move(type)),
          buttonLabel(std::move(buttonLabel)),
          buttonAction(std::move(buttonAction))
    {
    }
    std::string body;
    std::string title;
    std::string type;
    std::string buttonLabel;   // empty: no button
    std::string buttonAction;  // the application action's name, without "app."

    // The desktop notification it takes the place of: one per kind, so that a usage alert does
    // not hide a roaming notice.
    static std::string slotOf(const LocalNotification& n)
    {
        return n.type.empty() || n.type == "NotificationDataChanged" ? "usage-alert" : n.type;
    }
};

// Presents local notifications: a desktop notification in the GUI, a printed line in the
// command line.
class LocalNotifier {
public:
    virtual ~LocalNotifier() = default;
    virtual void presentLocalNotificationNow(const LocalNotification& notification) = 0;
};

}  // namespace quorvel
