// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "model/InterfaceSelection.hpp"

namespace quorvel {

// One interface as the command line and the settings list it: a report, made fresh each time.
struct InterfaceState {
    CountingDecision decision;
    std::uint64_t rxBytes = 0;
    std::uint64_t txBytes = 0;
};

}  // namespace quorvel
