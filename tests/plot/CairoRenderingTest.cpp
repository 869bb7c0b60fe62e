#include "SampleCharts.hpp"

#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTInvalidArgumentException.hpp"
#include "plot/CPTTextMetrics.hpp"
#include "plot/cairo/CPTCairoRenderer.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace quorvel;
using namespace quorvel::test;

namespace {

PointSeries dailySeries()
{
    PointSeries series;
    for (int day = 1; day <= 30; ++day) {
        series.points.emplace_back(day, 5.0 + (day * 37 % 45));
    }
    return series;
}

PointSeries cumulativeSeries()
{
    PointSeries series;
    double total = 0.0;
    for (int day = 1; day <= 30; ++day) {
        total += 0.5 + (day * 7 % 5) * 0.3;
        series.points.emplace_back(day, total);
    }
    return series;
}

// Rendering installs Pango's metrics for the process; the other tests measure with fixed ones.
class CairoRendering : public ::testing::Test {
protected:
    void TearDown() override { CPTTextMetrics::setShared(nullptr); }
};

}  // namespace

TEST_F(CairoRendering, WritesSampleChartsInEveryFormat)
{
    auto bars = dailySeries();
    auto line = cumulativeSeries();
    IntegerLabels labels;
    const auto dir = std::filesystem::temp_directory_path();
    CPTCairoRenderer::writeGraphToFile(makeDailyBarGraph(bars, labels), (dir / "quorvel_daily.png").string(), 320, 200, 2);
    CPTCairoRenderer::writeGraphToFile(makeCumulativeGraph(line, labels), (dir / "quorvel_total.png").string(), 320, 200, 2);
    for (const char* name : {"quorvel_daily.svg", "quorvel_daily.pdf"}) {
        const auto path = dir / name;
        std::filesystem::remove(path);
        CPTCairoRenderer::writeGraphToFile(makeDailyBarGraph(bars, labels), path.string(), 320, 200, 1);
        EXPECT_GT(std::filesystem::file_size(path), 1000U) << name;
    }
    EXPECT_THROW(CPTCairoRenderer::writeGraphToFile(makeDailyBarGraph(bars, labels), (dir / "chart.bmp").string(), 10,
                                                    10, 1),
                 CPTInvalidArgumentException);
}
