// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTMutablePlotRange.hpp"
#include "plot/CPTPlotRange.hpp"

#include <gtest/gtest.h>

#include <optional>

using namespace quorvel;

namespace {

Decimal d(const char* text)
{
    return Decimal::fromString(text);
}

CPTPlotRange range(const char* location, const char* length)
{
    return CPTPlotRange(d(location), d(length));
}

}  // namespace

TEST(PlotRange, NegativeLengthRunsDownFromItsLocation)
{
    const CPTPlotRange r = range("5", "-3");
    EXPECT_EQ(r.minLimit(), d("2"));
    EXPECT_EQ(r.maxLimit(), d("5"));
    EXPECT_EQ(r.end(), d("2"));
    EXPECT_EQ(r.midPoint(), d("3.5"));
    EXPECT_DOUBLE_EQ(r.minLimitDouble(), 2.0);
    EXPECT_DOUBLE_EQ(r.maxLimitDouble(), 5.0);
    struct Case {
        const char* value;
        CPTPlotRangeComparisonResult expected;
    };
    const Case cases[] = {
        {"2", CPTPlotRangeComparisonResult::NumberInRange},   {"3.5", CPTPlotRangeComparisonResult::NumberInRange},
        {"5", CPTPlotRangeComparisonResult::NumberInRange},   {"5.01", CPTPlotRangeComparisonResult::NumberAboveRange},
        {"1.99", CPTPlotRangeComparisonResult::NumberBelowRange},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.compareToDecimal(d(c.value)), c.expected) << c.value;
        EXPECT_EQ(r.compareToDouble(std::stod(c.value)), c.expected) << c.value;
        EXPECT_EQ(r.contains(d(c.value)), c.expected == CPTPlotRangeComparisonResult::NumberInRange) << c.value;
    }
    EXPECT_FALSE(r.contains(Decimal::notANumber()));
}

TEST(PlotRange, DoublesFollowTheDecimals)
{
    CPTMutablePlotRange r(d("0.1"), d("0.2"));
    EXPECT_DOUBLE_EQ(r.locationDouble(), 0.1);
    r.setLocation(d("-1"));
    r.setLength(d("32"));
    EXPECT_DOUBLE_EQ(r.locationDouble(), -1.0);
    EXPECT_DOUBLE_EQ(r.lengthDouble(), 32.0);
    EXPECT_DOUBLE_EQ(r.endDouble(), 31.0);
    EXPECT_EQ(CPTPlotRange().length(), Decimal());
}

TEST(PlotRange, CopiesAreIndependentValues)
{
    CPTMutablePlotRange mutableRange(d("1"), d("2"));
    const CPTPlotRange frozen = mutableRange;
    mutableRange.setLength(d("10"));
    EXPECT_EQ(frozen.length(), d("2"));
    EXPECT_TRUE(frozen.isEqualToRange(range("1", "2")));
    EXPECT_FALSE(frozen.isEqualToRange(mutableRange));
    EXPECT_EQ(frozen.description(), "<CPTPlotRange {1, 2}>");
}

TEST(MutablePlotRange, IntersectionKeepsDirectionAndHandlesDisjointRanges)
{
    struct Case {
        CPTPlotRange start;
        std::optional<CPTPlotRange> other;
        CPTPlotRange expected;
    };
    const Case cases[] = {
        {range("0", "10"), range("-1", "5"), range("0", "4")},
        {range("0", "10"), range("20", "5"), range("0", "0")},
        {range("10", "-10"), range("2", "3"), range("5", "-3")},
        {range("0", "10"), range("10", "-4"), range("6", "4")},
        {range("0", "10"), std::nullopt, range("0", "10")},
        {range("0", "10"), range("10", "5"), range("10", "0")},
    };
    for (const auto& c : cases) {
        CPTMutablePlotRange r(c.start);
        r.intersectionPlotRange(c.other ? &*c.other : nullptr);
        EXPECT_TRUE(r.isEqualToRange(c.expected)) << c.start.description() << " -> " << r.description();
    }
}

TEST(MutablePlotRange, UnionExpandAndShifts)
{
    CPTMutablePlotRange u = CPTMutablePlotRange(range("0", "2"));
    const CPTPlotRange other = range("5", "-1");
    u.unionPlotRange(&other);
    EXPECT_TRUE(u.isEqualToRange(range("0", "5")));

    CPTMutablePlotRange e(range("0", "10"));
    e.expandRangeByFactor(d("1.5"));
    EXPECT_TRUE(e.isEqualToRange(range("-2.5", "15")));

    CPTMutablePlotRange s(range("8", "4"));
    s.shiftEndToFitInRange(range("0", "10"));
    EXPECT_TRUE(s.isEqualToRange(range("6", "4")));
    CPTMutablePlotRange t(range("-3", "4"));
    t.shiftLocationToFitInRange(range("0", "10"));
    EXPECT_TRUE(t.isEqualToRange(range("0", "4")));
}
