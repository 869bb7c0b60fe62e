// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTColor.hpp"
#include "plot/CPTRect.hpp"

#include <utility>
#include <vector>

namespace quorvel {

class CPTContext;

// An axial gradient with linear colour blending between sorted colour stops.
class CPTGradient {
public:
    struct Stop {
        CPTColor color;
        double position = 0.0;
        bool operator==(const Stop&) const = default;
    };

    CPTGradient() = default;
    static CPTGradient gradientWithBeginningColor(const CPTColor& begin, const CPTColor& end);

    // A copy with the stop added after any stops at the same position.
    [[nodiscard]] CPTGradient addColorStop(const CPTColor& color, double position) const;

    double angle() const { return angle_; }
    void setAngle(double degrees) { angle_ = degrees; }
    const std::vector<Stop>& stops() const { return stops_; }

    CPTColor colorAtPosition(double position) const;
    // Start and end points of the shading across `rect` for the current angle.
    std::pair<CPTPoint, CPTPoint> axialEndpoints(const CPTRect& rect) const;

    void fillRect(const CPTRect& rect, CPTContext& context) const;
    void fillPathInContext(CPTContext& context) const;

    bool operator==(const CPTGradient&) const = default;

private:
    std::vector<Stop> stops_;
    double angle_ = 0.0;
};

}  // namespace quorvel
