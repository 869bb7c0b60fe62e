// SPDX-License-Identifier: GPL-3.0-or-later
// The roaming share of the day records: booked with the sample whose interval was roaming,
// summed over the billing period, told once a day, kept in the state file with the cut-off.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/CTrafficManager.hpp"
#include "engine/PlanActionsRunner.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/RoamingSource.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::localDate;

// The registration as a test sets it, between samples.
class SetRoaming final : public RoamingSource {
public:
    bool roamingSinceLastAsked() override { return roaming; }
    std::optional<std::string> operatorName() const override { return std::nullopt; }
    bool roaming = false;
};

struct RoamingShareTest : ::testing::Test {
    RoamingShareTest()
    {
        t.env.roaming = &registration;
        m->history().sampler().setPrevTrafficSize(0);
        m->setNewPlanValue(10'000'000'000);
    }
    // The modem's counter grows by `bytes` and one sample books it.
    void use(std::uint64_t bytes, bool roaming)
    {
        registration.roaming = roaming;
        counter += bytes;
        t.counters.set("wwan0", counter, 0);
        m->updateTrafficInformation(false);
    }
    std::vector<std::string> roamingNotices() const
    {
        std::vector<std::string> out;
        for (const LocalNotification& n : t.notifier.posted) {
            if (n.type == PlanActionsRunner::kTypeRoaming) {
                out.push_back(n.title + ": " + n.body);
            }
        }
        return out;
    }

    test::TestEnv t;
    SetRoaming registration;
    std::unique_ptr<CTrafficManager> m = std::make_unique<CTrafficManager>(t.env, true);
    std::uint64_t counter = 0;
};

TEST_F(RoamingShareTest, BooksTheShareOfRoamingSamplesIntoTheDayRecords)
{
    t.clock.set(localDate(2026, 3, 10, 9));
    use(1000, true);  // a new day record, roaming
    use(500, false);
    use(250, true);  // the same record grows
    const CTrafficPoint* today = m->history().getTrafficToday();
    ASSERT_NE(today, nullptr);
    EXPECT_EQ(today->getTotalTraffic(), 1750u);
    EXPECT_EQ(today->getRoamingTraffic(), 1250u);

    t.clock.set(localDate(2026, 3, 11, 9));
    use(100, false);
    EXPECT_EQ(m->history().getTrafficToday()->pTraffRoaming(), std::nullopt) << "no roaming: nothing stored";
    EXPECT_EQ(m->summaryFigures()->pRoamingUsed(), 1250u);
}

TEST_F(RoamingShareTest, ThePeriodsRoamingLeavesEarlierPeriodsOut)
{
    m->setPlanStartDay(15);
    t.clock.set(localDate(2026, 3, 14, 9));
    use(4000, true);  // the period that began on 15 February
    t.clock.set(localDate(2026, 3, 15, 9));
    use(300, true);
    t.clock.set(localDate(2026, 4, 2, 9));
    use(20, true);
    EXPECT_EQ(m->getRoamingUsed(), 320u);
    EXPECT_EQ(m->getDataUsed(), 320u);
}

TEST_F(RoamingShareTest, TellsTheDaysRoamingOnceADay)
{
    t.clock.set(localDate(2026, 3, 10, 9));
    use(2'000'000, false);
    EXPECT_TRUE(roamingNotices().empty());
    use(3'000'000, true);
    use(3'000'000, true);
    EXPECT_EQ(roamingNotices(), std::vector<std::string>{"Data Used While Roaming: 3 MB used while roaming today."});

    t.clock.set(localDate(2026, 3, 11, 9));
    use(1'500'000, true);
    ASSERT_EQ(roamingNotices().size(), 2u);
    EXPECT_EQ(roamingNotices()[1], "Data Used While Roaming: 1.5 MB used while roaming today.");
}

TEST_F(RoamingShareTest, TheStateFileKeepsTheShareAndTheCutoff)
{
    t.clock.set(localDate(2026, 3, 10, 9));
    use(700, true);
    m->setCutoffAtPlan(true);
    m->setNewPlanValue(500);  // already over: the next booked sample marks the period
    use(1, false);
    ASSERT_EQ(m->cutoffPeriod(), 20260301);

    const std::unique_ptr<CTrafficManager> read = CTrafficManager::decode(t.env, m->encode());
    EXPECT_EQ(read->history().getTrafficToday()->getRoamingTraffic(), 700u);
    EXPECT_TRUE(read->cutoffAtPlan());
    EXPECT_EQ(read->cutoffPeriod(), 20260301);
}

TEST_F(RoamingShareTest, AStateFileFromBeforeRoamingLoadsWithNoneAndTheCutoffOff)
{
    std::ifstream in(std::filesystem::path(QUORVEL_TEST_DATA) / "before-per-interface-baselines/statestg");
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::unique_ptr<CTrafficManager> old = CTrafficManager::decode(t.env, bytes.str());
    std::uint64_t booked = 0;
    for (const auto& month : old->history().months()) {
        for (const CTrafficPoint& day : month->arrDaysTraffics()) {
            booked += day.getTotalTraffic();
            EXPECT_EQ(day.getRoamingTraffic(), 0u);
        }
    }
    EXPECT_GT(booked, 0u);
    EXPECT_FALSE(old->cutoffAtPlan());
    EXPECT_EQ(old->cutoffPeriod(), std::nullopt);
}

TEST_F(RoamingShareTest, ACutoffMarkThatIsNotADayIsRefused)
{
    nlohmann::json state = nlohmann::json::parse(m->encode());
    state["$root"]["CutoffPeriod"] = -4;
    EXPECT_THROW(CTrafficManager::decode(t.env, state.dump()), ArchiveError);
}

}  // namespace
}  // namespace quorvel
