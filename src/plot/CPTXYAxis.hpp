// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAxis.hpp"
#include "plot/CPTConstraints.hpp"

#include <optional>

namespace quorvel {

// An axis of an XY plot space: a straight line along x or y that crosses the other coordinate
// at `orthogonalCoordinateDecimal` (or sits where its constraints put it).
class CPTXYAxis : public CPTAxis {
public:
    explicit CPTXYAxis(const CPTRect& frame = {});

    // Only x and y exist here; anything else is an invalid argument.
    void setCoordinate(CPTCoordinate coordinate) override;
    const Decimal& orthogonalCoordinateDecimal() const { return orthogonalCoordinateDecimal_; }
    void setOrthogonalCoordinateDecimal(const Decimal& value);
    const std::optional<CPTConstraints>& axisConstraints() const { return axisConstraints_; }
    void setAxisConstraints(std::optional<CPTConstraints> constraints);

    CPTPoint viewPointForCoordinateDecimalNumber(const Decimal& value) const override;
    void drawGridLinesInContext(CPTContext& context, bool major, const CPTLayer* layer) const override;
    void renderAsVectorInContext(CPTContext& context) override;
    // The line and ticks with room for their width: a thin strip, not the whole plot area frame.
    CPTRect contentBounds() const override;

    // Start and end factors of a tick across the axis, in tick lengths, for a direction.
    static bool tickExtent(CPTSign direction, double& start, double& end);

private:
    CPTPoint plotAreaPointFor(double value, double orthogonal) const;
    // Calls `segment` with the ends of each tick drawn at `locations`, before pixel alignment.
    template <typename Segment>
    void forEachTick(const std::set<Decimal>& locations, double length, Segment segment) const;
    void drawTicks(CPTContext& context, const std::set<Decimal>& locations, double length,
                   const std::optional<CPTLineStyle>& style) const;
    void drawAxisLine(CPTContext& context) const;

    Decimal orthogonalCoordinateDecimal_;
    std::optional<CPTConstraints> axisConstraints_;
};

}  // namespace quorvel
