// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace quorvel {

// A run of record indexes.
struct CPTIndexRange {
    std::size_t location = 0;
    std::size_t length = 0;

    std::size_t end() const { return location + length; }
    bool operator==(const CPTIndexRange&) const = default;
};

}  // namespace quorvel
