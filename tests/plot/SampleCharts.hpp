// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTAxisDelegate.hpp"
#include "plot/CPTPlotDataSource.hpp"
#include "plot/CPTXYGraph.hpp"

#include <memory>
#include <utility>
#include <vector>

namespace quorvel::test {

// A data source answering one number per call, as the chart series do.
class PointSeries : public CPTPlotDataSource {
public:
    std::vector<std::pair<double, double>> points;

    std::size_t numberOfRecordsForPlot(CPTPlot& plot) override;
    std::optional<CPTNumber> numberForPlot(CPTPlot& plot, unsigned field, std::size_t index) override;
};

// Labels made by the screen: whole numbers, grey at or above zero and red below.
class IntegerLabels : public CPTAxisDelegate {
public:
    int calls = 0;
    bool axisShouldUpdateAxisLabelsAtLocations(CPTAxis& axis, const std::set<Decimal>& locations) override;
};

// Graphs configured the way the chart pages configure theirs.
std::shared_ptr<CPTXYGraph> makeDailyBarGraph(PointSeries& series, IntegerLabels& labels);
std::shared_ptr<CPTXYGraph> makeCumulativeGraph(PointSeries& series, IntegerLabels& labels);

}  // namespace quorvel::test
