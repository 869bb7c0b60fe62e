// SPDX-License-Identifier: GPL-3.0-or-later
// Billing periods of every plan shape, and the allowance a period's packs and rollover make.
#include <gtest/gtest.h>

#include "TestEnv.hpp"
#include "model/Allowance.hpp"
#include "model/BillingPeriod.hpp"
#include "model/DataPlan.hpp"
#include "model/LocalDay.hpp"
#include "model/PlanPeriod.hpp"

namespace quorvel {
namespace {

using test::localDate;
using test::ScopedTimeZone;

LocalDay day(const char* text)
{
    return *LocalDay::parse(text);
}

struct PeriodCase {
    const char* what;
    PlanShape shape;
    const char* today;
    const char* first;
    const char* last;
    bool expired;
};

TEST(PlanPeriod, EachShapeGivesThePeriodAroundTheDay)
{
    const PeriodCase cases[] = {
        {"monthly from the 1st", PlanShape::monthly(1), "2027-02-14", "2027-02-01", "2027-02-28", false},
        {"monthly before the start day", PlanShape::monthly(15), "2027-03-03", "2027-02-15", "2027-03-14", false},
        {"monthly on the start day", PlanShape::monthly(15), "2027-03-15", "2027-03-15", "2027-04-14", false},
        {"31 after a short month begins on the 1st", PlanShape::monthly(31), "2027-03-10", "2027-03-01",
         "2027-03-30", false},
        {"31 into a short month ends with it", PlanShape::monthly(31), "2027-01-31", "2027-01-31", "2027-02-28",
         false},
        {"30 in a leap February", PlanShape::monthly(30), "2028-02-29", "2028-01-30", "2028-02-29", false},
        {"29 across the year's end", PlanShape::monthly(29), "2027-01-05", "2026-12-29", "2027-01-28", false},
        {"28 days, first period", PlanShape::every(28, day("2027-01-10")), "2027-01-10", "2027-01-10",
         "2027-02-06", false},
        {"28 days, its last day", PlanShape::every(28, day("2027-01-10")), "2027-02-06", "2027-01-10",
         "2027-02-06", false},
        {"28 days, the next renews", PlanShape::every(28, day("2027-01-10")), "2027-02-07", "2027-02-07",
         "2027-03-06", false},
        {"28 days, across a leap day", PlanShape::every(28, day("2028-02-20")), "2028-03-19", "2028-03-19",
         "2028-04-15", false},
        {"every 7 days, before the first date", PlanShape::every(7, day("2027-01-10")), "2027-01-09",
         "2027-01-03", "2027-01-09", false},
        {"every 366 days", PlanShape::every(366, day("2027-03-01")), "2028-02-29", "2027-03-01", "2028-02-29",
         false},
        {"daily", PlanShape::daily(), "2027-03-28", "2027-03-28", "2027-03-28", false},
        {"prepaid, running", PlanShape::prepaid(day("2027-01-01"), day("2027-03-31")), "2027-03-31",
         "2027-01-01", "2027-03-31", false},
        {"prepaid, past its last day", PlanShape::prepaid(day("2027-01-01"), day("2027-03-31")), "2027-04-01",
         "2027-01-01", "2027-03-31", true},
    };
    for (const PeriodCase& c : cases) {
        const PlanPeriod p = PlanPeriod::of(c.shape, day(c.today));
        EXPECT_EQ(p.first().text(), c.first) << c.what;
        EXPECT_EQ(p.last().text(), c.last) << c.what;
        EXPECT_EQ(p.expired(), c.expired) << c.what;
    }
}

TEST(PlanPeriod, DaysUsedAndLeftCountWholeDays)
{
    const PlanPeriod p = PlanPeriod::of(PlanShape::every(28, day("2027-01-10")), day("2027-01-20"));
    EXPECT_EQ(p.length(), 28);
    EXPECT_EQ(p.daysUsed(day("2027-01-20")), 10);
    EXPECT_EQ(p.daysLeft(day("2027-01-20")), 18);
    const PlanPeriod ended = PlanPeriod::of(PlanShape::prepaid(day("2027-01-01"), day("2027-01-31")), day("2027-02-05"));
    EXPECT_EQ(ended.daysUsed(day("2027-02-05")), 31);
    EXPECT_EQ(ended.daysLeft(day("2027-02-05")), 0);
    EXPECT_EQ(p.previous(PlanShape::every(28, day("2027-01-10"))).first().text(), "2026-12-13");
}

// The monthly shape must keep every figure the billing calendar gave before shapes existed:
// compared day by day over two years, for every start day, in two time zones with clock changes.
TEST(PlanPeriod, MonthlyMatchesTheBillingCalendarOnEveryDay)
{
    for (const char* zone : {"Europe/Berlin", "America/New_York"}) {
        ScopedTimeZone tz(zone);
        for (int s = 1; s <= 31; ++s) {
            const PlanShape shape = PlanShape::monthly(s);
            for (long n = 0; n < 731; ++n) {
                const LocalDay today = day("2027-01-01").plusDays(n);
                const Date at = localDate(today.year(), today.month(), today.day(), 9, 30);
                const PlanPeriod p = PlanPeriod::of(shape, today);
                const LocalDay first = LocalDay::of(BillingPeriod::getFirstBillingDayForDate(at, s));
                ASSERT_EQ(p.first(), first) << zone << " s=" << s << " " << today.text();
                ASSERT_EQ(p.last(), LocalDay::of(BillingPeriod::getLastBillingDayForStartDay(first.noon(), s)))
                    << zone << " s=" << s << " " << today.text();
                ASSERT_EQ(p.daysUsed(today), BillingPeriod::daysUsed(at, s)) << s << " " << today.text();
                ASSERT_EQ(p.daysLeft(today), BillingPeriod::daysLeft(at, s)) << s << " " << today.text();
                ASSERT_EQ(p.length(), BillingPeriod::getDayCountInBillingMonth(at, at, s)) << s << " " << today.text();
            }
        }
    }
}

TEST(PlanPeriod, ADaylightSavingChangeDoesNotMoveAPeriod)
{
    for (const char* zone : {"Europe/Berlin", "America/New_York"}) {
        ScopedTimeZone tz(zone);
        const PlanShape weekly = PlanShape::every(7, day("2027-03-08"));
        // 2027-03-14 (New York) and 2027-03-28 (Berlin) are the spring changes.
        for (const char* instant : {"2027-03-14", "2027-03-15", "2027-03-28", "2027-03-29"}) {
            const LocalDay d = day(instant);
            for (int hour : {0, 1, 3, 23}) {
                const LocalDay seen = LocalDay::of(localDate(d.year(), d.month(), d.day(), hour, 30));
                ASSERT_EQ(seen, d) << zone << " " << instant << " " << hour;
                const PlanPeriod p = PlanPeriod::of(weekly, seen);
                EXPECT_EQ((p.first().daysUntil(d)), (d.days() - day("2027-03-08").days()) % 7) << zone;
            }
        }
    }
}

TEST(LocalDay, OnlyDaysThatExistAreRead)
{
    EXPECT_TRUE(LocalDay::parse("2028-02-29"));
    for (const char* bad : {"2027-02-29", "2027-02-30", "2027-13-01", "2027-00-10", "2027-1-01", "27-01-01",
                            "2027-01-01x", "2027/01/01", "+027-01-01", ""}) {
        EXPECT_FALSE(LocalDay::parse(bad)) << bad;
    }
    EXPECT_EQ(LocalDay::fromDays(day("1969-12-31").days()).text(), "1969-12-31");
    EXPECT_EQ(*LocalDay::fromKey(20270310), day("2027-03-10"));
    EXPECT_FALSE(LocalDay::fromKey(20270230));
}

TEST(FreeHours, AWindowMayCrossMidnightAndItsNextEdgeIsWhereverItsStartOrEndComesFirst)
{
    const DataPlan::FreeHours night{0, 6 * 60};
    const DataPlan::FreeHours late{23 * 60, 6 * 60};
    struct Case {
        const DataPlan::FreeHours& w;
        int h, m, s;
        bool inside;
        int toEdge;
    };
    const Case cases[] = {
        {night, 0, 0, 0, true, 6 * 3600},       {night, 5, 59, 59, true, 1},
        {night, 6, 0, 0, false, 18 * 3600},     {night, 23, 59, 30, false, 30},
        {late, 22, 59, 0, false, 60},           {late, 23, 0, 0, true, 7 * 3600},
        {late, 2, 30, 0, true, 3 * 3600 + 1800}, {late, 6, 0, 1, false, 17 * 3600 - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.w.contains(c.h * 60 + c.m), c.inside) << c.h << ":" << c.m;
        EXPECT_EQ(c.w.secondsToNextEdge(c.h, c.m, c.s), c.toEdge) << c.h << ":" << c.m << ":" << c.s;
    }
}

constexpr std::uint64_t MB = 1'000'000;

Allowance::Input monthOf(std::uint64_t plan, const char* today)
{
    Allowance::Input in{plan, 0, PlanPeriod::of(PlanShape::monthly(1), day(today)), day(today), {}, {}};
    return in;
}

void use(Allowance::Input& in, const char* from, int days, std::int64_t perDay)
{
    for (int i = 0; i < days; ++i) {
        in.use.push_back({day(from).plusDays(i), perDay});
    }
}

TEST(Allowance, PacksFirstThenRolloverThenThePlan)
{
    struct Case {
        const char* what;
        std::uint64_t rollover;
        std::vector<AddonPack> packs;
        int daysUsed;  // 100 MB a day from the 1st
        std::uint64_t left, planUsed, rolloverLeft, allowance, forfeited;
        std::vector<std::uint64_t> packLeft;
    };
    const Case cases[] = {
        {"plan only", 0, {}, 5, 500 * MB, 500 * MB, 0, 1000 * MB, 0, {}},
        {"rollover before the plan", 300 * MB, {}, 5, 800 * MB, 200 * MB, 0, 1300 * MB, 0, {}},
        {"a pack before the rollover", 300 * MB, {AddonPack(250 * MB, day("2027-03-01"), 30)}, 5, 1050 * MB, 0,
         50 * MB, 1550 * MB, 0, {0}},
        {"the pack expiring first goes first", 0,
         {AddonPack(300 * MB, day("2027-03-01"), 20), AddonPack(300 * MB, day("2027-03-01"), 10)}, 4,
         1200 * MB, 0, 0, 1600 * MB, 0, {200 * MB, 0}},
        {"a pack expiring mid-period loses the rest", 0, {AddonPack(500 * MB, day("2027-03-01"), 3)}, 5, 800 * MB,
         200 * MB, 0, 1500 * MB, 200 * MB, {200 * MB}},
        {"use beyond everything", 100 * MB, {AddonPack(100 * MB, day("2027-03-01"), 30)}, 20, 0, 1800 * MB, 0,
         1200 * MB, 0, {0}},
    };
    for (const Case& c : cases) {
        Allowance::Input in = monthOf(1000 * MB, "2027-03-05");
        in.today = day("2027-03-01").plusDays(c.daysUsed - 1);
        in.rollover = c.rollover;
        in.packs = c.packs;
        use(in, "2027-03-01", c.daysUsed, 100 * MB);
        const Allowance::Result r = Allowance::compute(in);
        EXPECT_EQ(r.used, static_cast<std::uint64_t>(c.daysUsed) * 100 * MB) << c.what;
        EXPECT_EQ(r.left, c.left) << c.what;
        EXPECT_EQ(r.planUsed, c.planUsed) << c.what;
        EXPECT_EQ(r.rolloverLeft, c.rolloverLeft) << c.what;
        EXPECT_EQ(r.allowance, c.allowance) << c.what;
        EXPECT_EQ(r.forfeited, c.forfeited) << c.what;
        if (!c.packLeft.empty()) {
            EXPECT_EQ(r.packLeft, c.packLeft) << c.what;
        }
    }
}

TEST(Allowance, APackFromTheLastPeriodBringsOnlyWhatItHadLeft)
{
    Allowance::Input in = monthOf(1000 * MB, "2027-03-02");
    in.packs = {AddonPack(500 * MB, day("2027-02-25"), 7)};  // valid to 3 March
    use(in, "2027-02-25", 6, 100 * MB);
    const Allowance::Result r = Allowance::compute(in);
    EXPECT_EQ(r.allowance, 1000 * MB + 100 * MB);  // 400 MB of it went in February
    EXPECT_EQ(r.packLeft, std::vector<std::uint64_t>{0});
    EXPECT_EQ(r.planUsed, 100 * MB);
    EXPECT_EQ(r.used, 200 * MB);
    EXPECT_EQ(r.left, 900 * MB);
}

TEST(Allowance, ACorrectionDownFreesThePlanAndAnEndedPrepaidLeavesNothing)
{
    Allowance::Input in = monthOf(1000 * MB, "2027-03-03");
    in.rollover = 200 * MB;
    use(in, "2027-03-01", 3, 200 * MB);
    in.use.push_back({day("2027-03-03"), -500 * static_cast<std::int64_t>(MB)});
    Allowance::Result r = Allowance::compute(in);
    EXPECT_EQ(r.used, 100 * MB);
    EXPECT_EQ(r.planUsed, 0u);
    EXPECT_EQ(r.rolloverLeft, 100 * MB);

    Allowance::Input ended{1000 * MB, 0, PlanPeriod::of(PlanShape::prepaid(day("2027-03-01"), day("2027-03-10")), day("2027-03-12")),
                           day("2027-03-12"), {AddonPack(100 * MB, day("2027-03-11"), 5)}, {}};
    use(ended, "2027-03-01", 3, 100 * MB);
    EXPECT_EQ(Allowance::compute(ended).left, 0u);
}

}  // namespace
}  // namespace quorvel
