// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileCounterSource.hpp"

#include <fstream>
#include <sstream>

namespace quorvel {

int FileCounterSource::indexForName(std::string_view name)
{
    std::uint32_t hash = 2166136261u;  // FNV-1a: stable across processes and builds
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return static_cast<int>(hash % 1'000'000'000u) + 1;
}

std::optional<std::vector<InterfaceCounters>> FileCounterSource::read()
{
    std::ifstream in(file_);
    if (!in) {
        return std::nullopt;
    }
    std::vector<InterfaceCounters> out;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        InterfaceCounters c;
        unsigned long long rx = 0;
        unsigned long long tx = 0;
        if (!(fields >> c.name >> rx >> tx)) {
            continue;
        }
        c.rxBytes = rx;
        c.txBytes = tx;
        if (!(fields >> c.index)) {
            c.index = indexForName(c.name);
        } else if (!(fields >> c.lowerIndex)) {
            c.lowerIndex = 0;
        }
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace quorvel
