// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/CTrafficPoint.hpp"
#include "model/DayRange.hpp"
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

    // The date order of the day records and of the corrections is the record's own promise:
    // only its operations below add to them.
    const std::optional<Date>& date() const { return date_; }
    const std::vector<CTrafficPoint>& arrDaysTraffics() const { return days_; }
    // In date order; a calendar month's are those entered in it, a billing month's those of its period.
    const std::vector<TrafficCorrection>& arrCorrections() const { return corrections_; }
    const std::optional<Date>& last_date() const { return lastDate_; }
    const std::optional<std::uint64_t>& pMonthPlan() const { return plan_; }
    int nDaysCount() const { return daysCount_; }  // 0: not a billing month

    void updateDate(std::optional<Date> d)
    {
        if (d) {
            date_ = d;
        }
    }
    void setDaysCount(int n) { daysCount_ = n; }
    void setLastDate(std::optional<Date> d) { lastDate_ = d; }
    void setPMonthPlan(std::optional<std::uint64_t> plan) { plan_ = plan; }

    std::string psYear() const;
    std::string psMonth() const;
    int pnMonthNum() const;  // 0 without a date
    int pnDayNum() const;    // 0 without a date
    int pnDaysCount() const;

    // The days' bytes but their free hours' share, plus the corrections (never below 0).
    std::uint64_t getDataUsed() const;
    std::int64_t getCorrectionTotal() const;
    std::uint64_t getMaxDayUsedTraffic() const;
    void resetDaysTraffics() { days_.clear(); }
    // Books a day's traffic: a day met again (the clock moved back, the time zone changed) grows
    // its one record, a new day is inserted in date order.
    void bookDay(const CTrafficPoint& point);
    // Drops the day records from day-of-month `first` on.
    void dropDaysSinceDay(int first);
    // Drops the day records whose day lies in `range`.
    void dropDaysWithin(const DayRange& range);
    // Drops the corrections dated within `range`.
    void dropCorrectionsWithin(const DayRange& range);
    // Keeps a correction, in date order.
    void addCorrection(const TrafficCorrection& correction);
    // Builds a billing month: appends the day records (their day keys given in `keys`, one per
    // record) and the corrections of `from` that lie in `range`, sources taken oldest first;
    // whether any was copied.
    bool addTrafficWithin(const MonthTraffic& from, const std::vector<int>& keys, const DayRange& range);
    // Copies the leading records whose day-of-month is below d, up to the first that is not.
    bool addTrafficDaysFromTrafficsArrayBeforeDay(const std::vector<CTrafficPoint>* days, int d);
    // Copies every record whose day-of-month is d or more.
    bool addTrafficDaysFromTrafficsArraySinceDay(const std::vector<CTrafficPoint>* days, int d);
    void normailyzeStartDate();
    std::string getMonthPeriod() const;
    // The same period as the user's language writes its days and months, for people only.
    std::string localMonthPeriod() const;

    // A calendar-month copy: date, plan, the day records and corrections; no day count, no last date.
    MonthTraffic copy() const;

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<MonthTraffic> initWithCoder(ArchiveDecoder& coder);

private:
    int daysCount_ = 0;
    std::optional<Date> date_;
    std::vector<CTrafficPoint> days_;
    std::vector<TrafficCorrection> corrections_;
    std::optional<Date> lastDate_;
    std::optional<std::uint64_t> plan_;
};

}  // namespace quorvel
