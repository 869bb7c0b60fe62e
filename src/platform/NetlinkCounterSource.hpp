// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/InterfaceCounters.hpp"

namespace quorvel {

// The kernel's counters in one rtnetlink link dump: every interface's index, name, lower link
// and 64-bit byte counters (IFLA_STATS64), so that no counter wraps at 4 GiB.
class NetlinkCounterSource final : public CounterSource {
public:
    std::optional<std::vector<InterfaceCounters>> read() override;
};

}  // namespace quorvel
