// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/glib/GlibMainQueue.hpp"

#include <glibmm/main.h>

namespace quorvel {

void GlibMainQueue::dispatchAsync(std::function<void()> block)
{
    Glib::signal_idle().connect_once(std::move(block));
}

}  // namespace quorvel
