// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>

namespace quorvel {

// Keeps the process alive around deferred work: the GUI holds its application; the command
// line needs nothing, as it drains its queue before it exits.
class BackgroundTasks {
public:
    using TaskId = std::uint64_t;
    static constexpr TaskId kInvalid = 0;

    virtual ~BackgroundTasks() = default;
    virtual TaskId beginBackgroundTask(std::function<void()> expirationHandler) = 0;
    virtual void endBackgroundTask(TaskId id) = 0;
};

class NoBackgroundTasks final : public BackgroundTasks {
public:
    TaskId beginBackgroundTask(std::function<void()>) override { return ++last_; }
    void endBackgroundTask(TaskId) override {}  // nothing was held, so nothing is let go

private:
    TaskId last_ = kInvalid;
};

}  // namespace quorvel
