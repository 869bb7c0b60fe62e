// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gio/gio.h>
#include <poll.h>

#include <vector>

namespace quorvel {

// A GLib main context of its own for a program with its own poll() loop: GDBus's thread queues
// replies and signals here and wakes the loop through the descriptors.
class PolledContext {
public:
    PolledContext();
    ~PolledContext();
    PolledContext(const PolledContext&) = delete;
    PolledContext& operator=(const PolledContext&) = delete;

    GMainContext* get() const { return context_; }
    std::vector<pollfd> descriptors() const { return descriptorsOf(context_); }
    // Runs what is ready, with this context as the thread's default, so that the proxies and
    // calls started from a callback answer here too.
    void dispatch();
    // The descriptors of any context that the calling thread can acquire.
    static std::vector<pollfd> descriptorsOf(GMainContext* context);

    // This context as the thread's default for as long as it lives: what starts then answers here.
    class Default {
    public:
        explicit Default(const PolledContext& c) : context_(c.context_) { g_main_context_push_thread_default(context_); }
        ~Default() { g_main_context_pop_thread_default(context_); }
        Default(const Default&) = delete;
        Default& operator=(const Default&) = delete;

    private:
        GMainContext* context_;
    };

private:
    GMainContext* context_;
};

}  // namespace quorvel
