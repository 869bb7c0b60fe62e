// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <vector>

#include "platform/LocalNotifier.hpp"

namespace quorvel {

// Local notifications of a command-line run: kept so that the run can print them.
class CtlNotifier final : public LocalNotifier {
public:
    void presentLocalNotificationNow(const LocalNotification& notification) override { posted_.push_back(notification); }
    const std::vector<LocalNotification>& posted() const { return posted_; }

private:
    std::vector<LocalNotification> posted_;
};

}  // namespace quorvel
