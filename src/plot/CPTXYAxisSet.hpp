// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAxisSet.hpp"

namespace quorvel {

class CPTXYAxis;

// An x axis and a y axis, ticks on their negative side.
class CPTXYAxisSet : public CPTAxisSet {
public:
    explicit CPTXYAxisSet(const CPTRect& frame = {});

    CPTXYAxis* xAxis() const;
    CPTXYAxis* yAxis() const;

    void renderAsVectorInContext(CPTContext& context) override;
    bool drawsContent() const override { return borderLineStyle().has_value(); }
};

}  // namespace quorvel
