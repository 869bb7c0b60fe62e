// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTPoint.hpp"
#include "plot/CPTSize.hpp"

#include <algorithm>

namespace quorvel {

// Axis-aligned rectangle; sizes are never negative in engine geometry.
struct CPTRect {
    CPTPoint origin;
    CPTSize size;

    static CPTRect make(double x, double y, double w, double h) { return {{x, y}, {w, h}}; }

    double minX() const { return std::min(origin.x, origin.x + size.width); }
    double maxX() const { return std::max(origin.x, origin.x + size.width); }
    double minY() const { return std::min(origin.y, origin.y + size.height); }
    double maxY() const { return std::max(origin.y, origin.y + size.height); }
    double midX() const { return origin.x + size.width / 2.0; }
    double midY() const { return origin.y + size.height / 2.0; }
    double width() const { return size.width < 0 ? -size.width : size.width; }
    double height() const { return size.height < 0 ? -size.height : size.height; }
    bool isEmpty() const { return size.width == 0.0 || size.height == 0.0; }

    CPTRect insetBy(double dx, double dy) const
    {
        return make(minX() + dx, minY() + dy, std::max(width() - 2 * dx, 0.0), std::max(height() - 2 * dy, 0.0));
    }

    // The smallest rectangle holding both; an empty one adds nothing.
    CPTRect unitedWith(const CPTRect& other) const
    {
        if (isEmpty()) {
            return other;
        }
        if (other.isEmpty()) {
            return *this;
        }
        const double x0 = std::min(minX(), other.minX());
        const double y0 = std::min(minY(), other.minY());
        return make(x0, y0, std::max(maxX(), other.maxX()) - x0, std::max(maxY(), other.maxY()) - y0);
    }
    // What both cover; empty when they do not meet.
    CPTRect intersectedWith(const CPTRect& other) const
    {
        const double x0 = std::max(minX(), other.minX());
        const double y0 = std::max(minY(), other.minY());
        const double x1 = std::min(maxX(), other.maxX());
        const double y1 = std::min(maxY(), other.maxY());
        return x1 > x0 && y1 > y0 ? make(x0, y0, x1 - x0, y1 - y0) : CPTRect{};
    }

    bool operator==(const CPTRect&) const = default;
};

}  // namespace quorvel
