#pragma once
#include <string>

namespace quorvel {

// A local notification as the alert dispatcher presents it; the type is
// "NotificationDataChanged" for usage alerts.
struct LocalNotification {
    std::string body;
    std::string title;
    std::string type;
};

// Presents local notifications: a desktop notification in the GUI, a printed line in the
// command line.
class LocalNotifier {
public:
    virtual ~LocalNotifier() = default;
    virtual void presentLocalNotificationNow(const LocalNotification& notification) = 0;
};

}  // namespace quorvel
