#include "platform/FileCounterSource.hpp"

#include <fstream>
#include <sstream>

namespace quorvel {

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
        if (fields >> c.name >> rx >> tx) {
            c.rxBytes = static_cast<std::uint32_t>(rx);  // the kernel's counters are 32-bit too
            c.txBytes = static_cast<std::uint32_t>(tx);
            out.push_back(std::move(c));
        }
    }
    return out;
}

}  // namespace quorvel
