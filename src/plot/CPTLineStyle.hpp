// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTColor.hpp"

#include <vector>

namespace quorvel {

class CPTContext;

enum class CPTLineCap { Butt = 0, Round = 1, Square = 2 };
enum class CPTLineJoin { Miter = 0, Round = 1, Bevel = 2 };

// How a line is stroked. Immutable; CPTMutableLineStyle is the changeable variant, and
// assigning one to a CPTLineStyle copies its values (later changes do not carry over).
class CPTLineStyle {
public:
    CPTLineStyle() = default;
    static CPTLineStyle lineStyle() { return CPTLineStyle(); }

    CPTLineCap lineCap() const { return lineCap_; }
    CPTLineJoin lineJoin() const { return lineJoin_; }
    double miterLimit() const { return miterLimit_; }
    double lineWidth() const { return lineWidth_; }
    const std::vector<double>& dashPattern() const { return dashPattern_; }  // empty: solid
    double patternPhase() const { return patternPhase_; }
    const CPTColor& lineColor() const { return lineColor_; }

    // Sets cap, join, miter limit, width, dash and stroke colour, in that order.
    void setLineStyleInContext(CPTContext& context) const;
    void strokePathInContext(CPTContext& context) const;

    bool operator==(const CPTLineStyle&) const = default;

protected:
    CPTLineCap lineCap_ = CPTLineCap::Butt;
    CPTLineJoin lineJoin_ = CPTLineJoin::Miter;
    double miterLimit_ = 10.0;
    double lineWidth_ = 1.0;
    std::vector<double> dashPattern_;
    double patternPhase_ = 0.0;
    CPTColor lineColor_ = CPTColor::blackColor();
};

}  // namespace quorvel
