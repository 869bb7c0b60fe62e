// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTTextMetrics.hpp"

#include "plot/CPTFixedTextMetrics.hpp"

namespace quorvel {

const CPTTextMetrics& CPTTextMetrics::fixed()
{
    static const CPTFixedTextMetrics metrics;
    return metrics;
}

}  // namespace quorvel
