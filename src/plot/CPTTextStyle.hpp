// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTColor.hpp"

#include <optional>
#include <string>

namespace quorvel {

enum class CPTTextAlignment { Left = 0, Center = 1, Right = 2 };

// Font, size, colour and alignment of engine text. Immutable; see CPTMutableTextStyle.
class CPTTextStyle {
public:
    CPTTextStyle() = default;
    static CPTTextStyle textStyle() { return CPTTextStyle(); }

    const std::string& fontName() const { return fontName_; }
    double fontSize() const { return fontSize_; }
    // No colour: text in this style is not drawn.
    const std::optional<CPTColor>& color() const { return color_; }
    CPTTextAlignment textAlignment() const { return textAlignment_; }

    bool operator==(const CPTTextStyle&) const = default;

protected:
    std::string fontName_ = "Helvetica";
    double fontSize_ = 12.0;
    std::optional<CPTColor> color_ = CPTColor::blackColor();
    CPTTextAlignment textAlignment_ = CPTTextAlignment::Left;
};

}  // namespace quorvel
