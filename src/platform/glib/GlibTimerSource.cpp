// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/glib/GlibTimerSource.hpp"

#include <cmath>

#include <glibmm/main.h>

namespace quorvel {

namespace {

class ConnectionHandle final : public TimerSource::Handle {
public:
    explicit ConnectionHandle(sigc::connection c) : connection_(c) {}
    ~ConnectionHandle() override { connection_.disconnect(); }

private:
    sigc::connection connection_;
};

}  // namespace

std::unique_ptr<TimerSource::Handle> GlibTimerSource::scheduleRepeating(double seconds, std::function<void()> tick)
{
    const auto repeat = [tick = std::move(tick)] {
        tick();
        return true;
    };
    if (seconds >= 1.0 && std::floor(seconds) == seconds) {
        return std::make_unique<ConnectionHandle>(
            Glib::signal_timeout().connect_seconds(repeat, static_cast<unsigned>(seconds)));
    }
    return std::make_unique<ConnectionHandle>(
        Glib::signal_timeout().connect(repeat, static_cast<unsigned>(std::lround(seconds * 1000.0))));
}

}  // namespace quorvel
