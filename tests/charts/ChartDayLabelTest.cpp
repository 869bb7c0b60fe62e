// SPDX-License-Identifier: GPL-3.0-or-later
// Day labels of billing periods that start late in the month and cross February, in common and
// leap years: every label is a day the period really has.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "charts/ChartDayLabel.hpp"

namespace quorvel {
namespace {

struct PeriodCase {
    DateComponents first;
    int length;
    // Labels at the day axis's label positions 1, 6, 11, ..., 31; "-" where none is shown.
    std::vector<std::string> labels;
};

std::vector<std::string> labelsOf(const PeriodCase& c)
{
    std::vector<std::string> out;
    for (int position = 1; position <= 31; position += 5) {
        const auto day = ChartDayLabel::dayAt(c.first, position, c.length);
        out.push_back(day ? std::to_string(*day) : "-");
    }
    return out;
}

TEST(ChartDayLabel, NamesOnlyRealDaysOfPeriodsAcrossFebruary)
{
    const PeriodCase cases[] = {
        // Start day 28.
        {{2026, 1, 28}, 31, {"28", "2", "7", "12", "17", "22", "27"}},
        {{2026, 2, 28}, 28, {"28", "5", "10", "15", "20", "25", "-"}},
        {{2024, 2, 28}, 29, {"28", "4", "9", "14", "19", "24", "-"}},
        // Start day 29: February 29 exists only in leap years.
        {{2024, 1, 29}, 31, {"29", "3", "8", "13", "18", "23", "28"}},
        {{2024, 2, 29}, 29, {"29", "5", "10", "15", "20", "25", "-"}},
        {{2026, 1, 29}, 31, {"29", "3", "8", "13", "18", "23", "28"}},
        {{2026, 3, 1}, 28, {"1", "6", "11", "16", "21", "26", "-"}},
        // Start day 30: 30 January - 28 February 2026 has 30 days and no "29".
        {{2026, 1, 30}, 30, {"30", "4", "9", "14", "19", "24", "-"}},
        {{2028, 1, 30}, 31, {"30", "4", "9", "14", "19", "24", "29"}},
        {{2025, 12, 30}, 31, {"30", "4", "9", "14", "19", "24", "29"}},
        // Start day 31: the period after a short month begins on the 1st.
        {{2026, 1, 31}, 29, {"31", "5", "10", "15", "20", "25", "-"}},
        {{2028, 1, 31}, 30, {"31", "5", "10", "15", "20", "25", "-"}},
        {{2026, 3, 1}, 30, {"1", "6", "11", "16", "21", "26", "-"}},
        {{2026, 3, 31}, 31, {"31", "5", "10", "15", "20", "25", "30"}},
        {{2026, 12, 31}, 31, {"31", "5", "10", "15", "20", "25", "30"}},
    };
    for (const PeriodCase& c : cases) {
        EXPECT_EQ(labelsOf(c), c.labels) << c.first.year << "-" << c.first.month << "-" << c.first.day << " for "
                                         << c.length << " days";
    }
}

TEST(ChartDayLabel, MarginsAndImpossibleStartsHaveNoLabel)
{
    const DateComponents first{2026, 4, 15};
    EXPECT_EQ(ChartDayLabel::dayAt(first, 0, 30), std::nullopt) << "the margin before day 1";
    EXPECT_EQ(ChartDayLabel::dayAt(first, -1, 30), std::nullopt);
    EXPECT_EQ(ChartDayLabel::dayAt(first, 31, 30), std::nullopt) << "the margin after the last day";
    EXPECT_EQ(ChartDayLabel::dayAt(first, 30, 30), std::optional<int>(14));
    EXPECT_EQ(ChartDayLabel::dayAt(DateComponents{2026, 2, 30}, 1, 30), std::nullopt) << "no such first day";
    EXPECT_EQ(ChartDayLabel::dayAt(DateComponents{}, 1, 30), std::nullopt) << "no start date at all";
}

}  // namespace
}  // namespace quorvel
