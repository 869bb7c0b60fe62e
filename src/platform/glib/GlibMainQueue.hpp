// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/MainQueue.hpp"

namespace quorvel {

// The main queue on the GLib main loop: each block runs from an idle source.
class GlibMainQueue final : public MainQueue {
public:
    void dispatchAsync(std::function<void()> block) override;
};

}  // namespace quorvel
