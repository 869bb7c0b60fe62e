// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/TimerSource.hpp"

namespace quorvel {

// Repeating timers on the GLib main loop. Whole-second intervals use GLib's second timers,
// which the loop may batch with others, so an idle process wakes as rarely as it can.
class GlibTimerSource final : public TimerSource {
public:
    std::unique_ptr<Handle> scheduleRepeating(double seconds, std::function<void()> tick) override;
};

}  // namespace quorvel
