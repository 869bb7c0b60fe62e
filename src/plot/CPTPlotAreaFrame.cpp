// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPlotAreaFrame.hpp"

#include "plot/CPTAxisSet.hpp"
#include "plot/CPTPlotArea.hpp"

namespace quorvel {

CPTPlotAreaFrame::CPTPlotAreaFrame(const CPTRect& frame) : CPTBorderedLayer(frame)
{
    plotArea_ = std::make_unique<CPTPlotArea>(frame);
    insertSublayer(plotArea_.get(), 0);
}

CPTPlotAreaFrame::~CPTPlotAreaFrame() = default;

CPTAxisSet* CPTPlotAreaFrame::axisSet() const
{
    return plotArea_->axisSet();
}

void CPTPlotAreaFrame::setAxisSet(std::shared_ptr<CPTAxisSet> axisSet)
{
    plotArea_->setAxisSet(std::move(axisSet));
}

CPTPlotGroup* CPTPlotAreaFrame::plotGroup() const
{
    return plotArea_->plotGroup();
}

}  // namespace quorvel
