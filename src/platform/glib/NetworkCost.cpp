// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/glib/NetworkCost.hpp"

#include <gio/gio.h>

namespace quorvel {

NetworkCost::NetworkCost() : NetworkCost(g_network_monitor_get_default()) {}

NetworkCost::NetworkCost(GNetworkMonitor* monitor) : monitor_(G_NETWORK_MONITOR(g_object_ref(monitor)))
{
    handlers_[0] = g_signal_connect(monitor_, "notify::network-metered", G_CALLBACK(&NetworkCost::notified), this);
    handlers_[1] = g_signal_connect(monitor_, "notify::network-available", G_CALLBACK(&NetworkCost::notified), this);
    handlers_[2] = g_signal_connect(monitor_, "notify::connectivity", G_CALLBACK(&NetworkCost::notified), this);
}

NetworkCost::~NetworkCost()
{
    for (unsigned long handler : handlers_) {
        g_signal_handler_disconnect(monitor_, handler);
    }
    g_object_unref(monitor_);
}

bool NetworkCost::available() const
{
    // A route alone is not enough: NetworkManager may know that nothing beyond it answers.
    return g_network_monitor_get_network_available(monitor_) != FALSE &&
           g_network_monitor_get_connectivity(monitor_) != G_NETWORK_CONNECTIVITY_LOCAL;
}

bool NetworkCost::metered() const
{
    return g_network_monitor_get_network_metered(monitor_) != FALSE;
}

void NetworkCost::notified(GNetworkMonitor*, void*, void* self)
{
    auto* cost = static_cast<NetworkCost*>(self);
    if (cost->changed_) {
        cost->changed_();
    }
}

}  // namespace quorvel
