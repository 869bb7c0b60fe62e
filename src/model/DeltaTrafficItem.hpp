// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/Calendar.hpp"
#include "platform/Date.hpp"
#include "platform/Location.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// A place where cellular data was used: where the device was when the place was first seen
// (it never moves), the bytes attributed to it, and the hour of its latest activity.
class DeltaTrafficItem {
public:
    static constexpr std::string_view kClassName = "DeltaTrafficItem";

    DeltaTrafficItem() = default;
    DeltaTrafficItem(Date date, const std::optional<Location>& pinLoc, std::uint64_t nsz);  // initDate:pinLoc:nsz:

    std::optional<DateComponents> pDateComp;  // year, month, day and hour only
    std::optional<Location> pLocation;
    std::optional<std::int64_t> pDelta;

    void setNewDate(Date date);
    void addTrafficDelta(std::uint64_t bytes);
    std::int64_t delta() const { return pDelta.value_or(0); }

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<DeltaTrafficItem> initWithCoder(ArchiveDecoder& coder);
};

}  // namespace quorvel
