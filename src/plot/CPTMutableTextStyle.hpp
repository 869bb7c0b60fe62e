// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTTextStyle.hpp"

namespace quorvel {

class CPTMutableTextStyle : public CPTTextStyle {
public:
    CPTMutableTextStyle() = default;
    explicit CPTMutableTextStyle(const CPTTextStyle& style) : CPTTextStyle(style) {}

    void setFontName(std::string name) { fontName_ = std::move(name); }
    void setFontSize(double size) { fontSize_ = size; }
    void setColor(std::optional<CPTColor> color) { color_ = color; }
    void setTextAlignment(CPTTextAlignment alignment) { textAlignment_ = alignment; }
};

}  // namespace quorvel
