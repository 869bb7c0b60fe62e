// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>

namespace quorvel {

// A repeating timer on the main loop; it stops when its handle is destroyed.
class TimerSource {
public:
    class Handle {
    public:
        virtual ~Handle() = default;
    };

    virtual ~TimerSource() = default;
    [[nodiscard]] virtual std::unique_ptr<Handle> scheduleRepeating(double seconds, std::function<void()> tick) = 0;
};

}  // namespace quorvel
