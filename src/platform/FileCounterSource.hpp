// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string_view>

#include "platform/InterfaceCounters.hpp"

namespace quorvel {

// Interface counters read from a text file of "name rx_bytes tx_bytes [index [lower_index]]"
// lines (64-bit values): lets tests and diagnostics drive separate processes with counters they
// control. Without an index a name always gets the same one, so a line whose index changes
// models an interface that was removed and made again.
class FileCounterSource final : public CounterSource {
public:
    explicit FileCounterSource(std::filesystem::path file) : file_(std::move(file)) {}
    std::optional<std::vector<InterfaceCounters>> read() override;

    // The index a line without one gets: the same for the same name in every process.
    static int indexForName(std::string_view name);

private:
    std::filesystem::path file_;
};

}  // namespace quorvel
