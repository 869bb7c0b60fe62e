// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTIndexRange.hpp"
#include "plot/CPTNumber.hpp"
#include "plot/CPTNumericData.hpp"

#include <cstddef>
#include <optional>
#include <vector>

namespace quorvel {

class CPTPlot;

// Where a plot pulls its numbers from. The plot uses the first accessor the source provides,
// in the order declared; an accessor that returns std::nullopt is one the source does not
// provide. A per-record accessor is probed with the first index of a request; after that a
// std::nullopt answer (or CPTNumber::null()) is a missing value. The plot does not own its source.
class CPTPlotDataSource {
public:
    virtual ~CPTPlotDataSource() = default;

    virtual std::size_t numberOfRecordsForPlot(CPTPlot& plot) = 0;

    virtual std::optional<CPTNumericData> dataForPlot(CPTPlot& /*plot*/, unsigned /*field*/, CPTIndexRange /*range*/)
    {
        return std::nullopt;
    }
    virtual std::optional<std::vector<double>> doublesForPlot(CPTPlot& /*plot*/, unsigned /*field*/,
                                                              CPTIndexRange /*range*/)
    {
        return std::nullopt;
    }
    virtual std::optional<std::vector<CPTNumber>> numbersForPlot(CPTPlot& /*plot*/, unsigned /*field*/,
                                                                 CPTIndexRange /*range*/)
    {
        return std::nullopt;
    }
    virtual std::optional<double> doubleForPlot(CPTPlot& /*plot*/, unsigned /*field*/, std::size_t /*index*/)
    {
        return std::nullopt;
    }
    virtual std::optional<CPTNumber> numberForPlot(CPTPlot& /*plot*/, unsigned /*field*/, std::size_t /*index*/)
    {
        return std::nullopt;
    }
};

}  // namespace quorvel
