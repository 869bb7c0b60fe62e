// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

// Byte amounts as the user reads them, in decimal units (1 KB = 1000 bytes).
class FileSize {
public:
    // Adaptive: "512 Bytes", "1.54 KB", "123.5 MB", "2 GB"; 0 is "0 MB". The decimal separator
    // is always a point.
    static std::string formatMemoryStringDot1(std::uint64_t bytes);
    static std::string formatMemoryStringDot1NSnum(std::optional<std::uint64_t> bytes)
    {
        return formatMemoryStringDot1(bytes.value_or(0));
    }
    // Megabytes only: "0 MB" below 10,000 bytes, "0.25 MB", "2048 MB".
    static std::string formatMemoryStringDot0MB(std::uint64_t bytes);
};

}  // namespace quorvel
