// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

typedef struct _GNetworkMonitor GNetworkMonitor;

namespace quorvel {

// What the system's network monitor (NetworkManager's view when it runs) says of the connection
// in use: whether there is one, and whether it is metered (mobile broadband, or marked so).
class NetworkCost {
public:
    NetworkCost();
    // Reads `monitor` (kept referenced) instead of the process's shared one.
    explicit NetworkCost(GNetworkMonitor* monitor);
    ~NetworkCost();
    NetworkCost(const NetworkCost&) = delete;
    NetworkCost& operator=(const NetworkCost&) = delete;

    // Whether the internet is reachable: a route, and (with NetworkManager) connectivity beyond it.
    bool available() const;
    bool metered() const;
    // Called on the main loop when either changes.
    void onChange(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    static void notified(GNetworkMonitor*, void*, void* self);
    GNetworkMonitor* monitor_;  // referenced
    unsigned long handlers_[3] = {0, 0, 0};
    std::function<void()> changed_;
};

}  // namespace quorvel
