// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAffineTransform.hpp"

#include <cmath>

namespace quorvel {

CPTAffineTransform CPTAffineTransform::rotation(double radians)
{
    const double s = std::sin(radians);
    const double co = std::cos(radians);
    return {co, s, -s, co, 0, 0};
}

CPTAffineTransform CPTAffineTransform::after(const CPTAffineTransform& first) const
{
    return {a * first.a + c * first.b,
            b * first.a + d * first.b,
            a * first.c + c * first.d,
            b * first.c + d * first.d,
            a * first.tx + c * first.ty + tx,
            b * first.tx + d * first.ty + ty};
}

CPTAffineTransform CPTAffineTransform::inverted() const
{
    const double det = a * d - b * c;
    if (det == 0.0) {
        return identity();
    }
    return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

}  // namespace quorvel
