// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Date.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// The traffic booked for one calendar day: the instant the record was made (its calendar day is
// the day it stands for), cellular bytes, the share of them booked while roaming, the share the
// user entered (an even spread of the data used before anything was measured) rather than
// measured, and Wi-Fi bytes (which nothing measures). A value type: copies are independent.
class CTrafficPoint {
public:
    static constexpr std::string_view kClassName = "CTrafficPoint";

    CTrafficPoint() = default;
    static CTrafficPoint trafficPointWithDate(Date date) { return CTrafficPoint(date, std::nullopt); }
    static CTrafficPoint trafficPointWithDate(Date date, std::uint64_t nTraff) { return CTrafficPoint(date, nTraff); }
    // A day of the user's even spread: every byte of it entered, none measured.
    static CTrafficPoint enteredPointWithDate(Date date, std::uint64_t nTraff)
    {
        CTrafficPoint p(date, nTraff);
        p.traffEntered_ = nTraff;
        return p;
    }

    // A day as another record of it states it (an import): every share given, none above `bytes`.
    static CTrafficPoint withShares(Date date, std::uint64_t bytes, std::uint64_t roaming, std::uint64_t entered,
                                    std::uint64_t free, std::uint64_t wifi = 0);
    // The same bytes and shares, whatever the instant in the day or a share stored as absent.
    bool sameAmounts(const CTrafficPoint& other) const;

    Date pDate() const { return date_; }
    const std::optional<std::uint64_t>& pTraff() const { return traff_; }
    const std::optional<std::uint64_t>& pTraffWf() const { return traffWf_; }
    // Part of the cellular bytes; absent (0) in records written before roaming was counted.
    const std::optional<std::uint64_t>& pTraffRoaming() const { return traffRoaming_; }
    // Part of the cellular bytes that was entered, not measured; absent (0) in older records,
    // whose bytes all count as measured.
    const std::optional<std::uint64_t>& pTraffEntered() const { return traffEntered_; }
    // Part of the cellular bytes used in the plan's free hours, which the carrier does not
    // charge; absent (0) in records written before free hours existed.
    const std::optional<std::uint64_t>& pTraffFree() const { return traffFree_; }

    std::uint64_t getTotalTraffic() const { return traff_.value_or(0); }
    std::uint64_t getTotalTrafficWf() const { return traffWf_.value_or(0); }
    std::uint64_t getRoamingTraffic() const { return traffRoaming_.value_or(0); }
    std::uint64_t getEnteredTraffic() const { return traffEntered_.value_or(0); }
    std::uint64_t getMeasuredTraffic() const { return getTotalTraffic() - getEnteredTraffic(); }
    std::uint64_t getFreeTraffic() const { return traffFree_.value_or(0); }
    // What counts as used against the plan: everything but the free hours' bytes.
    std::uint64_t getChargedTraffic() const { return getTotalTraffic() - getFreeTraffic(); }
    // Unsigned 64-bit arithmetic: wraps around like the counters it sums.
    void addTraffic(std::uint64_t n) { traff_ = getTotalTraffic() + n; }
    void addTrafficWf(std::uint64_t n) { traffWf_ = getTotalTrafficWf() + n; }
    // Cellular bytes of which `roaming` were used while roaming and `free` in free hours.
    void addTraffic(std::uint64_t n, std::uint64_t roaming, std::uint64_t free = 0)
    {
        addTraffic(n);
        if (roaming != 0) {
            traffRoaming_ = getRoamingTraffic() + roaming;
        }
        if (free != 0) {
            traffFree_ = getFreeTraffic() + free;
        }
    }
    // Another record of the same day taken into this one, every share with it.
    void absorb(const CTrafficPoint& other);
    int getDayNumberInMonth() const;
    std::string getMonthName() const;

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<CTrafficPoint> initWithCoder(ArchiveDecoder& coder);

private:
    CTrafficPoint(Date date, std::optional<std::uint64_t> traffic) : date_(date), traff_(traffic) {}

    // The roaming, entered and free shares never exceed the cellular bytes.
    Date date_{};
    std::optional<std::uint64_t> traff_;
    std::optional<std::uint64_t> traffWf_;
    std::optional<std::uint64_t> traffRoaming_;
    std::optional<std::uint64_t> traffEntered_;
    std::optional<std::uint64_t> traffFree_;
};

}  // namespace quorvel
