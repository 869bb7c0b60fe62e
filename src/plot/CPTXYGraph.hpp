// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTGraph.hpp"
#include "plot/CPTScaleType.hpp"

#include <memory>

namespace quorvel {

// A graph whose default plot space and axis set are XY ones.
class CPTXYGraph : public CPTGraph {
public:
    explicit CPTXYGraph(const CPTRect& frame = {}, CPTScaleType xScaleType = CPTScaleType::Linear,
                        CPTScaleType yScaleType = CPTScaleType::Linear);

    CPTScaleType xScaleType() const { return xScaleType_; }
    CPTScaleType yScaleType() const { return yScaleType_; }

protected:
    std::shared_ptr<CPTPlotSpace> newPlotSpace() override;
    std::shared_ptr<CPTAxisSet> newAxisSet() override;

private:
    CPTScaleType xScaleType_;
    CPTScaleType yScaleType_;
};

}  // namespace quorvel
