#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// The byte counters the kernel keeps for one network interface since it came up. They are
// 32-bit and wrap at 2^32.
struct InterfaceCounters {
    std::string name;
    std::uint32_t rxBytes = 0;
    std::uint32_t txBytes = 0;
};

// Where interface counters come from; tests replace it.
class CounterSource {
public:
    virtual ~CounterSource() = default;
    // Every link-level interface that has statistics; absent when the list cannot be read.
    virtual std::optional<std::vector<InterfaceCounters>> read() = 0;
};

// The kernel's counters through getifaddrs: AF_PACKET entries, whose data is rtnl_link_stats.
class IfaddrsCounterSource final : public CounterSource {
public:
    std::optional<std::vector<InterfaceCounters>> read() override;
};

}  // namespace quorvel
