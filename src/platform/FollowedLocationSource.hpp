// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <poll.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Location.hpp"

namespace quorvel {

// Significant location changes followed inside the caller's poll() loop (the resident
// watcher's): its descriptors wake the loop only when the location service has something to say.
class FollowedLocationSource {
public:
    struct Fix {
        Location location;
        bool first = false;  // the first one since following began (or began again)
    };
    struct Delegate {
        std::function<void(const Fix&)> located;
        // Why no location comes; each reason once.
        std::function<void(const std::string&)> unavailable;
    };

    virtual ~FollowedLocationSource() = default;
    virtual void setDelegate(Delegate delegate) = 0;
    // On: asks the service now, or as soon as it appears, unless it already refused since it
    // last appeared. Off: stops asking it.
    virtual void setFollowing(bool on) = 0;
    // The descriptors to poll for reading (the same for the life of the source), and the
    // handling of what arrived, which calls the delegate.
    virtual std::vector<pollfd> descriptors() = 0;
    virtual void dispatch() = 0;
};

}  // namespace quorvel
