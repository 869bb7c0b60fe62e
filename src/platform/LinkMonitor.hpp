// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "platform/InterfaceCounters.hpp"

struct mnl_socket;
struct nlmsghdr;

namespace quorvel {

// What the kernel announced about one network link.
struct LinkEvent {
    InterfaceCounters counters;  // as the message carries them; a removal carries the final ones
    bool removed = false;        // RTM_DELLINK
    bool carrying = false;       // up and running (IFF_UP and IFF_RUNNING)
    bool hasStats = false;       // the message carried byte counters
};

// The kernel's link notifications (rtnetlink, RTNLGRP_LINK) on a socket that a poll() loop
// watches: no thread and no timer of its own. Opened in the network namespace of the caller.
class LinkMonitor {
public:
    LinkMonitor();
    ~LinkMonitor();
    LinkMonitor(const LinkMonitor&) = delete;
    LinkMonitor& operator=(const LinkMonitor&) = delete;

    // False when the socket could not be opened or subscribed (errno tells why).
    bool open() const { return socket_ != nullptr; }
    int fd() const;

    // Asks the kernel to announce every present link once, so that their states are known
    // before the first change; the answers arrive through drain() like notifications.
    bool requestAll();

    // What arrived since the last call, without blocking. `overrun` is set when the kernel
    // dropped notifications because the socket's buffer was full: links may have vanished
    // unseen.
    std::vector<LinkEvent> drain(bool& overrun);

    // One link message (RTM_NEWLINK or RTM_DELLINK) turned into an event; absent for any other.
    static std::optional<LinkEvent> parse(const nlmsghdr* message);

private:
    struct SocketClose {
        void operator()(mnl_socket* s) const;
    };
    std::unique_ptr<mnl_socket, SocketClose> socket_;
};

}  // namespace quorvel
