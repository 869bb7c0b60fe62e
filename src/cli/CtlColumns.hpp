// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace quorvel {

// Text laid out in a terminal's columns. Translated words have umlauts and accents, so a width
// is counted in characters (UTF-8 code points), not bytes.
class CtlColumns {
public:
    static std::size_t characters(std::string_view text);
    // The label and spaces up to `width` characters, at least one space.
    static std::string padded(const std::string& label, std::size_t width);
};

}  // namespace quorvel
