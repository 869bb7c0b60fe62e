// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/ChartPageStyle.hpp"

#include "charts/FChartData.hpp"
#include "plot/CPTFill.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTTheme.hpp"

namespace quorvel {

CPTColor ChartPageStyle::grey()
{
    constexpr double kTitleGrey = 0.866667;
    return CPTColor::colorWithComponentRed(kTitleGrey, kTitleGrey, kTitleGrey, 1.0);
}

CPTMutableTextStyle ChartPageStyle::textStyle(double size)
{
    CPTMutableTextStyle s;
    s.setColor(grey());
    s.setFontSize(size);
    s.setTextAlignment(CPTTextAlignment::Center);
    return s;
}

std::shared_ptr<CPTXYGraph> ChartPageStyle::newGraph(const char* title, double bottomPadding,
                                                     const std::shared_ptr<const CPTTextMetrics>& metrics)
{
    auto g = std::make_shared<CPTXYGraph>();
    g->setTextMetrics(metrics);
    g->applyTheme(CPTTheme::themeNamed("Dark Gradients").get());
    CPTPlotAreaFrame& frame = *g->plotAreaFrame();
    frame.setFill(CPTFill::fillWithColor(CPTColor::colorWithComponentRed(0.141176, 0.149020, 0.2, 1.0)));
    frame.setBorderLineStyle(std::nullopt);
    frame.setCornerRadius(0);
    g->setPaddingLeft(0);
    g->setPaddingTop(0);
    g->setPaddingRight(0);
    g->setPaddingBottom(0);
    frame.setPaddingLeft(40);
    frame.setPaddingTop(20);
    frame.setPaddingRight(20);
    frame.setPaddingBottom(bottomPadding);
    g->setTitle(title);
    g->setTitleTextStyle(textStyle(16));
    g->setTitleDisplacement({0, -20});
    g->setTitlePlotAreaFrameAnchor(CPTRectAnchor::Top);
    CPTXYPlotSpace& space = plotSpaceOf(*g);
    space.setAllowsUserInteraction(false);
    space.setXRange(CPTPlotRange(Decimal::fromInteger(-1), Decimal::fromInteger(32)));
    space.setYRange(CPTPlotRange(Decimal::fromInteger(-1), Decimal::fromInteger(110)));
    return g;
}

std::shared_ptr<CPTBarPlot> ChartPageStyle::bars(const CPTColor& start, const CPTColor& end, double width,
                                                 double offset, FChartData& source, const std::string& identifier)
{
    auto bars = CPTBarPlot::tubularBarPlotWithColor(start, end, CPTColor::blackColor(), false);
    bars->setBarWidth(Decimal::fromDouble(width));
    bars->setBaseValue(Decimal::fromString("0"));
    bars->setDataSource(&source);
    bars->setBarOffset(Decimal::fromDouble(offset));
    bars->setIdentifier(identifier);
    return bars;
}

}  // namespace quorvel
