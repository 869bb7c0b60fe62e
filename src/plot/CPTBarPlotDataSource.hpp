// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTFill.hpp"
#include "plot/CPTLineStyle.hpp"
#include "plot/CPTPlotDataSource.hpp"

#include <optional>

namespace quorvel {

class CPTBarPlot;

// Optional per-bar styling on top of the numbers; std::nullopt keeps the plot's own style.
class CPTBarPlotDataSource : public CPTPlotDataSource {
public:
    virtual std::optional<CPTFill> barFillForBarPlot(CPTBarPlot& /*plot*/, std::size_t /*index*/)
    {
        return std::nullopt;
    }
    virtual std::optional<CPTLineStyle> barLineStyleForBarPlot(CPTBarPlot& /*plot*/, std::size_t /*index*/)
    {
        return std::nullopt;
    }
};

}  // namespace quorvel
