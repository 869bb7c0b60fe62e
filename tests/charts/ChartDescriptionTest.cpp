// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says of a chart page: the month's use, its days, the day used most, in the
// user's language and with the days named as the locale names them; the sizes keep their point.
#include <gtest/gtest.h>

#include <clocale>

#include "TestEnv.hpp"
#include "charts/ChartDescription.hpp"
#include "model/MonthTraffic.hpp"
#include "platform/Translation.hpp"

namespace quorvel {
namespace {

using test::localDate;

MonthTraffic march(std::vector<std::pair<int, std::uint64_t>> days)
{
    MonthTraffic m(localDate(2026, 3, 1), 1'000'000'000);
    for (const auto& [day, bytes] : days) {
        m.bookDay(CTrafficPoint::trafficPointWithDate(localDate(2026, 3, day), bytes));
    }
    return m;
}

class ChartDescriptionTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        std::setlocale(LC_MESSAGES, "C");
        std::setlocale(LC_TIME, "C");
    }
    static void german()
    {
        ASSERT_NE(std::setlocale(LC_MESSAGES, "de_DE.UTF-8"), nullptr) << "tools/dev bootstrap makes the German locale";
        std::setlocale(LC_TIME, "de_DE.UTF-8");
        bindtextdomain(Translation::kDomain, QUORVEL_LOCALE_DIR);
        bind_textdomain_codeset(Translation::kDomain, "UTF-8");
        textdomain(Translation::kDomain);
    }
};

TEST_F(ChartDescriptionTest, TheMonthsUseItsDaysAndTheDayUsedMostInTheUsersLanguage)
{
    const struct {
        MonthTraffic month;
        const char* english;
        const char* german;
    } cases[] = {
        {march({{1, 100'000'000}, {2, 500'000'000}, {3, 200'000'000}}),
         "From 1 March: 800 MB used on 3 days; the most on 2 March, 500 MB",
         "Ab 1. März: 800 MB an 3 Tagen verbraucht; am meisten am 2. März, 500 MB"},
        {march({{9, 1'250'000'000}}), "From 1 March: 1.25 GB used on 1 day; the most on 9 March, 1.25 GB",
         "Ab 1. März: 1.25 GB an 1 Tag verbraucht; am meisten am 9. März, 1.25 GB"},
        {march({}), "From 1 March: no traffic recorded yet", "Ab 1. März: noch kein Datenverkehr erfasst"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChartDescription::of(c.month), c.english);
    }
    german();
    for (const auto& c : cases) {
        EXPECT_EQ(ChartDescription::of(c.month), c.german);
    }
}

}  // namespace
}  // namespace quorvel
