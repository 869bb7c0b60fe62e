// SPDX-License-Identifier: GPL-3.0-or-later
// The chart tab's year page: twelve bars named by their months, as high as each month's use, and
// the twelve months as the history gives them (days where held, totals before, nothing between).
#include <gtest/gtest.h>

#include <clocale>

#include <algorithm>
#include <string>
#include <vector>

#include "charts/FYearChartViewController.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/MonthTotals.hpp"
#include "plot/CPTRecordingContext.hpp"

namespace quorvel {
namespace {

MonthTotal used(int year, int month, std::uint64_t bytes)
{
    return MonthTotal(year, month, bytes, 0, 0, 1'000'000'000);
}

TEST(YearTotals, TwelveMonthsUpToTheCurrentOneFromDaysTotalsAndGaps)
{
    MonthTotals kept;
    kept.keep(used(2025, 1, 5));   // more than a year before: not shown
    kept.keep(used(2025, 6, 700));
    kept.keep(used(2025, 6, 600));  // the same month counted lower: the larger stays
    kept.keep(used(2025, 11, 300));
    const std::vector<MonthTotal> held = {used(2025, 11, 320), used(2025, 12, 400), used(2026, 1, 100)};
    const std::vector<MonthTotal> year = kept.lastTwelve(used(2026, 1, 0), held);
    ASSERT_EQ(year.size(), 12u);
    EXPECT_EQ(year.front().text(), "2025-02");
    EXPECT_EQ(year.back().text(), "2026-01");
    EXPECT_EQ(year[4].used(), 700u) << "June's larger count";
    EXPECT_EQ(year[9].used(), 320u) << "a month held as days says more than its total";
    EXPECT_EQ(year[10].used(), 400u);
    EXPECT_EQ(year[0].used(), 0u) << "a month nothing was kept of";
    EXPECT_EQ(kept.list().front().text(), "2025-01");
    kept.forgetOlderThanTenYears(used(2035, 2, 0));
    EXPECT_EQ(kept.list().front().text(), "2025-06") << "ten years back from February 2035 is February 2025";
}

TEST(YearPage, TheMonthsAreNamedAsTheUsersLanguageNamesThem)
{
    auto summary = std::make_shared<FTrafficDataInformation>();
    std::vector<MonthTotal> months;
    for (int m = 1; m <= 12; ++m) {
        months.push_back(used(2026, m, 100'000'000));
    }
    summary->setYearTotals(months);
    ASSERT_NE(std::setlocale(LC_TIME, "de_DE.UTF-8"), nullptr) << "tools/dev bootstrap makes the German locale";
    std::vector<std::string> texts;
    for (const int width : {720, 300}) {  // three letters, or on a narrow page one
        FYearChartViewController page;
        page.updateInterface(summary);
        page.layoutInPage(width, 560);
        CPTRecordingContext ctx;
        page.view.drawVectorsInContext(ctx);
        const std::vector<std::string> drawn = ctx.texts();
        texts.insert(texts.end(), drawn.begin(), drawn.end());
    }
    std::setlocale(LC_TIME, "C");
    for (const char* month : {"Mär", "Mai", "Okt", "Dez", "M", "O", "D"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), month), texts.end()) << month << " in " << ::testing::PrintToString(texts);
    }
}

TEST(YearPage, TwelveBarsNamedByTheirMonthsAsHighAsTheirUse)
{
    auto summary = std::make_shared<FTrafficDataInformation>();
    std::vector<MonthTotal> months;
    for (int m = 1; m <= 12; ++m) {
        months.push_back(used(2026, m, static_cast<std::uint64_t>(m) * 100'000'000));  // 0.1 GB to 1.2 GB
    }
    summary->setYearTotals(months);
    FYearChartViewController page;
    page.updateInterface(summary);
    page.layoutInPage(720, 560);
    CPTRecordingContext ctx;
    page.view.drawVectorsInContext(ctx);

    const std::vector<std::string> texts = ctx.texts();
    for (const char* month : {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"}) {
        const auto at = std::find(texts.begin(), texts.end(), month);
        EXPECT_NE(at, texts.end()) << month;
    }
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Traffic, GB"), texts.end()) << ::testing::PrintToString(texts);
    EXPECT_EQ(page.graph->title(), "Last 12 Months\n7.8 GB used");

    // Each bar is a gradient clipped to the bar's outline: the outlines, left to right, each
    // higher than the one before (after the plot area's own gradient).
    std::vector<double> tops;
    std::vector<double> lefts;
    const CPTRecordedOperation* clip = nullptr;
    int gradients = 0;
    for (const CPTRecordedOperation& op : ctx.operations()) {
        if (op.kind == CPTRecordedOperation::Kind::Clip) {
            clip = &op;
        }
        if (op.kind != CPTRecordedOperation::Kind::Gradient || gradients++ == 0 || clip == nullptr) {
            continue;
        }
        double top = 1e9;
        double left = 1e9;
        for (const CPTPoint& p : clip->pathPoints()) {
            const CPTPoint d = clip->transform.apply(p);
            top = std::min(top, d.y);
            left = std::min(left, d.x);
        }
        tops.push_back(top);
        lefts.push_back(left);
    }
    ASSERT_EQ(tops.size(), 12u);
    EXPECT_TRUE(std::is_sorted(lefts.begin(), lefts.end()));
    for (std::size_t i = 1; i < tops.size(); ++i) {
        EXPECT_LT(tops[i], tops[i - 1]) << "bar " << i << " stands higher (y grows downwards)";
    }
    EXPECT_DOUBLE_EQ(page.bars.dataForPlot.back().y, 1.2) << "1.2 GB in GB";

    // On a phone's width each month is named by its first letter.
    page.layoutInPage(360, 560);
    CPTRecordingContext narrow;
    page.view.drawVectorsInContext(narrow);
    const std::vector<std::string> initials = narrow.texts();
    EXPECT_EQ(std::count(initials.begin(), initials.end(), "J"), 3) << ::testing::PrintToString(initials);
    EXPECT_EQ(std::count(initials.begin(), initials.end(), "Jan"), 0);
}

}  // namespace
}  // namespace quorvel
