// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPixelAlignment.hpp"

#include "plot/CPTContext.hpp"

#include <cmath>

namespace quorvel {

CPTPoint CPTPixelAlignment::alignPointToUserSpace(const CPTContext& context, const CPTPoint& point)
{
    const CPTAffineTransform toDevice = context.currentTransform();
    CPTPoint device = toDevice.apply(point);
    device.x = std::round(device.x) + 0.5;
    device.y = std::round(device.y) + 0.5;
    return toDevice.inverted().apply(device);
}

CPTPoint CPTPixelAlignment::alignIntegralPointToUserSpace(const CPTContext& context, const CPTPoint& point)
{
    const CPTAffineTransform toDevice = context.currentTransform();
    CPTPoint device = toDevice.apply(point);
    device.x = std::round(device.x);
    device.y = std::round(device.y);
    return toDevice.inverted().apply(device);
}

}  // namespace quorvel
