// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "plot/CPTBarPlot.hpp"
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/CPTXYAxisSet.hpp"
#include "plot/CPTXYGraph.hpp"
#include "plot/CPTXYPlotSpace.hpp"

namespace quorvel {

class CPTTextMetrics;
class FChartData;

// What every graph of the chart tab shares: theme, the page's plot-area colour, padding, the
// grey titles, and its bars.
class ChartPageStyle {
public:
    static CPTColor grey();
    static CPTMutableTextStyle textStyle(double size);
    static std::shared_ptr<CPTXYGraph> newGraph(const char* title, double bottomPadding,
                                                const std::shared_ptr<const CPTTextMetrics>& metrics);
    // A bar plot: a gradient from `start` to `end`, outlined in black, standing on zero.
    static std::shared_ptr<CPTBarPlot> bars(const CPTColor& start, const CPTColor& end, double width, double offset,
                                            FChartData& source, const std::string& identifier);
    static CPTXYPlotSpace& plotSpaceOf(const CPTXYGraph& g)
    {
        return *static_cast<CPTXYPlotSpace*>(g.defaultPlotSpace());
    }
    static CPTXYAxisSet& axesOf(const CPTXYGraph& g) { return *static_cast<CPTXYAxisSet*>(g.axisSet()); }
};

}  // namespace quorvel
