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
// the day it stands for), cellular bytes and Wi-Fi bytes (which nothing measures). A value type:
// copies are independent.
class CTrafficPoint {
public:
    static constexpr std::string_view kClassName = "CTrafficPoint";

    CTrafficPoint() = default;
    static CTrafficPoint trafficPointWithDate(Date date) { return CTrafficPoint(date, std::nullopt); }
    static CTrafficPoint trafficPointWithDate(Date date, std::uint64_t nTraff) { return CTrafficPoint(date, nTraff); }

    Date pDate{};
    std::optional<std::uint64_t> pTraff;
    std::optional<std::uint64_t> pTraffWf;

    std::uint64_t getTotalTRaffic() const { return pTraff.value_or(0); }
    std::uint64_t getTotalTRafficWf() const { return pTraffWf.value_or(0); }
    // Unsigned 64-bit arithmetic: wraps around like the counters it sums.
    void addTraffic(std::uint64_t n) { pTraff = getTotalTRaffic() + n; }
    void addTrafficWf(std::uint64_t n) { pTraffWf = getTotalTRafficWf() + n; }
    int getDayNumberInMonth() const;
    std::string getMonthName() const;

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<CTrafficPoint> initWithCoder(ArchiveDecoder& coder);

private:
    CTrafficPoint(Date date, std::optional<std::uint64_t> traffic) : pDate(date), pTraff(traffic) {}
};

}  // namespace quorvel
