// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTLayer.hpp"

namespace quorvel {

class CPTPlotArea;

// Draws the major or the minor grid lines of every axis of the plot area.
class CPTGridLineGroup : public CPTLayer {
public:
    CPTGridLineGroup(CPTPlotArea* plotArea, bool major);
    bool isMajor() const { return major_; }
    void renderAsVectorInContext(CPTContext& context) override;

private:
    CPTPlotArea* plotArea_;
    bool major_;
};

}  // namespace quorvel
