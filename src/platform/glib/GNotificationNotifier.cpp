// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/glib/GNotificationNotifier.hpp"

#include <giomm/notification.h>
#include <glibmm/variant.h>

namespace quorvel {

void GNotificationNotifier::presentLocalNotificationNow(const LocalNotification& n)
{
    if (inApp_ && inApp_(n)) {
        return;
    }
    const auto say = [this](const std::string& text) { return words_ ? words_(text) : text; };
    const std::string title = say(n.title), body = say(n.body);
    auto notification = Gio::Notification::create(title);
    notification->set_body(body);
    notification->set_default_action_variant(
        kAction, Glib::Variant<std::tuple<Glib::ustring, Glib::ustring, Glib::ustring>>::create({title, body, n.type}));
    if (!n.buttonLabel.empty()) {
        notification->add_button(say(n.buttonLabel), "app." + n.buttonAction);
    }
    // One slot per kind: a newer alert replaces an older one of its kind still on screen.
    app_.send_notification(LocalNotification::slotOf(n), notification);
}

}  // namespace quorvel
