// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BootIdentity.hpp"

#include <fstream>

namespace quorvel {

std::optional<std::string> BootIdentity::bootId() const
{
    std::ifstream in(file_);
    std::string id;
    if (!(in >> id) || id.empty()) {
        return std::nullopt;
    }
    return id;
}

}  // namespace quorvel
