// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTColor.hpp"
#include "plot/CPTGradient.hpp"
#include "plot/CPTRect.hpp"

#include <variant>

namespace quorvel {

class CPTContext;

// How an area is painted: a solid colour or a gradient.
class CPTFill {
public:
    static CPTFill fillWithColor(const CPTColor& color) { return CPTFill(color); }
    static CPTFill fillWithGradient(const CPTGradient& gradient) { return CPTFill(gradient); }

    const CPTColor* color() const { return std::get_if<CPTColor>(&paint_); }
    const CPTGradient* gradient() const { return std::get_if<CPTGradient>(&paint_); }

    // Whether filling a rectangle paints every point of it with opaque colour.
    bool isOpaque() const;

    void fillRect(const CPTRect& rect, CPTContext& context) const;
    // Fills the path already added to the context.
    void fillPathInContext(CPTContext& context) const;

    bool operator==(const CPTFill&) const = default;

private:
    explicit CPTFill(std::variant<CPTColor, CPTGradient> paint) : paint_(std::move(paint)) {}
    std::variant<CPTColor, CPTGradient> paint_;
};

}  // namespace quorvel
