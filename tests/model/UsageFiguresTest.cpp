// SPDX-License-Identifier: GPL-3.0-or-later
// The billing period's derived figures from their base amounts, as a list of cases.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "model/UsageFigures.hpp"

namespace quorvel {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(UsageFigures, DerivedFromTheBaseAmounts)
{
    const struct {
        const char* what;
        UsageFigures::Base base;
        std::uint64_t left, perDayLeft, average, estimate, dayPlan;
    } cases[] = {
        {"mid-period", {1'000'000'000, 900, 5, 9, 22, 31, 0, std::nullopt}, 999'999'100, 45'454'504, 90, 2'790, 32'258'064},
        {"first day: today alone is the average", {3'100, 100, 100, 0, 31, 31, 0, std::nullopt}, 3'000, 96, 100, 3'100, 100},
        {"plan used exactly", {2'000, 2'000, 0, 10, 20, 30, 0, std::nullopt}, 0, 0, 181, 5'430, 66},
        {"over the plan leaves nothing, not a wrap", {2'000, 5'000, 0, 10, 20, 30, 0, std::nullopt}, 0, 0, 454, 13'620, 66},
        {"last day", {3'000, 1'000, 10, 29, 1, 30, 0, std::nullopt}, 2'000, 2'000, 33, 990, 100},
        {"no days left is taken as one", {3'000, 1'000, 10, 29, 0, 30, 0, std::nullopt}, 2'000, 2'000, 33, 990, 100},
        {"unknown period length: 30 days for the day plan", {3'000, 0, 0, 0, 1, 0, 0, std::nullopt}, 3'000, 3'000, 0, 0, 100},
        {"a plan beyond 2^63 bytes stays exact", {kMax, 1, 0, 0, 1, 31, 0, std::nullopt}, kMax - 1, kMax - 1, 1, 31, kMax / 31},
        {"an estimate past 64 bits saturates", {kMax, kMax, 0, 0, 1, 31, 0, std::nullopt}, 0, 0, kMax, kMax, kMax / 31},
    };
    for (const auto& c : cases) {
        const UsageFigures f = UsageFigures::compute(c.base);
        EXPECT_EQ(f.left, c.left) << c.what;
        EXPECT_EQ(f.perDayLeft, c.perDayLeft) << c.what;
        EXPECT_EQ(f.averagePerDay, c.average) << c.what;
        EXPECT_EQ(f.estimate, c.estimate) << c.what;
        EXPECT_EQ(f.dayPlan, c.dayPlan) << c.what;
    }
}

TEST(UsageFigures, PacksLostUnusedAndAnEndedPlanCountAgainstTheAllowance)
{
    const struct {
        const char* what;
        std::uint64_t allowance, used, forfeited;
        std::optional<std::uint64_t> allowanceLeft;
        std::uint64_t left, charged, spent;
    } cases[] = {
        {"no packs: plan less use", 1'000, 400, 0, std::nullopt, 600, 400, 400},
        {"over the plan: spent is the use", 1'000, 1'400, 0, std::nullopt, 0, 1'400, 1'400},
        {"a pack lost unused is spent", 1'500, 400, 300, 800, 800, 700, 700},
        {"packs lost to the last byte: all spent", 1'500, 900, 600, 0, 0, 1'500, 1'500},
        {"an ended prepaid plan has nothing left: all spent", 1'000, 300, 0, 0, 0, 300, 1'000},
    };
    for (const auto& c : cases) {
        UsageFigures::Base base{c.allowance, c.used, 0, 3, 5, 8, 0, std::nullopt};
        base.forfeited = c.forfeited;
        base.allowanceLeft = c.allowanceLeft;
        const UsageFigures f = UsageFigures::compute(base);
        EXPECT_EQ(f.left, c.left) << c.what;
        EXPECT_EQ(f.charged(), c.charged) << c.what;
        EXPECT_EQ(f.spent(), c.spent) << c.what;
    }
}

TEST(UsageFigures, AnotherPlanKeepsTheDaysAndTheUse)
{
    const UsageFigures before = UsageFigures::compute({1'000, 400, 50, 9, 21, 30, 0, std::nullopt});
    const UsageFigures after = before.withPlan(3'000);
    EXPECT_EQ(after.base.used, 400u);
    EXPECT_EQ(after.base.daysLeft, 21);
    EXPECT_EQ(after.left, 2'600u);
    EXPECT_EQ(after.perDayLeft, 2'600u / 21);
    EXPECT_EQ(after.dayPlan, 100u);
    EXPECT_EQ(after.averagePerDay, before.averagePerDay);
    EXPECT_EQ(before.withPlan(100).left, 0u) << "a smaller plan than the use leaves nothing";
}

}  // namespace
}  // namespace quorvel
