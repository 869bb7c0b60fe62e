// SPDX-License-Identifier: GPL-3.0-or-later
// The chart pages of each plan shape from the kept calendar months.
#include <gtest/gtest.h>

#include "TestEnv.hpp"
#include "model/DateDay.hpp"
#include "model/PeriodMonths.hpp"

namespace quorvel {
namespace {


LocalDay day(const char* text)
{
    return *LocalDay::parse(text);
}

// Calendar months holding one 1-byte day on each of the given days.
std::vector<std::unique_ptr<MonthTraffic>> kept(std::initializer_list<const char*> days)
{
    std::vector<std::unique_ptr<MonthTraffic>> months;
    for (const char* text : days) {
        const LocalDay d = day(text);
        if (months.empty() || !DateDay::isTheSameMonth(*months.back()->date(), d.noon())) {
            months.push_back(std::make_unique<MonthTraffic>(d.noon(), 1000));
        }
        months.back()->bookDay(CTrafficPoint::trafficPointWithDate(d.noon(), 1));
    }
    return months;
}

TEST(PeriodMonths, OnePagePerPeriodBackToTheOldestKeptDay)
{
    const auto months = kept({"2027-01-20", "2027-02-03", "2027-02-20", "2027-03-10"});
    struct Case {
        const char* what;
        PlanShape shape;
        const char* today;
        std::vector<std::pair<const char*, const char*>> pages;
        std::vector<std::uint64_t> used;
    };
    const Case cases[] = {
        {"monthly from the 15th", PlanShape::monthly(15), "2027-03-12",
         {{"2027-01-15", "2027-02-14"}, {"2027-02-15", "2027-03-14"}}, {2, 2}},
        {"every 28 days", PlanShape::every(28, day("2027-01-01")), "2027-03-12",
         {{"2027-01-01", "2027-01-28"}, {"2027-01-29", "2027-02-25"}, {"2027-02-26", "2027-03-25"}}, {1, 2, 1}},
        {"daily: the last 31 days", PlanShape::daily(), "2027-03-12", {{"2027-02-10", "2027-03-12"}}, {2}},
        {"prepaid: its one period", PlanShape::prepaid(day("2027-02-01"), day("2027-04-30")), "2027-03-12",
         {{"2027-02-01", "2027-04-30"}}, {3}},
        {"a weekly plan stops at twelve pages", PlanShape::every(1, day("2027-01-01")), "2027-03-12",
         {}, {}},
    };
    for (const Case& c : cases) {
        const FTrafficDataInformation::Months pages = PeriodMonths::build(months, c.shape, day(c.today), 1000);
        if (c.pages.empty()) {
            EXPECT_EQ(pages.size(), PeriodMonths::kMaxPages) << c.what;
            EXPECT_EQ(LocalDay::of(*pages.back()->last_date()), day(c.today)) << c.what;
            continue;
        }
        ASSERT_EQ(pages.size(), c.pages.size()) << c.what;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(LocalDay::of(*pages[i]->date()).text(), c.pages[i].first) << c.what << " " << i;
            EXPECT_EQ(LocalDay::of(*pages[i]->last_date()).text(), c.pages[i].second) << c.what << " " << i;
            EXPECT_EQ(pages[i]->pnDaysCount(), pages[i]->date() ? LocalDay::of(*pages[i]->date()).daysUntil(
                                                                      LocalDay::of(*pages[i]->last_date())) + 1
                                                                : 0)
                << c.what;
            EXPECT_EQ(pages[i]->getDataUsed(), c.used[i]) << c.what << " " << i;
        }
    }
    EXPECT_TRUE(PeriodMonths::build({}, PlanShape::monthly(1), day("2027-03-12"), 1000).empty());
}

}  // namespace
}  // namespace quorvel
