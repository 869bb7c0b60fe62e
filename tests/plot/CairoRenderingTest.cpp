// SPDX-License-Identifier: GPL-3.0-or-later
#include "SampleCharts.hpp"

#include "plot/CPTBarPlot.hpp"
#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTInvalidArgumentException.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTScatterPlot.hpp"
#include "plot/CPTTextMetrics.hpp"
#include "plot/cairo/CPTCairoHandles.hpp"
#include "plot/cairo/CPTCairoRenderer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
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

struct Pixel {
    int r, g, b;
};

// Reads a pixel of an opaque ARGB32 image surface.
Pixel pixelAt(cairo_surface_t* surface, int x, int y)
{
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    std::uint32_t value = 0;
    std::memcpy(&value, row + 4 * x, sizeof value);
    return {static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF)};
}

void expectPixel(const Pixel& p, int r, int g, int b, int tolerance, const char* what)
{
    EXPECT_NEAR(p.r, r, tolerance) << what;
    EXPECT_NEAR(p.g, g, tolerance) << what;
    EXPECT_NEAR(p.b, b, tolerance) << what;
}

// Device pixel of a data point in a 320 x 200 view at scale 4, x range -1 .. 31, y range -1 .. 54,
// plot area 40 points from the left and `bottom` points from the bottom.
std::pair<int, int> devicePixel(double x, double y, double bottom = 30.0)
{
    const double height = 200.0 - 20.0 - bottom;
    const double viewX = 40.0 + 260.0 * (x + 1.0) / 32.0;
    const double viewY = 200.0 - (bottom + height * (y + 1.0) / 55.0);
    return {static_cast<int>(viewX * 4.0), static_cast<int>(viewY * 4.0)};
}

// A graph hosted at 320 x 200 points, four pixels a point, drawn through its layers' stores.
struct HostedGraph {
    CPTGraphHostingView host{CPTRect::make(0, 0, 320, 200)};
    CairoSurfaceHandle surface{cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1280, 800)};

    explicit HostedGraph(std::shared_ptr<CPTXYGraph> graph)
    {
        host.setScreenScale(4.0);
        host.setHostedGraph(std::move(graph));
        render();
    }
    void render() { CPTCairoRenderer::renderHostToSurface(host, surface.get()); }
    CPTPlot& plot() { return *host.hostedGraph()->plotAtIndex(0); }
    // Whether the plot's last display drew all of its store.
    bool drewWholePlot() { return plot().lastDisplayedRect() == plot().backingStore()->bounds(); }
    // The largest difference of a colour channel from another picture.
    int largestDifference(const HostedGraph& other) const
    {
        const unsigned char* a = cairo_image_surface_get_data(surface.get());
        const unsigned char* b = cairo_image_surface_get_data(other.surface.get());
        int largest = 0;
        for (int i = 0; i < cairo_image_surface_get_stride(surface.get()) * 800; ++i) {
            largest = std::max(largest, std::abs(a[i] - b[i]));
        }
        return largest;
    }
};

// Rendering gives a graph without metrics of its own Pango's; the other tests measure with fixed ones.
class CairoRendering : public ::testing::Test {};

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

TEST_F(CairoRendering, PixelsShowTheBarGradientThePlotAreaAndTheLine)
{
    for (const bool collapsed : {false, true}) {
        SCOPED_TRACE(collapsed ? "collapsed" : "layered");
        auto bars = dailySeries();
        IntegerLabels labels;
        CPTGraphHostingView host(CPTRect::make(0, 0, 320, 200));
        host.setCollapsesLayers(collapsed);
        host.setScreenScale(4.0);
        host.setHostedGraph(makeDailyBarGraph(bars, labels));
        CairoSurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1280, 800));
        CPTCairoRenderer::renderHostToSurface(host, surface.get());

        // Day 10 is 5 + (370 % 45) = 15 high: across the bar the gradient runs orange to green.
        const auto [leftX, barY] = devicePixel(10.0 - 0.16, 8.0);
        const auto [rightX, unused] = devicePixel(10.0 + 0.16, 8.0);
        const Pixel left = pixelAt(surface.get(), leftX, barY);
        const Pixel right = pixelAt(surface.get(), rightX, barY);
        EXPECT_GT(left.r, right.r);
        EXPECT_LT(left.g, right.g);
        EXPECT_NEAR(left.r, 255 - (255 - 203) * 0.2, 14);
        EXPECT_NEAR(right.g, 178 + (234 - 178) * 0.8, 14);
        const auto [gapX, gapY] = devicePixel(10.5, 30.0);
        expectPixel(pixelAt(surface.get(), gapX, gapY), 36, 38, 51, 1, "plot area fill");
        expectPixel(pixelAt(surface.get(), 8, 8), 36, 38, 51, 1, "frame fill over the whole graph");
    }
}

TEST_F(CairoRendering, PixelsShowTheDataLineAndTheAreaBelowIt)
{
    PointSeries line;
    line.points = {{5, 20}, {15, 20}, {25, 40}};
    IntegerLabels labels;
    CPTGraphHostingView host(CPTRect::make(0, 0, 320, 200));
    host.setScreenScale(4.0);
    host.setHostedGraph(makeCumulativeGraph(line, labels));
    CairoSurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1280, 800));
    CPTCairoRenderer::renderHostToSurface(host, surface.get());
    const auto [lineX, lineY] = devicePixel(10.0, 20.0, 28.0);
    expectPixel(pixelAt(surface.get(), lineX, lineY), 87, 120, 35, 4, "data line");
    const auto [areaX, areaY] = devicePixel(10.0, 10.0, 28.0);
    expectPixel(pixelAt(surface.get(), areaX, areaY), 47, 53, 54, 1, "area fill");
    const auto [dotX, dotY] = devicePixel(15.0, 20.0, 28.0);
    expectPixel(pixelAt(surface.get(), dotX, dotY), 136, 195, 39, 4, "symbol fill");
    const auto [aboveX, aboveY] = devicePixel(10.0, 35.0, 28.0);
    expectPixel(pixelAt(surface.get(), aboveX, aboveY), 36, 38, 51, 1, "plot area above the line");
}

TEST_F(CairoRendering, NewDataRedrawsOnlyTheBarsThatChangedUnlessTheirLookChangedToo)
{
    auto bars = dailySeries();
    IntegerLabels labels;
    HostedGraph kept(makeDailyBarGraph(bars, labels));
    bars.points[9].second += 3;
    kept.host.hostedGraph()->reloadData();
    kept.render();
    EXPECT_FALSE(kept.drewWholePlot());
    EXPECT_LT(kept.plot().lastDisplayedRect().width(), 30.0);
    {
        auto same = bars;
        IntegerLabels sameLabels;
        const HostedGraph fresh(makeDailyBarGraph(same, sameLabels));
        EXPECT_LE(kept.largestDifference(fresh), 4);
    }
    // A new fill comes with the data: every bar changes.
    bars.points[3].second += 1;
    auto& plot = static_cast<CPTBarPlot&>(kept.plot());
    plot.setFill(CPTFill::fillWithColor(CPTColor::redColor()));
    kept.host.hostedGraph()->reloadData();
    kept.render();
    EXPECT_TRUE(kept.drewWholePlot());
}

TEST_F(CairoRendering, NewDataRedrawsAllOfALineWhoseDashesOrGradientRunAlongIt)
{
    auto line = cumulativeSeries();
    IntegerLabels labels;
    HostedGraph kept(makeCumulativeGraph(line, labels));
    auto& plot = static_cast<CPTScatterPlot&>(kept.plot());
    const double top = plot.backingStore()->bounds().maxY();
    line.points[29].second += 0.5;
    kept.host.hostedGraph()->reloadData();
    kept.render();
    EXPECT_GT(plot.backingStore()->bounds().maxY(), top);
    EXPECT_FALSE(kept.drewWholePlot()) << "the last point alone moved, above the store it had";
    {
        auto same = line;
        IntegerLabels sameLabels;
        const HostedGraph fresh(makeCumulativeGraph(same, sameLabels));
        EXPECT_LE(kept.largestDifference(fresh), 4);
    }

    CPTMutableLineStyle dashed(*plot.dataLineStyle());
    dashed.setDashPattern({4.0, 2.0});
    plot.setDataLineStyle(dashed);
    kept.render();
    line.points[29].second += 0.5;
    kept.host.hostedGraph()->reloadData();
    kept.render();
    EXPECT_TRUE(kept.drewWholePlot()) << "dashes run on from the first point";

    plot.setDataLineStyle(CPTLineStyle::lineStyle());
    plot.setAreaFill(CPTFill::fillWithGradient(
        CPTGradient::gradientWithBeginningColor(CPTColor::blackColor(), CPTColor::whiteColor())));
    kept.render();
    line.points[29].second += 0.5;
    kept.host.hostedGraph()->reloadData();
    kept.render();
    EXPECT_TRUE(kept.drewWholePlot()) << "the gradient spans the whole area";
}
