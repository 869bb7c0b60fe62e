// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTPoint.hpp"

namespace quorvel {

// 2-D affine transform: x' = a x + c y + tx, y' = b x + d y + ty.
struct CPTAffineTransform {
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = 1.0;
    double tx = 0.0;
    double ty = 0.0;

    static CPTAffineTransform identity() { return {}; }
    static CPTAffineTransform translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static CPTAffineTransform scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static CPTAffineTransform rotation(double radians);

    bool isIdentity() const { return *this == CPTAffineTransform{}; }
    CPTPoint apply(const CPTPoint& p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // The transform that applies `first`, then this one.
    CPTAffineTransform after(const CPTAffineTransform& first) const;
    CPTAffineTransform inverted() const;

    bool operator==(const CPTAffineTransform&) const = default;
};

}  // namespace quorvel
