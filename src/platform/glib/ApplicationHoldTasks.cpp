// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/glib/ApplicationHoldTasks.hpp"

namespace quorvel {

ApplicationHoldTasks::~ApplicationHoldTasks()
{
    for (std::size_t i = 0; i < held_.size(); ++i) {
        app_.release();
    }
}

BackgroundTasks::TaskId ApplicationHoldTasks::beginBackgroundTask(std::function<void()>)
{
    // A hold never expires on the desktop; the handler is never needed.
    app_.hold();
    held_.insert(++last_);
    return last_;
}

void ApplicationHoldTasks::endBackgroundTask(TaskId id)
{
    if (held_.erase(id) != 0) {
        app_.release();
    }
}

}  // namespace quorvel
