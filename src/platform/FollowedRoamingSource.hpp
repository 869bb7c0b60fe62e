// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <poll.h>

#include <functional>
#include <vector>

#include "platform/RoamingSource.hpp"

namespace quorvel {

// A roaming source that follows the modem's registration inside the caller's poll() loop (the
// resident watcher's), so the loop sees a change as soon as it is signalled.
class FollowedRoamingSource : public RoamingSource {
public:
    using Callback = std::function<void()>;

    // The descriptors to poll; dispatch() when one of them is ready.
    virtual std::vector<pollfd> descriptors() = 0;
    virtual void dispatch() = 0;
    // Runs when a registration changed, before the new state counts: a sample taken there books
    // the interval that just ended under the state it had.
    virtual void setBeforeChange(Callback beforeChange) = 0;
    // Runs after that sample when the modems' SIMs or data interfaces may have changed: who
    // carries which link is to be asked again from then on.
    virtual void setAfterSimsChange(Callback afterSimsChange) = 0;
};

}  // namespace quorvel
