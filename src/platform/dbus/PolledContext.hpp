// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gio/gio.h>
#include <poll.h>

#include <vector>

#include "platform/Fd.hpp"

namespace quorvel {

// A GLib main context of its own for a program with its own poll() loop: GDBus's thread queues
// replies and signals here and wakes the loop through the descriptors. The context's own
// deadlines (a call's timeout) wake it through a timer among them, armed only while one is due.
class PolledContext {
public:
    PolledContext();
    ~PolledContext();
    PolledContext(const PolledContext&) = delete;
    PolledContext& operator=(const PolledContext&) = delete;

    GMainContext* get() const { return context_; }
    std::vector<pollfd> descriptors() const;
    // Runs what is ready, with this context as the thread's default, so that the proxies and
    // calls started from a callback answer here too.
    void dispatch();
    // The descriptors of any context that the calling thread can acquire.
    static std::vector<pollfd> descriptorsOf(GMainContext* context);

    // This context as the thread's default for as long as it lives: what starts then answers
    // here, and its deadline is armed when it ends.
    class Default {
    public:
        explicit Default(PolledContext& c) : owner_(c)
        {
            g_main_context_push_thread_default(c.context_);
            ++c.defaultDepth_;
        }
        // Armed by the outermost only: preparing the context inside its own dispatch would
        // drop the sources still to be dispatched.
        ~Default()
        {
            g_main_context_pop_thread_default(owner_.context_);
            if (--owner_.defaultDepth_ == 0) {
                owner_.armDeadline();
            }
        }
        Default(const Default&) = delete;
        Default& operator=(const Default&) = delete;

    private:
        PolledContext& owner_;
    };

private:
    // The timer set to the context's next deadline, or stopped when none is due.
    void armDeadline();

    GMainContext* context_;
    Fd deadline_;
    int defaultDepth_ = 0;
};

}  // namespace quorvel
