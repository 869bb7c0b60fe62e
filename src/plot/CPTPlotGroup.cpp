// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPlotGroup.hpp"

#include "plot/CPTPlot.hpp"

namespace quorvel {

void CPTPlotGroup::addPlot(CPTPlot* plot)
{
    addSublayer(plot);
}

void CPTPlotGroup::insertPlot(CPTPlot* plot, std::size_t index)
{
    insertSublayer(plot, index);
}

void CPTPlotGroup::removePlot(CPTPlot* plot)
{
    if (plot != nullptr && plot->superlayer() == this) {
        plot->removeFromSuperlayer();
    }
}

}  // namespace quorvel
