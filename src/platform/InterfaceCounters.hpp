// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// The byte counters the kernel keeps for one network interface since it came up, with the
// identity that tells a link from a new one of the same name.
struct InterfaceCounters {
    std::string name;
    int index = 0;       // the kernel's interface index; 0 when the source does not know it
    int lowerIndex = 0;  // the link this one is stacked on (IFLA_LINK); 0 when none
    std::uint64_t rxBytes = 0;
    std::uint64_t txBytes = 0;
};

// Where interface counters come from; tests replace it.
class CounterSource {
public:
    virtual ~CounterSource() = default;
    // Every link-level interface that has statistics; absent when the list cannot be read.
    virtual std::optional<std::vector<InterfaceCounters>> read() = 0;
};

}  // namespace quorvel
