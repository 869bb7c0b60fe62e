// SPDX-License-Identifier: GPL-3.0-or-later
// Merging an imported history: which months stay days and which become totals, a correction of
// a month kept only as a total, the places (one per spot, the larger amount, twelve at most),
// and a month that the import pushes out of the day records keeping its total.
#include <gtest/gtest.h>

#include "engine/CTraffics.hpp"
#include "engine/HistoryImport.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;

struct HistoryImportTest : ::testing::Test {
    test::TestEnv t;  // today: 10 March 2026
    CTraffics history{t.env};

    void SetUp() override { history.setPMonthPlan(1'000'000'000); }
    static ImportedHistory::Day day(int year, int month, int d, std::uint64_t bytes)
    {
        const LocalDay when(year, month, d);
        return {when, CTrafficPoint::withShares(when.noon(), bytes, 0, 0, 0), std::nullopt};
    }
    static DeltaTrafficItem place(double latitude, std::int64_t bytes, int hour)
    {
        DeltaTrafficItem p;
        p.pLocation = Location{latitude, 13.0, 10.0};
        p.pDelta = bytes;
        p.pDateComp = DateComponents{2026, 3, 1, hour, 0, 0};
        return p;
    }
    HistoryImport::Plan merge(const ImportedHistory& in)
    {
        EXPECT_EQ(HistoryImport::refusal(in, LocalDay(2026, 3, 10)), std::nullopt);
        HistoryImport::Plan plan = HistoryImport::plan(history, in);
        HistoryImport::apply(history, plan);
        return plan;
    }
};

TEST_F(HistoryImportTest, TheNewestThreeMonthsStayDaysAndOlderOnesBecomeTotalsWithTheirCorrections)
{
    ASSERT_TRUE(history.addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(localDate(2026, 3, 9), 700)));
    ImportedHistory in;
    in.days = {day(2025, 11, 3, 4000), day(2025, 11, 4, 1000), day(2026, 1, 5, 300), day(2026, 2, 6, 200),
               day(2026, 3, 9, 500)};
    in.corrections = {TrafficCorrection(LocalDay(2025, 11, 20).noon(), -1500)};
    const HistoryImport::Plan plan = merge(in);

    ASSERT_EQ(history.months().size(), 3u);
    EXPECT_EQ(MonthTotal::of(*history.months().front()).text(), "2026-01");
    EXPECT_EQ(history.getTrafficForDate(localDate(2026, 3, 9))->getTotalTraffic(), 700u) << "the larger stays";
    ASSERT_EQ(history.monthTotals().list().size(), 1u);
    EXPECT_EQ(history.monthTotals().list()[0].text(), "2025-11");
    EXPECT_EQ(history.monthTotals().list()[0].used(), 3500u) << "November's days with its correction";
    EXPECT_EQ(plan.days.back().kind, HistoryImport::Kind::KeptRecorded);

    // The same file again changes nothing; a larger count of November replaces its total.
    const HistoryImport::Plan again = HistoryImport::plan(history, in);
    EXPECT_TRUE(again.changesNothing());
    ImportedHistory more;
    more.totals = {MonthTotal(2025, 11, 9000, 0, 0, std::nullopt)};
    merge(more);
    EXPECT_EQ(history.monthTotals().find(202511)->used(), 9000u);
}

TEST_F(HistoryImportTest, AMonthPushedOutOfTheDayRecordsKeepsItsTotal)
{
    ASSERT_TRUE(history.addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(localDate(2025, 12, 2), 800)));
    ASSERT_TRUE(history.addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(localDate(2026, 3, 2), 100)));
    ImportedHistory in;
    in.days = {day(2026, 1, 5, 300), day(2026, 2, 6, 200)};
    merge(in);
    ASSERT_EQ(history.months().size(), 3u);
    ASSERT_NE(history.monthTotals().find(202512), nullptr) << "December left the day records";
    EXPECT_EQ(history.monthTotals().find(202512)->used(), 800u);
    EXPECT_EQ(history.monthTotals().find(202512)->plan(), std::optional<std::uint64_t>(1'000'000'000));
}

TEST_F(HistoryImportTest, APlaceInBothKeepsTheLargerAmountAndTwelveAtMostStay)
{
    history.restorePlace(std::make_shared<DeltaTrafficItem>(place(52.0, 500, 1)));
    ImportedHistory in;
    in.places.push_back(place(52.0, 900, 20));  // the same spot, counted higher, used last
    for (int i = 1; i <= 12; ++i) {
        in.places.push_back(place(52.0 + i, 10 * i, i + 2));
    }
    const HistoryImport::Plan plan = merge(in);
    ASSERT_EQ(history.deltas().size(), 12u);
    EXPECT_EQ(plan.placesDropped, 1u);
    EXPECT_EQ(history.deltas()[0]->delta(), 900);
    EXPECT_EQ(history.deltas()[0]->pDateComp->hour, 20) << "the imported record of the spot, whole";
    EXPECT_NE(history.deltas()[1]->pLocation->latitude, 53.0) << "the least recently used one went";
}

TEST_F(HistoryImportTest, AFileThatCannotBeAHistoryIsRefused)
{
    ImportedHistory twice;
    twice.days = {day(2026, 3, 1, 5), day(2026, 3, 1, 6)};
    EXPECT_EQ(HistoryImport::refusal(twice, LocalDay(2026, 3, 10)), "the day 2026-03-01 is listed twice");
    ImportedHistory future;
    future.days = {day(2026, 3, 11, 5)};
    EXPECT_EQ(HistoryImport::refusal(future, LocalDay(2026, 3, 10)), "the day 2026-03-11 lies in the future");
    ImportedHistory month;
    month.totals = {MonthTotal(2026, 4, 1, 0, 0, std::nullopt)};
    EXPECT_EQ(HistoryImport::refusal(month, LocalDay(2026, 3, 10)), "the month 2026-04 lies in the future");
}

}  // namespace
}  // namespace quorvel
