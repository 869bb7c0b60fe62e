#pragma once
#include <filesystem>

#include "platform/InterfaceCounters.hpp"

namespace quorvel {

// Interface counters read from a text file of "name rx_bytes tx_bytes" lines: lets tests and
// diagnostics drive separate processes with counters they control.
class FileCounterSource final : public CounterSource {
public:
    explicit FileCounterSource(std::filesystem::path file) : file_(std::move(file)) {}
    std::optional<std::vector<InterfaceCounters>> read() override;

private:
    std::filesystem::path file_;
};

}  // namespace quorvel
