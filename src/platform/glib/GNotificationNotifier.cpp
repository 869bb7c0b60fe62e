#include "platform/glib/GNotificationNotifier.hpp"

#include <giomm/notification.h>
#include <glibmm/variant.h>

namespace quorvel {

void GNotificationNotifier::presentLocalNotificationNow(const LocalNotification& n)
{
    if (inApp_ && inApp_(n)) {
        return;
    }
    auto notification = Gio::Notification::create(n.title);
    notification->set_body(n.body);
    notification->set_default_action_variant(
        kAction, Glib::Variant<std::tuple<Glib::ustring, Glib::ustring, Glib::ustring>>::create({n.title, n.body, n.type}));
    // One notification slot: a newer alert replaces an older one still on screen.
    app_.send_notification("usage-alert", notification);
}

}  // namespace quorvel
