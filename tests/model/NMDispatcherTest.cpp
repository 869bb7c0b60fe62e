// SPDX-License-Identifier: GPL-3.0-or-later
// The alert dispatcher: which findings are posted, under which title, and what the history keeps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "TestEnv.hpp"
#include "model/DateDay.hpp"
#include "model/DefaultsKeys.hpp"
#include "model/NMDispatcher.hpp"

namespace quorvel {
namespace {

using test::localDate;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class NMDispatcherTest : public ::testing::Test {
protected:
    NMDispatcherTest() { env.clock.set(localDate(2026, 3, 10)); }

    // A result of the clock's month with the given findings; the texts say what they are.
    LimitResult result(std::optional<int> day = {}, std::optional<double> warning = {},
                       std::optional<double> over = {}) const
    {
        LimitResult r = LimitResult::createDefResultDictionary(env.clock.now());
        if (day) {
            r.dayNum = day;
            r.msgDay = "day " + std::to_string(*day);
        }
        if (warning) {
            r.monthVal = warning;
            r.msgMonth = "warning";
        }
        if (over) {
            r.monthOVal = over;
            r.msgOMonth = "over " + std::to_string(std::lround(*over * 100));
        }
        return r;
    }
    void send(const LimitResult& r) { dispatcher->trySendNotification(&r); }

    // Every notification so far as "title: text".
    std::vector<std::string> posted() const
    {
        std::vector<std::string> out;
        for (const LocalNotification& n : env.notifier.posted) {
            EXPECT_EQ(n.type, "NotificationDataChanged");
            out.push_back(n.title + ": " + n.body);
        }
        return out;
    }
    const nlohmann::json& stored() const { return *env.defaults->objectForKey(DefaultsKeys::kAlertHistory); }
    // Overwrites what is stored, so that the next save shows.
    void markStored() { env.defaults->setObject(DefaultsKeys::kAlertHistory, "untouched"); }
    bool savedSinceMark() const { return stored() != "untouched"; }

    test::TestEnv env;
    std::unique_ptr<NMDispatcher> dispatcher = NMDispatcher::createMsgDispatcher(*env.defaults, env.notifier, env.clock);
};

TEST_F(NMDispatcherTest, FirstCallResetsAndSavesTheHistoryWithoutPosting)
{
    send(result());
    EXPECT_THAT(posted(), IsEmpty());
    const nlohmann::json expected = {{"NM_MONTHNAME", "March"},   {"NM_MONTHNUM", 3},        {"NM_DAYNUM", 0},
                                     {"NM_MONTHVAL", 0.0},        {"NM_MONTHOVAL", 0.0},     {"NM_MSG_STRING_DAY", ""},
                                     {"NM_MSG_STRING_MONTH", ""}, {"NM_MSG_STRING_O_MONTH", ""}};
    UserDefaults reread(env.paths.defaultsFile);  // written to storage, not only kept in memory
    ASSERT_NE(reread.objectForKey(DefaultsKeys::kAlertHistory), nullptr);
    EXPECT_EQ(*reread.objectForKey(DefaultsKeys::kAlertHistory), expected);
}

TEST_F(NMDispatcherTest, DayAlertOncePerDayOfMonth)
{
    send(result());
    send(result(12));
    markStored();
    send(result(12));
    EXPECT_FALSE(savedSinceMark());  // nothing new: nothing written
    send(result(13));
    EXPECT_THAT(posted(), ElementsAre("Daily Data Usage: day 12", "Daily Data Usage: day 13"));
    EXPECT_EQ(stored()["NM_DAYNUM"], 13);
    EXPECT_EQ(stored()["NM_MSG_STRING_DAY"], "day 13");
}

TEST_F(NMDispatcherTest, OnlyTheMostSeriousNewFindingIsPostedButAllAreRecorded)
{
    send(result());
    send(result(10, 0.9, 1.0));
    EXPECT_THAT(posted(), ElementsAre("Monthly Data Usage: over 100"));
    EXPECT_EQ(stored()["NM_MONTHOVAL"], 1.0);
    EXPECT_EQ(stored()["NM_MONTHVAL"], 0.0);  // the warning never accompanies the over-plan alert
    EXPECT_EQ(stored()["NM_DAYNUM"], 10);
    send(result(10, 0.9));  // nor follows it in the same month
    EXPECT_EQ(posted().size(), 1u);
}

TEST_F(NMDispatcherTest, WarningThenEachHigherOverPlanLevelOnce)
{
    send(result());
    send(result({}, 0.9));
    send(result({}, 0.9));
    send(result({}, 0.9, 1.0));
    send(result({}, 0.9, 1.2));
    send(result({}, 0.9, 1.2));
    send(result({}, 0.9, 1.0));
    EXPECT_THAT(posted(), ElementsAre("Data Usage Warning: warning", "Monthly Data Usage: over 100",
                                      "Monthly Data Usage: over 120"));
    EXPECT_EQ(stored()["NM_MONTHVAL"], 0.9);
    EXPECT_EQ(stored()["NM_MONTHOVAL"], 1.2);
}

TEST_F(NMDispatcherTest, NewMonthRecordsEverythingAndPostsTheMostSeriousAgain)
{
    send(result());
    send(result({}, {}, 1.0));
    env.clock.set(localDate(2026, 4, 1, 0, 5));
    const LimitResult april = result(1, 0.9, 1.0);
    send(april);
    EXPECT_EQ(stored(), april.toDictionary());
    // A new month with only the warning: it is posted, and the over level starts again at 0.
    env.clock.set(localDate(2026, 5, 3));
    send(result({}, 0.9));
    EXPECT_THAT(posted(), ElementsAre("Monthly Data Usage: over 100", "Monthly Data Usage: over 100",
                                      "Data Usage Warning: warning"));
    EXPECT_EQ(stored()["NM_MONTHOVAL"], 0.0);
    EXPECT_EQ(stored()["NM_MONTHNUM"], 5);
}

TEST_F(NMDispatcherTest, EmptyTextPostsNothingButIsRecorded)
{
    send(result());
    markStored();
    LimitResult r = result(11);
    r.msgDay = "";
    send(r);
    EXPECT_TRUE(savedSinceMark());
    EXPECT_EQ(stored()["NM_DAYNUM"], 11);

    env.clock.set(localDate(2026, 4, 2));
    LimitResult april = result({}, {}, 1.0);
    april.msgOMonth = "";
    send(april);
    EXPECT_EQ(stored()["NM_MONTHOVAL"], 1.0);
    EXPECT_THAT(posted(), IsEmpty());
}

TEST_F(NMDispatcherTest, HistorySurvivesARestartAndResetsOnTheNullMarker)
{
    send(result());
    send(result(10));
    NMDispatcher restarted(*env.defaults, env.notifier, env.clock);
    const LimitResult again = result(10);
    restarted.trySendNotification(&again);
    restarted.trySendNotification(nullptr);  // an update without new traffic
    EXPECT_EQ(posted().size(), 1u);
    restarted.trySendNullMarker();
    EXPECT_EQ(restarted.dictrops()["NM_DAYNUM"], 0);
    restarted.trySendNotification(&again);
    EXPECT_EQ(posted().size(), 2u);
}

TEST_F(NMDispatcherTest, StoredValuesOfTheWrongTypeReadAsZero)
{
    env.defaults->setObject(DefaultsKeys::kAlertHistory,
                            {{"NM_MONTHNUM", 3}, {"NM_DAYNUM", "twelve"}, {"NM_MONTHVAL", nullptr}, {"NM_MONTHOVAL", true}});
    dispatcher->readPropsFromPrefs();
    send(result(1, 0.9));
    EXPECT_THAT(posted(), ElementsAre("Data Usage Warning: warning"));  // same month: both new
    EXPECT_EQ(stored()["NM_DAYNUM"], 1);

    // A month number that is not a number starts a new month.
    env.defaults->setObject(DefaultsKeys::kAlertHistory, {{"NM_MONTHNUM", "3"}, {"NM_DAYNUM", 20}});
    dispatcher->readPropsFromPrefs();
    send(result(1, 0.9));
    EXPECT_EQ(posted().size(), 2u);
    EXPECT_EQ(stored()["NM_DAYNUM"], 1);
}

// Billing periods from the 15th: a result on that day of the period starting `start` (a dayKey).
class PeriodDispatcherTest : public NMDispatcherTest {
protected:
    LimitResult on(int month, int day, int start, std::optional<double> warning = {}, std::optional<double> over = {},
                   bool dayAlert = false)
    {
        env.clock.set(localDate(2024, month, day));
        LimitResult r = result(dayAlert ? std::optional<int>(day) : std::nullopt, warning, over);
        r.periodStart = start;
        if (dayAlert) {
            r.dayDate = DateDay::dayKey(env.clock.now());
        }
        return r;
    }
};

TEST_F(PeriodDispatcherTest, EachPeriodWarnsOnceAtNinetyPercentAndOncePerOverPlanLevel)
{
    send(on(5, 11, 20240415, 0.9, 1.0));  // the period that began on 15 April is over the plan
    send(on(5, 25, 20240515, 0.9));        // the new period reaches 90 % in May
    send(on(5, 26, 20240515, 0.9, 1.0));   // and the plan the next day
    send(on(6, 1, 20240515, 0.9, 1.0));    // a new calendar month, the same period: nothing new
    send(on(6, 2, 20240515, 0.9, 1.0));
    EXPECT_THAT(posted(), ElementsAre("Monthly Data Usage: over 100", "Data Usage Warning: warning",
                                      "Monthly Data Usage: over 100"));
    EXPECT_EQ(stored()["NM_PERIODSTART"], 20240515);
    send(on(6, 15, 20240615, 0.9));
    EXPECT_EQ(posted().back(), "Data Usage Warning: warning") << "the next period warns afresh";
}

TEST_F(PeriodDispatcherTest, DayAlertsGoOnIntoTheNextCalendarMonthOfThePeriod)
{
    send(on(5, 15, 20240515));
    send(on(5, 31, 20240515, {}, {}, true));
    send(on(6, 1, 20240515, {}, {}, true));
    send(on(6, 1, 20240515, {}, {}, true));
    send(on(6, 2, 20240515, {}, {}, true));
    EXPECT_THAT(posted(), ElementsAre("Daily Data Usage: day 31", "Daily Data Usage: day 1", "Daily Data Usage: day 2"));
    EXPECT_EQ(stored()["NM_DAYDATE"], 20240602);
    EXPECT_EQ(stored()["NM_DAYNUM"], 2);
}

TEST_F(PeriodDispatcherTest, AHistoryKeptByCalendarMonthKeepsLoadingAndLearnsItsPeriod)
{
    env.defaults->setObject(DefaultsKeys::kAlertHistory, {{"NM_MONTHNAME", "May"},
                                                      {"NM_MONTHNUM", 5},
                                                      {"NM_DAYNUM", 20},
                                                      {"NM_MONTHVAL", 0.0},
                                                      {"NM_MONTHOVAL", 1.0},
                                                      {"NM_MSG_STRING_O_MONTH", "over 100"}});
    dispatcher->readPropsFromPrefs();
    send(on(5, 25, 20240515, 0.9, 1.0));
    EXPECT_THAT(posted(), IsEmpty()) << "the over-plan alert of this month was already shown";
    EXPECT_EQ(stored()["NM_PERIODSTART"], 20240515);
    send(on(6, 3, 20240515, 0.9, 1.0));
    EXPECT_THAT(posted(), IsEmpty());
}

}  // namespace
}  // namespace quorvel
