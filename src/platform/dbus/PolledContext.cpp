// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/PolledContext.hpp"

#include <sys/timerfd.h>

#include <cstdint>

#include "platform/Assert.hpp"

namespace quorvel {

PolledContext::PolledContext()
    // Polling from a thread that does not own the context must still be woken by what GDBus's
    // own thread queues there.
    : context_(g_main_context_new_with_flags(G_MAIN_CONTEXT_FLAGS_OWNERLESS_POLLING)),
      // GLib's deadlines are on the monotonic clock.
      deadline_(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC))
{
}

PolledContext::~PolledContext()
{
    g_main_context_unref(context_);
}

std::vector<pollfd> PolledContext::descriptors() const
{
    std::vector<pollfd> out = descriptorsOf(context_);
    if (deadline_.get() >= 0) {
        out.push_back({deadline_.get(), POLLIN, 0});
    }
    return out;
}

void PolledContext::dispatch()
{
    std::uint64_t expirations = 0;
    while (deadline_.get() >= 0 && ::read(deadline_.get(), &expirations, sizeof expirations) > 0) {
    }
    const Default scope(*this);
    while (g_main_context_iteration(context_, FALSE)) {
    }
}

void PolledContext::armDeadline()
{
    if (deadline_.get() < 0) {
        return;  // without a timer a call's timeout waits for the next wake-up
    }
    const bool acquired = g_main_context_acquire(context_) != FALSE;
    QV_REQUIRE(acquired, "the deadline is armed in the thread that polls the context");
    gint priority = 0;
    g_main_context_prepare(context_, &priority);
    gint timeoutMs = -1;
    g_main_context_query(context_, G_MAXINT, &timeoutMs, nullptr, 0);
    g_main_context_release(context_);
    itimerspec when{};  // all zero: stopped
    if (timeoutMs == 0) {
        when.it_value.tv_nsec = 1;  // due now; a zero would stop the timer
    } else if (timeoutMs > 0) {
        when.it_value.tv_sec = timeoutMs / 1000;
        when.it_value.tv_nsec = static_cast<long>(timeoutMs % 1000) * 1'000'000;
    }
    ::timerfd_settime(deadline_.get(), 0, &when, nullptr);
}

std::vector<pollfd> PolledContext::descriptorsOf(GMainContext* context)
{
    const bool acquired = g_main_context_acquire(context) != FALSE;
    QV_REQUIRE(acquired, "poll descriptors are for a context of its own, in the thread that polls it");
    gint priority = 0;
    g_main_context_prepare(context, &priority);
    priority = G_MAXINT;  // every descriptor, whatever is ready now
    gint timeout = 0;
    std::vector<GPollFD> fds(4);
    gint count = g_main_context_query(context, priority, &timeout, fds.data(), static_cast<gint>(fds.size()));
    if (static_cast<std::size_t>(count) > fds.size()) {
        fds.resize(static_cast<std::size_t>(count));
        count = g_main_context_query(context, priority, &timeout, fds.data(), count);
    }
    g_main_context_release(context);
    std::vector<pollfd> out;
    for (gint i = 0; i < count; ++i) {
        out.push_back({fds[static_cast<std::size_t>(i)].fd, POLLIN, 0});
    }
    return out;
}

}  // namespace quorvel
