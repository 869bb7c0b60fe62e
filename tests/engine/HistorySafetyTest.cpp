// SPDX-License-Identifier: GPL-3.0-or-later
// What ordinary actions and ordinary faults must not do to the measured history: a correction of
// the used data rewrites no measured day, a clock at 1970 or a week back books nothing into the
// past and evicts no month, a state file with a missing part never books a counter twice, and
// the state stays small however many links the machine has.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CTrafficManager.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/DateDay.hpp"
#include "model/DefaultsKeys.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/UserDefaults.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;

struct HistorySafety : ::testing::Test {
    test::TestEnv t;
    std::unique_ptr<CTrafficManager> m = std::make_unique<CTrafficManager>(t.env, true);

    HistorySafety()
    {
        t.clock.set(localDate(2026, 12, 9, 18));
        m->setPPlanStartDay(15);
        t.counters.set("wwan0", 1000, 1000);
        m->history().sampler().resetObtainerCounter();
    }
    void book(int year, int month, int day, std::uint64_t bytes)
    {
        m->history().addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(localDate(year, month, day, 9), bytes));
    }
    // Every stored day as date and bytes, in order.
    std::vector<std::pair<int, std::uint64_t>> days() const
    {
        std::vector<std::pair<int, std::uint64_t>> out;
        for (const auto& month : m->history().months()) {
            for (const CTrafficPoint& p : month->arrDaysTraffics()) {
                out.emplace_back(DateDay::dayKey(p.pDate()), p.getTotalTraffic());
            }
        }
        return out;
    }
    // Three months of measured days: 1 October to 9 December, day i holding 10 MB + i bytes.
    void measuredHistory()
    {
        int i = 0;
        for (int month : {10, 11, 12}) {
            const int last = month == 12 ? 9 : Calendar::daysInMonth(2026, month);
            for (int d = 1; d <= last; ++d) {
                book(2026, month, d, 10'000'000 + static_cast<std::uint64_t>(i++));
            }
        }
    }
    std::unique_ptr<CTrafficManager> reloaded() const { return CTrafficManager::decode(t.env, m->encode()); }
};

TEST_F(HistorySafety, CorrectingTheUsedDataKeepsEveryMeasuredDayAndEveryFigureAgrees)
{
    measuredHistory();
    const auto before = days();
    const std::uint64_t measured = m->getDataUsed();  // 15 November to 9 December: 25 days
    ASSERT_GT(measured, 250'000'000u);
    const std::uint64_t today = m->getDataTodayUsed();

    ASSERT_TRUE(m->correctUsedData(1'000'000'000));
    EXPECT_EQ(days(), before) << "no measured day changes";
    EXPECT_EQ(m->getDataUsed(), 1'000'000'000u);
    EXPECT_EQ(m->getDataTodayUsed(), today) << "today counts measured bytes only";
    EXPECT_EQ(m->getAvgDayDataUsed(), 1'000'000'000u / 25) << "the average counts the correction";
    const auto& december = *m->history().months().back();
    ASSERT_EQ(december.arrCorrections().size(), 1u);
    EXPECT_EQ(december.arrCorrections()[0].bytes(), 1'000'000'000 - static_cast<std::int64_t>(measured));
    EXPECT_EQ(DateDay::dayKey(december.arrCorrections()[0].date()), 20261209);

    // The billing month the charts draw: its used figure, its days, and the cumulative line's end.
    const auto periods = m->billingMonths();
    const MonthTraffic& current = *periods.back();
    EXPECT_EQ(current.getDataUsed(), 1'000'000'000u);
    EXPECT_EQ(current.getMaxDayUsedTraffic(), 10'000'000u + 69) << "the daily bars stay measured";
    ASSERT_EQ(current.arrCorrections().size(), 1u) << "the correction belongs to its period";

    // Less than measured: a negative correction; a later one in the period replaces it.
    ASSERT_TRUE(m->correctUsedData(200'000'000));
    EXPECT_EQ(m->getDataUsed(), 200'000'000u);
    EXPECT_EQ(days(), before);
    ASSERT_EQ(m->history().months().back()->arrCorrections().size(), 1u);
    EXPECT_LT(m->history().months().back()->arrCorrections()[0].bytes(), 0);

    // It survives the state file, and entering the measured amount removes it.
    m = reloaded();
    EXPECT_EQ(m->getDataUsed(), 200'000'000u);
    ASSERT_TRUE(m->correctUsedData(measured));
    EXPECT_TRUE(m->history().months().back()->arrCorrections().empty());
    EXPECT_EQ(m->getDataUsed(), measured);
    EXPECT_EQ(days(), before);
}

TEST_F(HistorySafety, AFigureForAPeriodWithNothingMeasuredIsSpreadAndMarkedAsEntered)
{
    book(2026, 11, 3, 5'000'000);  // an earlier period's measured day stays as it is
    ASSERT_TRUE(m->correctUsedData(250'000'000));
    EXPECT_EQ(m->getDataUsed(), 250'000'000u);
    std::uint64_t entered = 0;
    for (const auto& month : m->history().months()) {
        EXPECT_TRUE(month->arrCorrections().empty());
        for (const CTrafficPoint& p : month->arrDaysTraffics()) {
            entered += p.getEnteredTraffic();
        }
    }
    EXPECT_EQ(entered, 250'000'000u);
    EXPECT_EQ(days().front(), std::make_pair(20261103, std::uint64_t{5'000'000}));
    // Entered bytes are no measurement: the next figure is spread again, not a correction.
    ASSERT_TRUE(m->correctUsedData(300'000'000));
    EXPECT_EQ(m->getDataUsed(), 300'000'000u);
    EXPECT_TRUE(m->history().months().back()->arrCorrections().empty());
    m = reloaded();
    EXPECT_EQ(m->history().sumWithin(localDate(2026, 11, 15), localDate(2026, 12, 14), &CTrafficPoint::getEnteredTraffic),
              300'000'000u);
}

TEST_F(HistorySafety, AClockAt1970OrAWeekBackHoldsTheBytesAndEvictsNoMonth)
{
    measuredHistory();
    const auto before = days();
    std::uint64_t held = 0;
    for (Date wrong : {localDate(1970, 1, 2), localDate(2026, 12, 2)}) {
        t.clock.set(wrong);
        EXPECT_FALSE(m->history().clockIsPlausible());
        t.counters.set("wwan0", 2'000'000, 84'000);
        m->updateTrafficInformation(false);
        EXPECT_EQ(days(), before) << "nothing is booked into the past";
        EXPECT_EQ(m->history().months().size(), 3u);
        EXPECT_FALSE(m->correctUsedData(5)) << "a correction cannot be dated either";
        m = reloaded();  // held in the state, not in the process
        t.counters.set("wwan0", 1000, 1000);
        m->history().sampler().resetObtainerCounter();
        held += 2'000'000u + 84'000 - 2000;
        EXPECT_EQ(m->history().sampler().heldTraffic(), held);
    }
    // The held bytes are booked at the first sample with a plausible clock, to its day.
    t.clock.set(localDate(1970, 1, 2));
    t.counters.set("wwan0", 5000, 1000);
    m->updateTrafficInformation(false);
    t.clock.set(localDate(2026, 12, 9, 20));
    t.counters.set("wwan0", 7000, 1000);
    const std::uint64_t todayBefore = m->getDataTodayUsed();
    m->updateTrafficInformation(false);
    EXPECT_EQ(m->getDataTodayUsed() - todayBefore, held + 6000u);
    EXPECT_EQ(m->history().sampler().heldTraffic(), 0u);
    EXPECT_EQ(m->history().months().size(), 3u);
}

// The state file with one part the program always writes taken out or nulled.
std::string edited(const std::string& file, const std::string& pointer, const nlohmann::json& value)
{
    nlohmann::json doc = nlohmann::json::parse(file);
    if (value.is_discarded()) {
        doc.at(nlohmann::json::json_pointer(pointer.substr(0, pointer.rfind('/'))))
            .erase(pointer.substr(pointer.rfind('/') + 1));
    } else {
        doc[nlohmann::json::json_pointer(pointer)] = value;
    }
    return doc.dump();
}

TEST_F(HistorySafety, AStateWithoutBaselinesNeverBooksACounterTwice)
{
    measuredHistory();
    m->updateTrafficInformation(false);
    const std::string file = m->encode();
    const std::uint64_t used = m->getDataUsed();
    for (const char* part : {"/$root/pTraffics/trafficObtainer", "/$root/pTraffics/trafficObtainer/Interfaces"}) {
        for (const nlohmann::json& missing : {nlohmann::json(nullptr), nlohmann::json(nlohmann::json::value_t::discarded)}) {
            auto loaded = CTrafficManager::decode(t.env, edited(file, part, missing));
            loaded->updateTrafficInformation(false);
            EXPECT_EQ(loaded->getDataUsed(), used) << part << ": the counters so far are not booked again";
            t.counters.set("wwan0", 1500, 1000);
            loaded->updateTrafficInformation(false);
            EXPECT_EQ(loaded->getDataUsed(), used + 500) << part << ": growth from the new baseline is";
            t.counters.set("wwan0", 1000, 1000);
        }
    }
}

TEST_F(HistorySafety, AStateMissingItsHistoryOrWithATwiceWrittenKeyIsRefused)
{
    measuredHistory();
    const std::string file = m->encode();
    for (const char* part : {"/$root/pTraffics", "/$root/pTraffics/arrMonths", "/$root/pTraffics/arrDeltas",
                             "/$root/pTraffics/arrMonths/0/arrDaysTraffics",
                             "/$root/pTraffics/arrMonths/1/arrDaysTraffics/13/Traffic"}) {
        EXPECT_THROW(CTrafficManager::decode(t.env, edited(file, part, nullptr)), ArchiveError) << part;
    }
    EXPECT_THROW(CTrafficManager::decode(t.env, edited(file, "/$root/pTraffics/arrMonths/1/arrDaysTraffics/13", nullptr)),
                 ArchiveError);
    // The same root key twice: a parser would keep the last one only.
    const std::string twice = file.substr(0, file.size() - 1) + R"(, "$root": {"$class": "CTrafficManager"}})";
    EXPECT_THROW(CTrafficManager::decode(t.env, twice), ArchiveError);
    std::string inner = file;
    inner.insert(inner.find(R"("pPlanStartDay")"), R"("pPlanStartDay": 3, )");
    EXPECT_THROW(CTrafficManager::decode(t.env, inner), ArchiveError);
}

TEST_F(HistorySafety, LostLimitsAreMadeAgainFromTheAlertSwitches)
{
    t.defaults->setObject(DefaultsKeys::kDayLimit, false);
    t.defaults->setObject(DefaultsKeys::kMonthLimit, true);
    t.defaults->setObject(DefaultsKeys::kOverbound, true);
    auto loaded = CTrafficManager::decode(t.env, edited(m->encode(), "/$root/pLimits", nullptr));
    EXPECT_EQ(loaded->limits().size(), 11u) << "ten over-plan limits and the month limit";
    EXPECT_EQ(loaded->removeLimitElementsOfClass<CTrafficLimitDay>(), 0);
}

TEST_F(HistorySafety, ThousandsOfUncountedLinksKeepTheStateSmall)
{
    for (int i = 0; i < 5000; ++i) {
        t.counters.set("veth" + std::to_string(i), 1'000'000'000, 1'000'000'000);
    }
    t.networkDevices.table = NetworkDeviceTable{};
    for (int i = 0; i < 5000; ++i) {
        t.networkDevices.table->push_back({"veth" + std::to_string(i), 20u, 0u});
    }
    m->history().sampler().resetObtainerCounter();
    m->updateTrafficInformation(false);
    const std::string file = m->encode();
    EXPECT_LT(file.size(), 32'000u);
    // The one counted link still books its growth, to the byte, after a reload.
    m = CTrafficManager::decode(t.env, file);
    t.counters.set("wwan0", 5000, 1000);
    m->updateTrafficInformation(false);
    EXPECT_EQ(m->getDataTodayUsed(), 4000u);
    // An uncounted link that was there and comes to be counted books nothing of its past.
    m->setInterfaceChoice("veth17", true);
    t.counters.set("veth17", 1'000'000'100, 1'000'000'000);
    m->updateTrafficInformation(false);
    EXPECT_EQ(m->getDataTodayUsed(), 4100u);
}

}  // namespace
}  // namespace quorvel
