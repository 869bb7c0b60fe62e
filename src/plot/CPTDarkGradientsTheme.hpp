// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTTheme.hpp"

namespace quorvel {

// Dark grey gradients behind the graph and the plot area, grey axes and white labels.
class CPTDarkGradientsTheme : public CPTTheme {
public:
    static constexpr const char* kName = "Dark Gradients";
    static constexpr const char* kClassName = "CPTDarkGradientsTheme";

    std::string name() const override { return kName; }
    void applyThemeToBackground(CPTGraph& graph) const override;
    void applyThemeToPlotArea(CPTPlotAreaFrame& plotAreaFrame) const override;
    void applyThemeToAxisSet(CPTAxisSet& axisSet) const override;
};

}  // namespace quorvel
