// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTPlotDataSource.hpp"
#include "plot/CPTPlotSymbol.hpp"

#include <optional>
#include <vector>

namespace quorvel {

class CPTScatterPlot;

// Optional per-record symbols; an empty entry means no symbol for that record.
class CPTScatterPlotDataSource : public CPTPlotDataSource {
public:
    virtual std::optional<std::vector<std::optional<CPTPlotSymbol>>> symbolsForScatterPlot(CPTScatterPlot& /*plot*/,
                                                                                           CPTIndexRange /*range*/)
    {
        return std::nullopt;
    }
};

}  // namespace quorvel
