// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Date.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// What the user's own figure for a billing period (the carrier's count) differs from what was
// booked in it: a dated, signed amount that every period figure adds like traffic booked on that
// date, kept beside the day records so that no measured byte is ever rewritten to match.
class TrafficCorrection {
public:
    static constexpr std::string_view kClassName = "TrafficCorrection";

    TrafficCorrection(Date date, std::int64_t bytes) : date_(date), bytes_(bytes) {}

    Date date() const { return date_; }
    // Negative when the carrier counted less than was booked.
    std::int64_t bytes() const { return bytes_; }

    // `bytes` with corrections summing to `corrected` added, never below 0.
    static std::uint64_t applied(std::uint64_t bytes, std::int64_t corrected);

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<TrafficCorrection> initWithCoder(ArchiveDecoder& coder);

private:
    Date date_;
    std::int64_t bytes_;
};

}  // namespace quorvel
