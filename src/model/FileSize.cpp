// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FileSize.hpp"

#include <algorithm>
#include <array>
#include <charconv>

#include "platform/NumberFormat.hpp"

namespace quorvel {

std::string FileSize::formatMemoryStringDot1(std::uint64_t bytes)
{
    if (bytes == 0) {
        return "0 MB";
    }
    double b = static_cast<double>(bytes);
    std::size_t k = 0;
    while (b >= 1000.0) {
        b /= 1000.0;
        ++k;
    }
    std::string text = NumberFormat::formatDecimal(b, 0, b < 100.0 ? 2 : 1);
    std::replace(text.begin(), text.end(), ',', '.');
    if (text.empty()) {
        return text;
    }
    static constexpr std::array<const char*, 6> kUnits = {" Bytes", " KB", " MB", " GB", " TB", " PB"};
    if (k < kUnits.size()) {
        text += kUnits[k];
    }
    return text;
}

std::string FileSize::formatMemoryStringDot0MB(std::uint64_t bytes)
{
    const double m = static_cast<double>(bytes) / 1'000'000.0;
    if (m < 0.01) {
        return "0 MB";
    }
    // Fixed notation without the C locale, which a GUI may have switched to a comma.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, m, std::chars_format::fixed, m < 1.0 ? 2 : 0);
    return std::string(buf, r.ptr) + " MB";
}

}  // namespace quorvel
