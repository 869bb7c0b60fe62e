// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTAxisSet.hpp"

#include "plot/CPTAxis.hpp"
#include "plot/CPTSetIfChanged.hpp"

namespace quorvel {

CPTAxisSet::CPTAxisSet(const CPTRect& frame) : CPTLayer(frame)
{
    setNeedsDisplayOnBoundsChange(true);
}

CPTAxisSet::~CPTAxisSet() = default;

std::vector<CPTAxis*> CPTAxisSet::axes() const
{
    std::vector<CPTAxis*> result;
    for (const auto& axis : axes_) {
        result.push_back(axis.get());
    }
    return result;
}

void CPTAxisSet::setAxes(std::vector<std::unique_ptr<CPTAxis>> axes)
{
    CPTPlotArea* area = axes_.empty() ? nullptr : axes_.front()->plotArea();
    for (auto& axis : axes_) {
        axis->setPlotArea(nullptr);
    }
    axes_ = std::move(axes);
    for (auto& axis : axes_) {
        addSublayer(axis.get());
        axis->setGraph(graph());
        axis->setPlotArea(area);
    }
    setNeedsLayout();
}

CPTAxis* CPTAxisSet::axisForCoordinate(CPTCoordinate coordinate, std::size_t index) const
{
    std::size_t seen = 0;
    for (const auto& axis : axes_) {
        if (axis->coordinate() == coordinate) {
            if (seen++ == index) {
                return axis.get();
            }
        }
    }
    return nullptr;
}

void CPTAxisSet::setBorderLineStyle(std::optional<CPTLineStyle> style)
{
    if (CPTSetIfChanged(borderLineStyle_, std::move(style))) {
        setNeedsDisplay();
    }
}

void CPTAxisSet::relabelAxes()
{
    for (auto& axis : axes_) {
        axis->setNeedsLayout();
        axis->setNeedsRelabel();
    }
}

void CPTAxisSet::setGraph(CPTGraph* graph)
{
    CPTLayer::setGraph(graph);
    for (auto& axis : axes_) {
        axis->setGraph(graph);
    }
}

}  // namespace quorvel
