// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTBorderedLayer.hpp"

#include <memory>

namespace quorvel {

class CPTAxisSet;
class CPTPlotArea;
class CPTPlotGroup;

// The bordered frame around the plot area; its padding makes room for axis labels and titles.
class CPTPlotAreaFrame : public CPTBorderedLayer {
public:
    explicit CPTPlotAreaFrame(const CPTRect& frame);
    ~CPTPlotAreaFrame() override;

    CPTPlotArea* plotArea() const { return plotArea_.get(); }
    CPTAxisSet* axisSet() const;
    void setAxisSet(std::shared_ptr<CPTAxisSet> axisSet);
    CPTPlotGroup* plotGroup() const;

private:
    std::unique_ptr<CPTPlotArea> plotArea_;
};

}  // namespace quorvel
