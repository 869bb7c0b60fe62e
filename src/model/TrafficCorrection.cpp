// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TrafficCorrection.hpp"

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

std::uint64_t TrafficCorrection::applied(std::uint64_t bytes, std::int64_t corrected)
{
    if (corrected < 0) {
        const auto less = static_cast<std::uint64_t>(-corrected);
        return bytes > less ? bytes - less : 0;
    }
    return bytes + static_cast<std::uint64_t>(corrected);
}

void TrafficCorrection::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeDate("Date", date_);
    coder.encodeInt64("Bytes", bytes_);
}

std::unique_ptr<TrafficCorrection> TrafficCorrection::initWithCoder(ArchiveDecoder& coder)
{
    const std::optional<Date> date = coder.decodeDate("Date");
    const std::optional<std::int64_t> bytes = coder.decodeInt64("Bytes");
    constexpr auto kMost = static_cast<std::int64_t>(ArchiveDecoder::kMaxByteCount);
    if (!date || !bytes || *bytes < -kMost || *bytes > kMost) {
        coder.fail("TrafficCorrection", "a date and a signed count of bytes up to 2^53");
    }
    return std::make_unique<TrafficCorrection>(*date, *bytes);
}

}  // namespace quorvel
