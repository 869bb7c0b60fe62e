// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTDarkGradientsTheme.hpp"

#include "plot/CPTAxisSet.hpp"
#include "plot/CPTGraph.hpp"
#include "plot/CPTMutableLineStyle.hpp"
#include "plot/CPTMutableTextStyle.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTXYAxis.hpp"

namespace quorvel {

namespace {

CPTColor gray(double value)
{
    return CPTColor::colorWithGenericGray(value);
}

CPTLineStyle lineStyle(const CPTColor& color, double width)
{
    CPTMutableLineStyle style;
    style.setLineCap(CPTLineCap::Square);
    style.setLineColor(color);
    style.setLineWidth(width);
    return style;
}

CPTTextStyle whiteText(double size)
{
    CPTMutableTextStyle style;
    style.setColor(CPTColor::whiteColor());
    style.setFontSize(size);
    return style;
}

}  // namespace

void CPTDarkGradientsTheme::applyThemeToBackground(CPTGraph& graph) const
{
    CPTGradient gradient = CPTGradient::gradientWithBeginningColor(gray(0.1), gray(0.1))
                               .addColorStop(gray(0.2), 0.3)
                               .addColorStop(gray(0.3), 0.5)
                               .addColorStop(gray(0.2), 0.6);
    gradient.setAngle(90.0);
    graph.setFill(CPTFill::fillWithGradient(gradient));
}

void CPTDarkGradientsTheme::applyThemeToPlotArea(CPTPlotAreaFrame& plotAreaFrame) const
{
    CPTGradient gradient = CPTGradient::gradientWithBeginningColor(gray(0.1), gray(0.3));
    gradient.setAngle(90.0);
    plotAreaFrame.setFill(CPTFill::fillWithGradient(gradient));
    CPTMutableLineStyle border;
    border.setLineColor(gray(0.2));
    border.setLineWidth(4.0);
    plotAreaFrame.setBorderLineStyle(border);
    plotAreaFrame.setCornerRadius(10.0);
}

void CPTDarkGradientsTheme::applyThemeToAxisSet(CPTAxisSet& axisSet) const
{
    const CPTLineStyle major = lineStyle(gray(0.5), 2.0);
    const CPTLineStyle minor = lineStyle(CPTColor::darkGrayColor(), 1.0);
    const CPTTextStyle labels = whiteText(14.0);
    const CPTTextStyle minorLabels = whiteText(12.0);
    for (CPTAxis* axis : axisSet.axes()) {
        axis->setLabelingPolicy(CPTAxisLabelingPolicy::FixedInterval);
        axis->setMajorIntervalLength(Decimal::fromDouble(0.5));
        if (auto* xy = dynamic_cast<CPTXYAxis*>(axis)) {
            xy->setOrthogonalCoordinateDecimal(Decimal());
        }
        axis->setTickDirection(CPTSign::None);
        axis->setMinorTicksPerInterval(4);
        axis->setMajorTickLineStyle(major);
        axis->setMinorTickLineStyle(minor);
        axis->setAxisLineStyle(major);
        axis->setMajorTickLength(7.0);
        axis->setMinorTickLength(5.0);
        axis->setLabelTextStyle(labels);
        axis->setMinorTickLabelTextStyle(minorLabels);
        axis->setTitleTextStyle(labels);
    }
}

}  // namespace quorvel
