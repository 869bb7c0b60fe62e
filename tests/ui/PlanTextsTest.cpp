// SPDX-License-Identifier: GPL-3.0-or-later
// What the plan page, the packs page and the main screen make of a plan without a window: the
// period's dates across month and year ends, the allowance's parts for packs yet to start, in
// use and expired, the fields a shape suggests, and the free-hours entry rules.
#include <gtest/gtest.h>

#include <clocale>

#include "platform/Translation.hpp"

#include "ui/main/AllowanceParts.hpp"
#include "ui/settings/PlanEntries.hpp"

namespace quorvel {
namespace {

constexpr std::uint64_t kMB = 1'000'000;

PlanFacts facts(LocalDay first, LocalDay last)
{
    PlanFacts f;
    f.periodFirst = first;
    f.periodLast = last;
    f.plan = 2'000 * kMB;
    f.allowance = f.plan;
    return f;
}

TEST(AllowancePartsText, PeriodDatesNameTheYearOnceUnlessItChanges)
{
    const LocalDay today(2026, 12, 20);
    EXPECT_EQ(AllowanceParts::of(facts({2026, 12, 1}, {2026, 12, 28}), today).period(), "1 Dec – 28 Dec 2026");
    EXPECT_EQ(AllowanceParts::of(facts({2026, 12, 15}, {2027, 1, 11}), today).period(), "15 Dec 2026 – 11 Jan 2027");
    EXPECT_EQ(AllowanceParts::of(facts({2026, 12, 20}, {2026, 12, 20}), today).period(), "20 Dec 2026");
}

TEST(AllowancePartsText, PeriodDatesInTheUsersLanguage)
{
    ASSERT_NE(std::setlocale(LC_MESSAGES, "de_DE.UTF-8"), nullptr) << "tools/dev bootstrap makes the German locale";
    std::setlocale(LC_TIME, "de_DE.UTF-8");
    bindtextdomain(Translation::kDomain, QUORVEL_LOCALE_DIR);
    bind_textdomain_codeset(Translation::kDomain, "UTF-8");
    textdomain(Translation::kDomain);
    const LocalDay today(2026, 12, 20);
    const std::string german = AllowanceParts::of(facts({2026, 11, 15}, {2026, 12, 14}), today).period();
    std::setlocale(LC_MESSAGES, "C");
    std::setlocale(LC_TIME, "C");
    EXPECT_EQ(german, "15. Nov – 14. Dez 2026");
    EXPECT_EQ(AllowanceParts::of(facts({2026, 11, 15}, {2026, 12, 14}), today).period(), "15 Nov – 14 Dec 2026");
}

TEST(AllowancePartsText, PartsOnlyWhenThereIsMoreThanThePlan)
{
    const LocalDay today(2026, 12, 20);
    PlanFacts f = facts({2026, 12, 1}, {2026, 12, 28});
    EXPECT_TRUE(AllowanceParts::of(f, today).parts().empty());

    f.rollover = 150 * kMB;
    ASSERT_EQ(AllowanceParts::of(f, today).parts().size(), 2u);
    EXPECT_EQ(AllowanceParts::of(f, today).parts()[1].value, "150 MB");

    f.rollover = 0;
    f.packs = {{500 * kMB, 0, {2026, 12, 1}, {2026, 12, 19}},
               {1'000 * kMB, 250 * kMB, {2026, 12, 14}, {2026, 12, 20}},
               {300 * kMB, 300 * kMB, {2026, 12, 22}, {2026, 12, 28}}};
    const AllowanceParts a = AllowanceParts::of(f, today);
    ASSERT_EQ(a.parts().size(), 4u) << "the plan and each pack; no rollover row without rollover";
    EXPECT_EQ(a.parts()[0].title, "Plan");
    EXPECT_EQ(a.parts()[1].title, "Pack 1 (500 MB)");
    EXPECT_EQ(a.parts()[1].value, "expired");
    EXPECT_EQ(a.parts()[2].value, "250 MB left · to 20 Dec") << "its last day is today";
    EXPECT_EQ(a.parts()[3].value, "from 22 Dec");
}

TEST(PlanEntriesText, FieldsOfAShapeAndWhatTheOtherKindsSuggest)
{
    const LocalDay today(2026, 2, 10);
    const PlanEntries::ShapeFields every = PlanEntries::fieldsOf(PlanShape::every(28, {2026, 1, 31}), today);
    EXPECT_EQ(every.everyDays, "28");
    EXPECT_EQ(every.from, "2026-01-31");
    EXPECT_EQ(every.until, "2026-03-01") << "a prepaid plan of 30 days from the same first day";
    const PlanEntries::ShapeFields monthly = PlanEntries::fieldsOf(PlanShape::monthly(31), today);
    EXPECT_EQ(monthly.startDay, "31");
    EXPECT_EQ(monthly.from, "2026-02-10");
    const PlanEntries::ShapeFields prepaid = PlanEntries::fieldsOf(PlanShape::prepaid({2026, 2, 1}, {2026, 2, 1}), today);
    EXPECT_EQ(prepaid.until, "2026-02-01");
    // What the fields show is taken back as the same shape.
    for (const PlanShape& s : {PlanShape::every(28, {2026, 1, 31}), PlanShape::monthly(31), PlanShape::daily(),
                               PlanShape::prepaid({2026, 2, 1}, {2026, 2, 1})}) {
        EXPECT_EQ(PlanEntries::shape(PlanEntries::fieldsOf(s, today)).value, s) << PlanEntries::shapeSummary(s);
    }
    EXPECT_EQ(PlanEntries::shapeSummary(PlanShape::every(1, {2026, 1, 31})), "Every 1 day from 2026-01-31");
}

TEST(PlanEntriesText, LeapDaysAndPackDays)
{
    PlanEntries::ShapeFields f;
    f.kind = PlanShape::Kind::Every;
    f.everyDays = "366";
    f.from = "2028-02-29";
    EXPECT_TRUE(PlanEntries::shape(f).value) << "2028 is a leap year";
    f.from = "2027-02-29";
    EXPECT_FALSE(PlanEntries::shape(f).value);
    f.everyDays = " 28";
    f.from = "2027-02-28";
    EXPECT_FALSE(PlanEntries::shape(f).value) << "digits only";

    const LocalDay today(2026, 12, 30);
    const auto pack = PlanEntries::pack("1000", "3", "", today);
    ASSERT_TRUE(pack.value);
    EXPECT_EQ(pack.value->last(), LocalDay(2027, 1, 1)) << "3 days from today: today and the 2 after it";
    EXPECT_FALSE(PlanEntries::pack("1000", "3661", "", today).value);
    EXPECT_FALSE(PlanEntries::pack("99999999999999999999", "3", "", today).value) << "beyond 64 bits";
    EXPECT_EQ(PlanEntries::packSummary(*pack.value, 0, LocalDay(2027, 1, 2)), "1 GB · expired 2027-01-01");
}

TEST(FreeHoursEntry, OneReadingForTheSettingsAndTheCommandLine)
{
    using Hours = DataPlan::FreeHours;
    EXPECT_EQ(Hours::parse("23:30-06:00"), (Hours{23 * 60 + 30, 6 * 60}));
    EXPECT_EQ(Hours::parse("00:00-23:59"), (Hours{0, 23 * 60 + 59}));
    for (const char* bad : {"06:00-06:00", "24:00-06:00", "23:60-06:00", "6:00-07:00", "06:00 07:00", "06:00-07:00x",
                            "0a:00-07:00", ""}) {
        EXPECT_FALSE(Hours::parse(bad)) << bad;
    }
    EXPECT_EQ((Hours{23 * 60, 5}.text()), "23:00-00:05");
    EXPECT_TRUE(PlanEntries::freeHours("22:00", "02:00").value);
    EXPECT_FALSE(PlanEntries::freeHours("22:00", "").value);
}

}  // namespace
}  // namespace quorvel
