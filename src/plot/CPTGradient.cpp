// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTGradient.hpp"

#include "plot/CPTContext.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvel {

CPTGradient CPTGradient::gradientWithBeginningColor(const CPTColor& begin, const CPTColor& end)
{
    return CPTGradient().addColorStop(begin, 0.0).addColorStop(end, 1.0);
}

CPTGradient CPTGradient::addColorStop(const CPTColor& color, double position) const
{
    CPTGradient copy = *this;
    const auto at = std::upper_bound(copy.stops_.begin(), copy.stops_.end(), position,
                                     [](double p, const Stop& stop) { return p < stop.position; });
    copy.stops_.insert(at, Stop{color, position});
    return copy;
}

CPTColor CPTGradient::colorAtPosition(double position) const
{
    if (stops_.empty()) {
        return CPTColor::whiteColor();
    }
    if (position <= stops_.front().position) {
        return stops_.front().color;
    }
    if (position >= stops_.back().position) {
        return stops_.back().color;
    }
    // The last stop at or before the position, and the one after it.
    const auto next = std::upper_bound(stops_.begin(), stops_.end(), position,
                                       [](double p, const Stop& stop) { return p < stop.position; });
    const Stop& b = *next;
    const Stop& a = *(next - 1);
    const double span = b.position - a.position;
    const double t = span > 0.0 ? (position - a.position) / span : 0.0;
    const auto mix = [t](double x, double y) { return x + (y - x) * t; };
    return CPTColor::colorWithComponentRed(mix(a.color.red(), b.color.red()), mix(a.color.green(), b.color.green()),
                                           mix(a.color.blue(), b.color.blue()), mix(a.color.alpha(), b.color.alpha()));
}

std::pair<CPTPoint, CPTPoint> CPTGradient::axialEndpoints(const CPTRect& rect) const
{
    const double theta = std::fmod(angle_, 360.0);
    if (theta == 0.0) {
        return {{rect.minX(), rect.minY()}, {rect.maxX(), rect.minY()}};
    }
    if (theta == 90.0) {
        return {{rect.minX(), rect.minY()}, {rect.minX(), rect.maxY()}};
    }
    const double w = rect.width();
    const double h = rect.height();
    const double radians = theta * std::numbers::pi / 180.0;
    double dx = 0.0;
    double dy = 0.0;
    if (std::fabs(std::tan(radians)) <= 1.0) {
        const double length = w / std::fabs(std::cos(radians)) +
                              std::fabs(std::sin(radians)) * (h - w * std::fabs(std::tan(radians)));
        dx = length * std::cos(radians);
        dy = length * std::sin(radians);
    } else {
        const double phi = radians - std::numbers::pi / 2.0;
        const double length = h / std::fabs(std::cos(phi)) +
                              std::fabs(std::sin(phi)) * (w - h * std::fabs(std::tan(phi)));
        dx = -length * std::sin(phi);
        dy = length * std::cos(phi);
    }
    const CPTPoint centre{rect.midX(), rect.midY()};
    return {{centre.x - dx / 2.0, centre.y - dy / 2.0}, {centre.x + dx / 2.0, centre.y + dy / 2.0}};
}

void CPTGradient::fillRect(const CPTRect& rect, CPTContext& context) const
{
    context.saveGState();
    context.clipToRect(rect);
    const auto [start, end] = axialEndpoints(rect);
    context.drawLinearGradient(*this, start, end);
    context.restoreGState();
}

void CPTGradient::fillPathInContext(CPTContext& context) const
{
    if (context.isPathEmpty()) {
        return;
    }
    context.saveGState();
    const CPTRect box = context.pathBoundingBox();
    context.clip();
    const auto [start, end] = axialEndpoints(box);
    context.drawLinearGradient(*this, start, end);
    context.restoreGState();
}

}  // namespace quorvel
