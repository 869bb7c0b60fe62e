// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string_view>

#include "model/LocalDay.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// A data pack bought on top of the plan: a size valid from its first day to its last. A pack of
// N days from a date is valid from that day to the day N − 1 after it.
class AddonPack {
public:
    static constexpr int kMaxDays = 3660;

    AddonPack(std::uint64_t size, LocalDay first, int days);
    std::uint64_t size() const { return size_; }
    LocalDay first() const { return first_; }
    LocalDay last() const { return last_; }
    int days() const { return static_cast<int>(first_.daysUntil(last_) + 1); }
    bool validOn(LocalDay d) const { return d >= first_ && d <= last_; }

    friend bool operator==(const AddonPack&, const AddonPack&) = default;

    static constexpr std::string_view kClassName = "AddonPack";
    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    // Refuses (ArchiveError) a pack no command could have added.
    static AddonPack initWithCoder(ArchiveDecoder& coder);

private:
    std::uint64_t size_;
    LocalDay first_;
    LocalDay last_;
};

}  // namespace quorvel
