// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <deque>
#include <functional>

namespace quorvel {

// Work deferred to the main loop. The GUI backs it with the GLib main loop; the command line
// and the tests with a plain queue that they drain.
class MainQueue {
public:
    virtual ~MainQueue() = default;
    virtual void dispatchAsync(std::function<void()> block) = 0;
};

class ManualQueue final : public MainQueue {
public:
    void dispatchAsync(std::function<void()> block) override { blocks_.push_back(std::move(block)); }
    // Runs queued blocks, including those they queue, until none is left.
    void drain()
    {
        while (!blocks_.empty()) {
            std::function<void()> b = std::move(blocks_.front());
            blocks_.pop_front();
            b();
        }
    }
    std::size_t pending() const { return blocks_.size(); }

private:
    std::deque<std::function<void()>> blocks_;
};

}  // namespace quorvel
