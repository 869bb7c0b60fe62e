// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTTextMetrics.hpp"

namespace quorvel {

// Font-independent metrics for tests and recording: every character is half the font size
// wide and a line is 1.25 times the font size high.
class CPTFixedTextMetrics : public CPTTextMetrics {
public:
    static constexpr double kCharacterWidth = 0.5;
    static constexpr double kLineHeight = 1.25;

    CPTSize sizeOfText(const std::string& text, const std::string& fontName, double fontSize) const override;
};

}  // namespace quorvel
