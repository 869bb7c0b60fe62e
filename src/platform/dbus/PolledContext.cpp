// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbus/PolledContext.hpp"

#include "platform/Assert.hpp"

namespace quorvel {

PolledContext::PolledContext()
    // Polling from a thread that does not own the context must still be woken by what GDBus's
    // own thread queues there.
    : context_(g_main_context_new_with_flags(G_MAIN_CONTEXT_FLAGS_OWNERLESS_POLLING))
{
}

PolledContext::~PolledContext()
{
    g_main_context_unref(context_);
}

void PolledContext::dispatch()
{
    const Default scope(*this);
    while (g_main_context_iteration(context_, FALSE)) {
    }
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
