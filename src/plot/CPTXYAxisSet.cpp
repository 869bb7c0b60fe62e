// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTXYAxisSet.hpp"

#include "plot/CPTContext.hpp"
#include "plot/CPTPlotArea.hpp"
#include "plot/CPTXYAxis.hpp"

namespace quorvel {

CPTXYAxisSet::CPTXYAxisSet(const CPTRect& frame) : CPTAxisSet(frame)
{
    auto x = std::make_unique<CPTXYAxis>(frame);
    x->setCoordinate(CPTCoordinate::X);
    x->setTickDirection(CPTSign::Negative);
    auto y = std::make_unique<CPTXYAxis>(frame);
    y->setCoordinate(CPTCoordinate::Y);
    y->setTickDirection(CPTSign::Negative);
    std::vector<std::unique_ptr<CPTAxis>> axes;
    axes.push_back(std::move(x));
    axes.push_back(std::move(y));
    setAxes(std::move(axes));
}

CPTXYAxis* CPTXYAxisSet::xAxis() const
{
    return static_cast<CPTXYAxis*>(axisForCoordinate(CPTCoordinate::X, 0));
}

CPTXYAxis* CPTXYAxisSet::yAxis() const
{
    return static_cast<CPTXYAxis*>(axisForCoordinate(CPTCoordinate::Y, 0));
}

void CPTXYAxisSet::renderAsVectorInContext(CPTContext& context)
{
    const auto& style = borderLineStyle();
    const auto allAxes = axes();
    if (isHidden() || !style || allAxes.empty() || allAxes.front()->plotArea() == nullptr) {
        return;
    }
    // The border runs around the plot area.
    const CPTPlotArea* area = allAxes.front()->plotArea();
    const CPTRect areaBounds = area->bounds();
    const CPTPoint origin = area->convertPointToLayer(areaBounds.origin, this);
    context.beginPath();
    context.addRect(CPTRect{origin, areaBounds.size}.insetBy(style->lineWidth() / 2.0, style->lineWidth() / 2.0));
    style->strokePathInContext(context);
}

}  // namespace quorvel
