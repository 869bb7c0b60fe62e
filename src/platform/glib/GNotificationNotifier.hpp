// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

#include <giomm/application.h>

#include "platform/LocalNotifier.hpp"

namespace quorvel {

// Usage alerts as desktop notifications of the application. Clicking one activates the action
// "app.show-alert" with the title and body, which opens Quorvel on its first tab with the alert.
// While the window is active the in-app handler shows the alert instead.
class GNotificationNotifier final : public LocalNotifier {
public:
    static constexpr const char* kAction = "app.show-alert";
    using InAppHandler = std::function<bool(const LocalNotification&)>;

    explicit GNotificationNotifier(Gio::Application& app) : app_(app) {}
    // Returns true when it showed the alert itself.
    void setInAppHandler(InAppHandler handler) { inApp_ = std::move(handler); }
    // What the notification says in the user's language; the alert itself stays as composed.
    using Words = std::function<std::string(const std::string&)>;
    void setWords(Words words) { words_ = std::move(words); }
    void presentLocalNotificationNow(const LocalNotification& notification) override;

private:
    Gio::Application& app_;
    InAppHandler inApp_;
    Words words_;
};

}  // namespace quorvel
