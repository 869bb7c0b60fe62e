// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTLayer.hpp"

namespace quorvel {

class CPTPlot;

// The plot area's layer for the plots, in the order they were added.
class CPTPlotGroup : public CPTLayer {
public:
    using CPTLayer::CPTLayer;
    void addPlot(CPTPlot* plot);
    void insertPlot(CPTPlot* plot, std::size_t index);
    void removePlot(CPTPlot* plot);
    bool drawsContent() const override { return false; }
};

}  // namespace quorvel
