// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// A point in layer or device space (points; origin lower left, y up inside the engine).
struct CPTPoint {
    double x = 0.0;
    double y = 0.0;

    bool operator==(const CPTPoint&) const = default;
    CPTPoint operator+(const CPTPoint& o) const { return {x + o.x, y + o.y}; }
    CPTPoint operator-(const CPTPoint& o) const { return {x - o.x, y - o.y}; }
};

}  // namespace quorvel
