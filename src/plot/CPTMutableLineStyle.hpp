// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTLineStyle.hpp"

namespace quorvel {

class CPTMutableLineStyle : public CPTLineStyle {
public:
    CPTMutableLineStyle() = default;
    explicit CPTMutableLineStyle(const CPTLineStyle& style) : CPTLineStyle(style) {}

    void setLineCap(CPTLineCap cap) { lineCap_ = cap; }
    void setLineJoin(CPTLineJoin join) { lineJoin_ = join; }
    void setMiterLimit(double limit) { miterLimit_ = limit; }
    void setLineWidth(double width) { lineWidth_ = width; }
    void setDashPattern(std::vector<double> pattern) { dashPattern_ = std::move(pattern); }
    void setPatternPhase(double phase) { patternPhase_ = phase; }
    void setLineColor(const CPTColor& color) { lineColor_ = color; }
};

}  // namespace quorvel
