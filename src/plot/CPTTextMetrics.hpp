// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTSize.hpp"

#include <string>

namespace quorvel {

// Measures text for layout. A graph holds the metrics its text is measured with (the Cairo back
// end gives it Pango's); text outside any graph that has them is measured with the fixed ones.
class CPTTextMetrics {
public:
    virtual ~CPTTextMetrics() = default;
    // Size of `text` in the font, without wrapping; each '\n' starts a new line.
    virtual CPTSize sizeOfText(const std::string& text, const std::string& fontName, double fontSize) const = 0;

    // The deterministic CPTFixedTextMetrics, shared because they hold no state.
    static const CPTTextMetrics& fixed();
};

}  // namespace quorvel
