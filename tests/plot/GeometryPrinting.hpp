// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTRect.hpp"

#include <ostream>

// Readable failure messages for engine geometry.
namespace quorvel {

inline void PrintTo(const CPTPoint& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}

inline void PrintTo(const CPTSize& s, std::ostream* os)
{
    *os << s.width << " x " << s.height;
}

inline void PrintTo(const CPTRect& r, std::ostream* os)
{
    *os << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << " x " << r.size.height << ")";
}

}  // namespace quorvel
