// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "model/DeltaTrafficItem.hpp"
#include "locations/RegionAnnotation.hpp"
#include "platform/Calendar.hpp"

namespace quorvel {

// The marker record of one place: the texts of its callout, the amount it was made with, and
// the place itself, which is the key for finding the marker again.
class PPAnnotation final : public RegionAnnotation {
public:
    using RegionAnnotation::RegionAnnotation;

    // A marker for the place as it is now; a place without a location stands at 0, 0.
    static std::unique_ptr<PPAnnotation> forDelta(const std::shared_ptr<DeltaTrafficItem>& delta);
    // "1.5 GB Data Used", or "No Data Used" for zero.
    static std::string titleForBytes(std::int64_t bytes);
    // "Latest Activity - March 5"; empty without a date or with a month out of range.
    static std::string shortDateText(const std::optional<DateComponents>& date);

    std::string subtitle() const override;
    std::string pinPictureName() const;

    std::string pshortDate;
    std::int64_t nData = 0;
    // Held, not borrowed: while the marker lives no other place can take this address, so
    // finding a marker by identity never picks a stranger.
    std::shared_ptr<DeltaTrafficItem> pDeltaDataItem;
};

}  // namespace quorvel
