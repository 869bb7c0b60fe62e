// The counter sampler: increments across restarts, resets, wraps and missing interfaces.
#include <gtest/gtest.h>

#include "engine/CTrafficObtainer.hpp"
#include "engine/Messages.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using Kind = CTrafficObtainer::Increment::Kind;

struct SamplerTest : ::testing::Test {
    test::TestEnv t;
    CTrafficObtainer sampler{t.env, std::nullopt, 0, 0.0};
    test::NotificationCounter changes{t.center, std::string(messages::kDataUsageWasChanged)};

    void baseline(std::int64_t total, double uptime)
    {
        sampler.prevTrafficSize = total;
        sampler.sysWorkTime = uptime;
    }
};

TEST_F(SamplerTest, NoRecordAndGrowthGivesNewRecordDatedNow)
{
    baseline(1000, 10.0);
    t.counters.set("wwan0", 1200, 300);
    t.uptime.value = 20.0;
    const auto inc = sampler.getTrafficIncrementPoint(nullptr);
    ASSERT_EQ(inc.kind, Kind::NewRecord);
    EXPECT_EQ(inc.point.getTotalTRaffic(), 500u);
    EXPECT_EQ(inc.point.pDate, t.clock.now());
    EXPECT_EQ(sampler.prevTrafficSize, 1500);
    EXPECT_EQ(sampler.prevShotDate, t.clock.now());
    EXPECT_EQ(changes.count, 1);
}

TEST_F(SamplerTest, NoRecordAndNoGrowthBooksNothingAndPostsNothing)
{
    baseline(1500, 10.0);
    t.counters.set("wwan0", 1500, 0);
    const auto inc = sampler.getTrafficIncrementPoint(nullptr);
    EXPECT_EQ(inc.kind, Kind::Nothing);
    EXPECT_EQ(changes.count, 0);
}

TEST_F(SamplerTest, SameDayAddsToTheGivenRecordAndLaterDayMakesANewOne)
{
    baseline(1000, 10.0);
    CTrafficPoint today = CTrafficPoint::trafficPointWithDate(t.clock.now().plusSeconds(-3600), 40);
    t.counters.set("wwan0", 1100, 0);
    auto inc = sampler.getTrafficIncrementPoint(&today);
    EXPECT_EQ(inc.kind, Kind::SameRecord);
    EXPECT_EQ(today.getTotalTRaffic(), 140u);

    t.clock.advance(86400);
    t.counters.set("wwan0", 1150, 0);
    inc = sampler.getTrafficIncrementPoint(&today);
    ASSERT_EQ(inc.kind, Kind::NewRecord);
    EXPECT_EQ(inc.point.getTotalTRaffic(), 50u);
    EXPECT_EQ(today.getTotalTRaffic(), 140u) << "the old day keeps what it had";
}

struct IncrementCase {
    const char* what;
    std::int64_t prev;
    double storedUptime;
    std::uint32_t rx;
    double uptime;
    std::uint64_t booked;
};

class SamplerIncrements : public SamplerTest, public ::testing::WithParamInterface<IncrementCase> {};

TEST_P(SamplerIncrements, BooksTheIncrementTheCountersAllow)
{
    const IncrementCase& c = GetParam();
    baseline(c.prev, c.storedUptime);
    t.counters.set("rmnet_data0", c.rx, 0);
    t.uptime.value = c.uptime;
    CTrafficPoint today = CTrafficPoint::trafficPointWithDate(t.clock.now());
    sampler.getTrafficIncrementPoint(&today);
    EXPECT_EQ(today.getTotalTRaffic(), c.booked) << c.what;
    EXPECT_EQ(sampler.prevTrafficSize, static_cast<std::int64_t>(c.rx)) << c.what;
    EXPECT_EQ(sampler.sysWorkTime, c.uptime) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SamplerIncrements,
    ::testing::Values(IncrementCase{"growth", 1000, 100.0, 1500, 200.0, 500},
                      IncrementCase{"interface reset or wrap books the whole total", 5000, 100.0, 1200, 200.0, 1200},
                      IncrementCase{"restart books the whole total even when equal", 5000, 90000.0, 5000, 300.0, 5000},
                      IncrementCase{"restart with a smaller total", 5000, 90000.0, 700, 300.0, 700},
                      IncrementCase{"no baseline only stores", -1, 0.0, 4242, 50.0, 0},
                      IncrementCase{"no cellular traffic re-baselines to 0", 800, 100.0, 0, 200.0, 0},
                      IncrementCase{"near the 32-bit top", 4294967000, 100.0, 4294967295u, 200.0, 295}));

TEST_F(SamplerTest, CountsOnlyCellularInterfacesAndSumsBothDirections)
{
    t.counters.set("lo", 9999, 9999);
    t.counters.set("wlan0", 7777, 7777);
    t.counters.set("eth0", 5555, 5555);
    t.counters.set("pdp_ip0", 100, 10);
    t.counters.set("pdp_ip1", 200, 20);
    t.counters.set("wwan0", 4000000000u, 4000000000u);
    t.counters.set("ppp0", 1, 2);
    EXPECT_EQ(sampler.obtainAllTraffic(), 100 + 10 + 200 + 20 + 8000000000LL + 3);
}

TEST_F(SamplerTest, UnreadableInterfaceListRebaselinesToZeroWithoutBooking)
{
    baseline(3000, 10.0);
    t.counters.failing = true;
    CTrafficPoint today = CTrafficPoint::trafficPointWithDate(t.clock.now(), 7);
    EXPECT_EQ(sampler.getTrafficIncrementPoint(&today).kind, Kind::SameRecord);
    EXPECT_EQ(today.getTotalTRaffic(), 7u);
    EXPECT_EQ(sampler.prevTrafficSize, 0);
    EXPECT_EQ(changes.count, 0);

    // The modem comes back: its whole counter is new traffic.
    t.counters.failing = false;
    t.counters.set("wwan0", 640, 0);
    sampler.getTrafficIncrementPoint(&today);
    EXPECT_EQ(today.getTotalTRaffic(), 647u);
}

TEST_F(SamplerTest, ResetCounterTakesTheCurrentTotalSoNothingIsBookedNext)
{
    t.counters.set("wwan0", 123456, 654321);
    sampler.ResetObtainerCounter();
    EXPECT_EQ(sampler.prevTrafficSize, 777777);
    CTrafficPoint today = CTrafficPoint::trafficPointWithDate(t.clock.now());
    sampler.getTrafficIncrementPoint(&today);
    EXPECT_EQ(today.getTotalTRaffic(), 0u);
}

TEST_F(SamplerTest, ClockSetBackADayStillBooksAPositiveAmountInANewRecord)
{
    baseline(1000, 10.0);
    CTrafficPoint latest = CTrafficPoint::trafficPointWithDate(t.clock.now(), 10);
    t.clock.advance(-86400);
    t.counters.set("wwan0", 1300, 0);
    const auto inc = sampler.getTrafficIncrementPoint(&latest);
    ASSERT_EQ(inc.kind, Kind::NewRecord);
    EXPECT_EQ(inc.point.getTotalTRaffic(), 300u);
}

TEST(CellularNames, RecognisesTheModemInterfaces)
{
    for (const char* yes : {"pdp_ip0", "wwan0", "wwp0s20f0u6", "rmnet_data1", "ppp0"}) {
        EXPECT_TRUE(CTrafficObtainer::isCellularInterface(yes)) << yes;
    }
    for (const char* no : {"en0", "eth0", "wlan0", "wlp3s0", "lo", "veth1", "docker0", ""}) {
        EXPECT_FALSE(CTrafficObtainer::isCellularInterface(no)) << no;
    }
}

}  // namespace
}  // namespace quorvel
