// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTPlotSpace.hpp"

#include "plot/CPTGraph.hpp"

namespace quorvel {

void CPTPlotSpace::postNotification(const char* name, const void* object) const
{
    if (graph_ != nullptr) {
        graph_->notificationCenter().post(name, object);
    }
}

void CPTPlotSpace::postCoordinateMappingDidChange() const
{
    postNotification(kCoordinateMappingDidChangeNotification, this);
}

void CPTPlotSpace::postGraphNeedsRedraw() const
{
    if (graph_ != nullptr) {
        postNotification(CPTGraph::kNeedsRedrawNotification, graph_);
    }
}

}  // namespace quorvel
