// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <set>

#include <giomm/application.h>

#include "platform/BackgroundTasks.hpp"

namespace quorvel {

// Background tasks as holds on the application: while a queued update is pending, the
// application stays alive even when its last window has closed.
class ApplicationHoldTasks final : public BackgroundTasks {
public:
    explicit ApplicationHoldTasks(Gio::Application& app) : app_(app) {}
    ~ApplicationHoldTasks() override;
    TaskId beginBackgroundTask(std::function<void()> expirationHandler) override;
    void endBackgroundTask(TaskId id) override;

private:
    Gio::Application& app_;
    std::set<TaskId> held_;
    TaskId last_ = kInvalid;
};

}  // namespace quorvel
