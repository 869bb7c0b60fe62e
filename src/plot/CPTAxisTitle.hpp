// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAxisLabel.hpp"

namespace quorvel {

// An axis's title: a label whose rotation, when not set, follows the axis (upright under an x
// axis, reading upward beside a y axis).
class CPTAxisTitle : public CPTAxisLabel {
public:
    CPTAxisTitle(const std::string& text, const CPTTextStyle& style);

    void positionRelativeToViewPoint(const CPTPoint& point, CPTCoordinate coordinate, CPTSign direction) override;
};

}  // namespace quorvel
