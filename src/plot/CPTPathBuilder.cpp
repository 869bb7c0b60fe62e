// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPathBuilder.hpp"

#include "plot/CPTContext.hpp"

#include <cmath>
#include <numbers>

namespace quorvel {

void CPTPathBuilder::addRoundedRect(CPTContext& context, const CPTRect& rect, double radius)
{
    if (radius <= 0.0) {
        context.addRect(rect);
        return;
    }
    const double minX = rect.minX();
    const double maxX = rect.maxX();
    const double minY = rect.minY();
    const double maxY = rect.maxY();
    const CPTPoint start{minX, (minY + maxY) / 2.0};
    context.moveTo(start);
    CPTPoint p = addArcToPoint(context, start, {minX, minY}, {maxX, minY}, radius);
    p = addArcToPoint(context, p, {maxX, minY}, {maxX, maxY}, radius);
    p = addArcToPoint(context, p, {maxX, maxY}, {minX, maxY}, radius);
    addArcToPoint(context, p, {minX, maxY}, {minX, minY}, radius);
    context.closePath();
}

CPTPoint CPTPathBuilder::addArcToPoint(CPTContext& context, const CPTPoint& current, const CPTPoint& corner,
                                       const CPTPoint& next, double radius)
{
    const double ax = current.x - corner.x;
    const double ay = current.y - corner.y;
    const double bx = next.x - corner.x;
    const double by = next.y - corner.y;
    const double lengthA = std::hypot(ax, ay);
    const double lengthB = std::hypot(bx, by);
    const double cross = ax * by - ay * bx;
    if (radius <= 0.0 || lengthA == 0.0 || lengthB == 0.0 || cross == 0.0) {
        context.lineTo(corner);
        return corner;
    }
    const double ux = ax / lengthA;
    const double uy = ay / lengthA;
    const double vx = bx / lengthB;
    const double vy = by / lengthB;
    // Half the angle between the legs decides how far from the corner the arc touches them.
    const double cosAngle = std::clamp(ux * vx + uy * vy, -1.0, 1.0);
    const double halfAngle = std::acos(cosAngle) / 2.0;
    const double tangentDistance = radius / std::tan(halfAngle);
    const double centreDistance = radius / std::sin(halfAngle);
    const CPTPoint t1{corner.x + ux * tangentDistance, corner.y + uy * tangentDistance};
    const CPTPoint t2{corner.x + vx * tangentDistance, corner.y + vy * tangentDistance};
    const double bisectorX = ux + vx;
    const double bisectorY = uy + vy;
    const double bisectorLength = std::hypot(bisectorX, bisectorY);
    const CPTPoint centre{corner.x + bisectorX / bisectorLength * centreDistance,
                          corner.y + bisectorY / bisectorLength * centreDistance};
    const double startAngle = std::atan2(t1.y - centre.y, t1.x - centre.x);
    const double endAngle = std::atan2(t2.y - centre.y, t2.x - centre.x);
    // Turning right (negative cross product of the incoming and outgoing legs) runs clockwise.
    const double incomingX = -ax;
    const double incomingY = -ay;
    const bool clockwise = (incomingX * by - incomingY * bx) < 0.0;
    context.lineTo(t1);
    context.addArc(centre, radius, startAngle, endAngle, clockwise);
    return t2;
}

}  // namespace quorvel
