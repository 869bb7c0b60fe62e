// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlColumns.hpp"

namespace quorvel {

std::size_t CtlColumns::characters(std::string_view text)
{
    std::size_t chars = 0;
    for (const unsigned char c : text) {
        chars += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return chars;
}

std::string CtlColumns::padded(const std::string& label, std::size_t width)
{
    const std::size_t chars = characters(label);
    return label + std::string(chars < width ? width - chars : 1, ' ');
}

}  // namespace quorvel
