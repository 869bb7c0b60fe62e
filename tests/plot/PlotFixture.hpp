// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SampleCharts.hpp"

#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTXYGraph.hpp"
#include "plot/CPTXYPlotSpace.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace quorvel::test {

// A hosted graph whose plot area is 260 x 152 at (40, 28), as on the chart pages.
class PlotFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        graph = std::make_shared<CPTXYGraph>();
        host.setHostedGraph(graph);
        graph->setPaddingLeft(0);
        graph->setPaddingTop(0);
        graph->setPaddingRight(0);
        graph->setPaddingBottom(0);
        CPTPlotAreaFrame* frame = graph->plotAreaFrame();
        frame->setPaddingLeft(40);
        frame->setPaddingTop(20);
        frame->setPaddingRight(20);
        frame->setPaddingBottom(28);
        space = static_cast<CPTXYPlotSpace*>(graph->defaultPlotSpace());
        setRanges("-1", "32", "0", "10");
    }

    void setRanges(const char* x, const char* xLength, const char* y, const char* yLength)
    {
        space->setXRange(CPTPlotRange(Decimal::fromString(x), Decimal::fromString(xLength)));
        space->setYRange(CPTPlotRange(Decimal::fromString(y), Decimal::fromString(yLength)));
        graph->layoutGraph();
    }

    CPTGraphHostingView host{CPTRect::make(0, 0, 320, 200)};
    std::shared_ptr<CPTXYGraph> graph;
    CPTXYPlotSpace* space = nullptr;
    PointSeries series;
};

}  // namespace quorvel::test
