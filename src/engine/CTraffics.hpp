// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/CTrafficObtainer.hpp"
#include "engine/TrafficRoute.hpp"
#include "model/Allowance.hpp"
#include "model/DeltaTrafficItem.hpp"
#include "model/TCResult.hpp"
#include "model/MonthTotals.hpp"
#include "model/MonthTraffic.hpp"
#include "platform/Location.hpp"

namespace quorvel {

// The daily traffic history: one day record per calendar day with booked traffic, grouped into
// calendar-month records, the three most recent months at most. It owns the counter sampler,
// books each sample's increment, and attributes the growth of the month's total to places.
class CTraffics {
public:
    static constexpr std::string_view kClassName = "CTraffics";
    static constexpr std::size_t kMaxMonths = 3;
    static constexpr std::size_t kMaxDeltas = 12;
    static constexpr double kSamePlaceMetres = 100.0;

    explicit CTraffics(const Env& env);  // init

    // The calendar-month records, oldest first.
    const std::vector<std::unique_ptr<MonthTraffic>>& months() const { return months_; }
    // What is kept of the months that left the day records, oldest first.
    const MonthTotals& monthTotals() const { return totals_; }
    // The places, in the order they were first used.
    const std::vector<std::shared_ptr<DeltaTrafficItem>>& deltas() const { return deltas_; }
    // Where the device was last seen; the next booked bytes go to the place there.
    const std::optional<Location>& lastLocation() const { return lastLocation_; }
    void setLastLocation(std::optional<Location> location) { lastLocation_ = std::move(location); }
    CTrafficObtainer& sampler() { return *obtainer_; }
    const CTrafficObtainer& sampler() const { return *obtainer_; }

    // Records taken as they were stored (by the decoder, the demo state, a test's set-up):
    // appended in the given order, neither sorted nor trimmed.
    void restoreMonth(std::unique_ptr<MonthTraffic> month);
    void restorePlace(std::shared_ptr<DeltaTrafficItem> place);

    std::optional<std::uint64_t> pMonthPlan() const { return pMonthPlan_; }
    void setPMonthPlan(std::optional<std::uint64_t> plan);

    // The day list of the current calendar month; null when the last month record is older.
    const std::vector<CTrafficPoint>* arrTraffics() const;

    // The central step: one sample booked (held instead while the clock is implausible);
    // whether anything changed.
    bool getNewTraffic(TCResult* r);
    // Where the samples' bytes on SIMs' links go (not owned; null: all are this history's).
    void setRoute(TrafficRoute* route) { route_ = route; }
    // A SIM's share of a sample, booked to today in this history and to the place `at`; false
    // when nothing was booked (nothing given, or a clock that cannot date it).
    bool bookShare(const TrafficIncrement::Share& share, const std::optional<Location>& at);
    // The day records and places handed to a new history; this one keeps its sampler and the
    // position and goes on with no day.
    std::unique_ptr<CTraffics> handOverRecords();
    // Adds another history's days, corrections and places to this one's (bytes counted on other
    // links: a day in both holds the sum).
    void absorbDays(const CTraffics& other);
    // Books a day record into the record of its own calendar month, made when missing; false
    // when the point was dropped because its month is older than the three kept.
    bool addNewTrafficPoint(const CTrafficPoint& point);
    // The record with that month number of this year (−1: the current month), made when
    // missing; null only when the clock stands before every one of three stored months.
    MonthTraffic* createOrGetMonthItemForMonthNumber(int n);
    // Replaces the current billing period's days by an even spread of `bytes` up to today, so
    // that the period's used figure is exactly `bytes`; earlier periods keep their days. Only for
    // a period that holds no measured byte: the spread days are marked as entered.
    void reinitTrafficPointsSinceToday(std::int32_t dayCount, std::uint64_t bytes, std::int32_t startDay);
    // The same for a period of any shape, from its first day to today.
    void spreadSince(LocalDay first, std::uint64_t bytes);
    // Months from the one of `day` on are kept even beyond three, so that a long period's used
    // figure stays exact; none: the three calendar months.
    void setKeepFrom(std::optional<LocalDay> day);
    std::optional<LocalDay> keepFrom() const { return keepFrom_; }

    // What an import changes, the screens told once: the record of the point's day replaced by
    // it (its month made with `plan` when missing), a correction, a month's total (the larger
    // kept), the places.
    void replaceDay(const CTrafficPoint& point, std::optional<std::uint64_t> plan);
    void addCorrection(const TrafficCorrection& correction);
    bool keepMonthTotal(const MonthTotal& total);
    void replacePlaces(std::vector<std::shared_ptr<DeltaTrafficItem>> places);

    std::uint64_t getTotalTraffic() const;
    // Every byte the day records of all kept months hold.
    std::uint64_t countedBytes() const;
    std::uint64_t getTotalTrafficWf() const;
    // Which share of a day record a sum adds up: all of it, or what was booked while roaming.
    using Share = std::uint64_t (CTrafficPoint::*)() const;
    // Per day from `first` to `last`, in day order: one share of the bytes and the corrections
    // dated that day (a day with neither is left out).
    std::vector<Allowance::DayUse> dayUse(LocalDay first, LocalDay last, Share share) const;
    static std::uint64_t getTrafficInMonth(const std::vector<CTrafficPoint>* days, int sinceDayNumber,
                                           Share share = &CTrafficPoint::getTotalTraffic);
    std::uint64_t getTrafficInCurMonthSinceDayNumber(int s, Share share = &CTrafficPoint::getTotalTraffic) const
    {
        return getTrafficInMonth(arrTraffics(), s, share);
    }
    std::uint64_t getTrafficInPrevMonthSinceDayNumber(int s, Share share = &CTrafficPoint::getTotalTraffic) const;

    // Whether the clock can date what a sample books: not before 2020, and not more than a day
    // before the newest stored day (phones boot at 1970 until the network sets the time).
    bool clockIsPlausible() const;
    // One share of the day records whose calendar day lies in [first, last], over every month.
    std::uint64_t sumWithin(Date first, Date last, Share share) const;
    // The corrections dated in [first, last].
    std::int64_t correctionsWithin(Date first, Date last) const;
    // Drops the corrections dated in [first, last] and, unless `bytes` is 0, keeps one of
    // `bytes` dated now in the current month's record. False when the clock stands before every
    // stored month (nothing changed then).
    bool replaceCorrection(Date first, Date last, std::int64_t bytes);
    std::uint64_t getTrafficTodayCount() const;
    std::uint64_t getRoamingTrafficToday() const;

    std::size_t getMonthItemsCount() const { return months_.size(); }
    // The record of month n (1..12) of the current year.
    const MonthTraffic* getMonthInfo(int monthNumber) const;
    // The record of the calendar month (year and month) of `date`.
    const MonthTraffic* getMonthInfoForDate(Date date) const;
    const std::vector<CTrafficPoint>* getMonthTrafficPoints(int monthNumber) const;
    const MonthTraffic* getMonthInfoForThisMonth() const;
    // Today's record when there is one, else the month's newest.
    const CTrafficPoint* getLatestTrafficItemForThisMonth() const;
    const CTrafficPoint* getTrafficItem(std::size_t i) const;
    const CTrafficPoint* getTrafficForDate(Date date) const;
    const CTrafficPoint* getTrafficToday() const;

    void resetTrafficPoints();
    void resetPrevMonthsInfo();

    // The places.
    void tryAddTrafficDelta(Date sampleDate, std::uint64_t n, TCResult* r);
    std::int32_t getLocationsCount() const { return static_cast<std::int32_t>(deltas_.size()); }
    void resetLocations();

    void dataUsageChanged();
    void deltasCountChanged();

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<CTraffics> initWithCoder(ArchiveDecoder& coder);

private:
    Date now() const;
    // The record of the current calendar month when it is the latest one; null otherwise.
    const MonthTraffic* currentMonthRecord() const;
    // The stored records the history itself changes; the getters above hand them out read-only.
    MonthTraffic* monthToChange(const MonthTraffic* found) const;
    void trimMonths();
    // The month totals are kept for ten years back from the current month.
    void forgetOldTotals();
    // addNewTrafficPoint without telling the screens: for a change of many days, told once.
    bool bookPoint(const CTrafficPoint& point);
    // A new month record in date order, trimmed to three; null when it was the one trimmed.
    MonthTraffic* insertMonth(Date date);

    std::vector<std::unique_ptr<MonthTraffic>> months_;
    MonthTotals totals_;
    std::unique_ptr<CTrafficObtainer> obtainer_;
    std::vector<std::shared_ptr<DeltaTrafficItem>> deltas_;
    std::optional<Location> lastLocation_;
    std::optional<std::uint64_t> pMonthPlan_;
    std::optional<LocalDay> keepFrom_;
    TrafficRoute* route_ = nullptr;
    const Env* env_;
};

}  // namespace quorvel
