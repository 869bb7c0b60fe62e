// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTFixedTextMetrics.hpp"

#include <algorithm>

namespace quorvel {

CPTSize CPTFixedTextMetrics::sizeOfText(const std::string& text, const std::string& /*fontName*/,
                                        double fontSize) const
{
    if (text.empty()) {
        return {};
    }
    std::size_t lines = 1;
    std::size_t longest = 0;
    std::size_t current = 0;
    for (unsigned char c : text) {
        if (c == '\n') {
            ++lines;
            current = 0;
        } else if ((c & 0xC0U) != 0x80U) {  // count code points, not UTF-8 bytes
            longest = std::max(longest, ++current);
        }
    }
    return {static_cast<double>(longest) * fontSize * kCharacterWidth,
            static_cast<double>(lines) * fontSize * kLineHeight};
}

}  // namespace quorvel
