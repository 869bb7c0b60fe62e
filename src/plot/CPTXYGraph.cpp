// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTXYGraph.hpp"

#include "plot/CPTXYAxis.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/CPTXYPlotSpace.hpp"

namespace quorvel {

CPTXYGraph::CPTXYGraph(const CPTRect& frame, CPTScaleType xScaleType, CPTScaleType yScaleType)
    : CPTGraph(frame), xScaleType_(xScaleType), yScaleType_(yScaleType)
{
    createDefaultContents();
}

std::shared_ptr<CPTPlotSpace> CPTXYGraph::newPlotSpace()
{
    auto space = std::make_shared<CPTXYPlotSpace>();
    space->setXScaleType(xScaleType_);
    space->setYScaleType(yScaleType_);
    return space;
}

std::shared_ptr<CPTAxisSet> CPTXYGraph::newAxisSet()
{
    auto axisSet = std::make_shared<CPTXYAxisSet>(bounds());
    for (CPTAxis* axis : axisSet->axes()) {
        axis->setPlotSpace(sharedDefaultPlotSpace());
    }
    return axisSet;
}

}  // namespace quorvel
