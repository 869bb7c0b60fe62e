// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

struct CPTSize {
    double width = 0.0;
    double height = 0.0;

    bool operator==(const CPTSize&) const = default;
};

}  // namespace quorvel
