// SPDX-License-Identifier: GPL-3.0-or-later
// The usage summary and the main screen's figures derived from it.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "Summaries.hpp"
#include "TestEnv.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/MainScreenFigures.hpp"

namespace quorvel {
namespace {

using test::localDate;

// A signed day count as the summary holds it: sign-extended into the unsigned field.
std::uint64_t widened(std::int32_t n)
{
    return static_cast<std::uint64_t>(std::int64_t{n});
}

TEST(Summary, NewPlanRecomputesWhatIsLeftAndNothingElse)
{
    const struct {
        std::uint64_t plan;
        std::optional<std::uint64_t> used, daysLeft;
        std::uint64_t left, perDay;
    } cases[] = {
        {1'000'000'000, 2'000'000'000, widened(10), 0, 0},     // over the plan
        {1'000'000'000, 1'000'000'000, widened(10), 0, 0},     // exactly the plan
        {1'000'000, 0, widened(3), 1'000'000, 333'333},        // truncating division
        {1'000'000, std::nullopt, std::nullopt, 1'000'000, 1'000'000},
        {5'000'000, 1'000'000, widened(0), 4'000'000, 4'000'000},
        {5'000'000, 1'000'000, widened(-2), 4'000'000, 4'000'000},  // a negative count divides by 1
    };
    for (const auto& c : cases) {
        // A summary never given figures has none; one made by an update has them all.
        FTrafficDataInformation info;
        if (c.used) {
            info = *test::summaryWith({.used = *c.used, .daysLeft = static_cast<std::int32_t>(*c.daysLeft), .estimate = 77});
        }
        info.reinitForNewPlan(c.plan);
        EXPECT_EQ(std::tuple(info.pDataPlan(), info.pDataLeft(), info.pDataPerDayLeft(), info.pDataUsed()),
                  std::tuple(c.plan, c.left, c.perDay, c.used))
            << c.plan;
        EXPECT_EQ(info.pDataEstimation(), c.used ? std::optional<std::uint64_t>(77) : std::nullopt) << c.plan;
    }
}

TEST(Summary, MonthQueriesByIndexTreatNullEntriesAndBadIndexesAsEmpty)
{
    FTrafficDataInformation info;
    EXPECT_EQ(info.getDataUsed(0), 0u);  // no list at all
    auto march = std::make_shared<MonthTraffic>(localDate(2026, 3, 1), 1'000'000'000);
    march->bookDay(CTrafficPoint::trafficPointWithDate(localDate(2026, 3, 1), 300));
    march->bookDay(CTrafficPoint::trafficPointWithDate(localDate(2026, 3, 2), 700));
    march->bookDay(CTrafficPoint::trafficPointWithDate(localDate(2026, 3, 3), 200));
    info.setMonths(FTrafficDataInformation::Months{nullptr, march});
    EXPECT_EQ(std::tuple(info.getMonthItemsCount(), info.getDataUsed(1), info.getMaxDayUsedTraffic(1)),
              std::tuple(2u, 1200u, 700u));
    for (std::int64_t i : {-1, 0, 2}) {  // before the list, a null entry, past the end
        EXPECT_EQ(info.getMonthItemPointerInfoforMonth(i), nullptr) << i;
        EXPECT_EQ(info.getDataUsed(i) + info.getMaxDayUsedTraffic(i), 0u) << i;
    }
}

struct FigureCase {
    std::uint64_t plan, used, estimation;
    std::int32_t daysUsed, daysLeft;
    const char* percent;
    const char* gauge;
    double progress;
    double marker;
    bool extend;
};

TEST(MainScreenFigures, PercentageGaugeMarkerAndAdvice)
{
    const FigureCase cases[] = {
        {0, 5'000'000, 1, 3, 4, "0", "0%", 0.0, 4.0 / 7.0, true},  // no plan: nothing divides by it
        {0, 0, 0, 3, 4, "0", "0%", 0.0, 4.0 / 7.0, false},
        {100'000'000, 999'000'000, 0, 9, 22, ">999", "999%", 9.99, 10.0 / 31.0, false},
        {100'000'000, 998'999'999, 0, 9, 22, "998", "998%", 9.98999999, 10.0 / 31.0, false},
        {1'000'000'000, 999'000'000, 1'000'000'000, 0, 0, "99", "99%", 0.999, 0.0, false},  // truncated
        {1'000'000'000, 12'500'000'000, 2, 1, 1, ">999", "1250%", 12.5, 1.0, false},
        {1'000'000'000, 625'000'000, 1'000'000'001, 18, 13, "62", "62%", 0.625, 19.0 / 31.0, true},
        {100, 29, 0, 1, 1, "29", "29%", 0.29, 1.0, false},  // 0.29 × 100 is 28.999… as a double
        {100, 57, 0, 1, 1, "57", "57%", 0.57, 1.0, false},
    };
    for (const FigureCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.used << " of " << c.plan);
        const FTrafficDataInformation info = *test::summaryWith(
            {.plan = c.plan, .used = c.used, .daysUsed = c.daysUsed, .daysLeft = c.daysLeft, .estimate = c.estimation});
        const MainScreenFigures f = MainScreenFigures::fromSummary(info, localDate(2026, 3, 5));
        EXPECT_EQ(f.percentUsed, c.percent);
        EXPECT_EQ(f.progressText, c.gauge);
        EXPECT_NEAR(f.progress, c.progress, 1e-6);
        EXPECT_DOUBLE_EQ(f.marker, c.marker);
        EXPECT_EQ(f.adviceEmphasised, c.extend);
        EXPECT_EQ(f.advice, c.extend ? "Consider the possibility of the Data Plan extending"
                                     : "You stay within your normal range of usage");
    }
}

TEST(MainScreenFigures, TextsOfTheSummaryFields)
{
    const FTrafficDataInformation info =
        *test::summaryWith({.plan = 1'000'000'000, .used = 123'456'789, .daysUsed = 1, .daysLeft = 0, .perDayLeft = 1536});
    const MainScreenFigures f = MainScreenFigures::fromSummary(info, localDate(2026, 3, 5, 23, 59));
    EXPECT_EQ(std::tuple(f.plan, f.used, f.leftDaily, f.usedToday, f.percentUsed),
              std::tuple("1 GB", "123.5 MB", "1.54 KB", "0 MB", "12"));
    EXPECT_EQ(std::tuple(f.cyclePassed, f.cycleLeft, f.dateLong, f.markerText),
              std::tuple("1 day", "0 days", "March 5", "March 5"));
    // A summary no update has filled: absent figures read as 0.
    const MainScreenFigures none = MainScreenFigures::fromSummary(FTrafficDataInformation{}, localDate(2026, 3, 5));
    EXPECT_EQ(std::tuple(none.plan, none.used, none.usedToday, none.percentUsed),
              std::tuple("0 MB", "0 MB", "0 MB", "0"));
}

}  // namespace
}  // namespace quorvel
