#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/CTrafficPoint.hpp"
#include "model/TrafficCorrection.hpp"
#include "platform/Date.hpp"

namespace quorvel {

// One month of traffic: a calendar month as the history stores it (no last date, no day count),
// or a billing month built for the charts (first and last billing day, length, copies of the
// day records that fall into it). Either also holds the corrections dated in it.
class MonthTraffic {
public:
    static constexpr std::string_view kClassName = "MonthTraffic";
    // A stored record without a plan gets this one.
    static constexpr std::uint64_t kDefaultDecodedPlan = 3'000'000'000;

    MonthTraffic() = default;
    MonthTraffic(Date date, std::optional<std::uint64_t> planSize);  // initWithDate:planSize:

    int nDaysCount = 0;  // 0: not a billing month
    std::optional<Date> date;
    std::vector<CTrafficPoint> arrDaysTraffics;
    // In date order; a calendar month's are those entered in it, a billing month's those of its period.
    std::vector<TrafficCorrection> arrCorrections;
    std::optional<Date> last_date;
    std::optional<std::uint64_t> pMonthPlan;

    void updateDate(std::optional<Date> d)
    {
        if (d) {
            date = d;
        }
    }
    void setDaysCount(int n) { nDaysCount = n; }

    std::string psYear() const;
    std::string psMonth() const;
    int pnMonthNum() const;  // 0 without a date
    int pnDayNum() const;    // 0 without a date
    int pnDaysCount() const;

    // The days' bytes plus the corrections (never below 0).
    std::uint64_t getDataUsed() const;
    std::int64_t getCorrectionTotal() const;
    std::uint64_t getMaxDayUsedTraffic() const;
    void resetDaysTraffics() { arrDaysTraffics.clear(); }
    // Copies the leading records whose day-of-month is below d, up to the first that is not.
    bool addTrafficDaysFromTrafficsArrayBeforeDay(const std::vector<CTrafficPoint>* days, int d);
    // Copies every record whose day-of-month is d or more.
    bool addTrafficDaysFromTrafficsArraySinceDay(const std::vector<CTrafficPoint>* days, int d);
    void normailyzeStartDate();
    std::string getMonthPeriod() const;

    // A calendar-month copy: date, plan, the day records and corrections; no day count, no last date.
    MonthTraffic copy() const;

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<MonthTraffic> initWithCoder(ArchiveDecoder& coder);
};

}  // namespace quorvel
