// SPDX-License-Identifier: GPL-3.0-or-later
// The counter sampler: day records, baselines per interface, boots, the state it keeps.
#include <gtest/gtest.h>

#include "engine/CTrafficObtainer.hpp"
#include "model/Messages.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using Kind = TrafficIncrement::Kind;

struct SamplerTest : ::testing::Test {
    test::TestEnv t;
    CTrafficObtainer sampler{t.env, std::nullopt, 0, 0.0};
    test::NotificationCounter changes{t.center, std::string(messages::kDataUsageWasChanged)};

    // What one sample books into a record of today.
    std::uint64_t sample()
    {
        CTrafficPoint today = CTrafficPoint::trafficPointWithDate(t.clock.now());
        sampler.getTrafficIncrementPoint(&today);
        return today.getTotalTraffic();
    }
};

TEST_F(SamplerTest, NoRecordAndGrowthGivesNewRecordDatedNow)
{
    t.counters.set("wwan0", 1000, 0);
    sampler.resetObtainerCounter();
    t.counters.set("wwan0", 1200, 300);
    const auto inc = sampler.getTrafficIncrementPoint(nullptr);
    ASSERT_EQ(inc.kind, Kind::NewRecord);
    EXPECT_EQ(inc.point.getTotalTraffic(), 500u);
    EXPECT_EQ(inc.point.pDate(), t.clock.now());
    EXPECT_EQ(sampler.prevTrafficSize(), 1500);
    EXPECT_EQ(sampler.prevShotDate(), t.clock.now());
    EXPECT_EQ(changes.count, 1);

    EXPECT_EQ(sampler.getTrafficIncrementPoint(nullptr).kind, Kind::Nothing) << "no growth, no record";
    EXPECT_EQ(changes.count, 1);
}

TEST_F(SamplerTest, SameDayAddsToTheGivenRecordAndLaterDayMakesANewOne)
{
    t.counters.set("wwan0", 1000, 0);
    sampler.resetObtainerCounter();
    CTrafficPoint today = CTrafficPoint::trafficPointWithDate(t.clock.now().plusSeconds(-3600), 40);
    t.counters.set("wwan0", 1100, 0);
    auto inc = sampler.getTrafficIncrementPoint(&today);
    EXPECT_EQ(inc.kind, Kind::SameRecord);
    EXPECT_EQ(today.getTotalTraffic(), 140u);

    t.clock.advance(86400);
    t.counters.set("wwan0", 1150, 0);
    inc = sampler.getTrafficIncrementPoint(&today);
    ASSERT_EQ(inc.kind, Kind::NewRecord);
    EXPECT_EQ(inc.point.getTotalTraffic(), 50u);
    EXPECT_EQ(today.getTotalTraffic(), 140u) << "the old day keeps what it had";
}

TEST_F(SamplerTest, EachInterfaceBooksItsOwnGrowthAcrossRemovalsAndResets)
{
    t.counters.set("wwan0", 300'000'000, 0);
    t.counters.set("wwan1", 1000, 0);
    t.counters.set("wlan0", 5, 5);
    sampler.resetObtainerCounter();

    t.counters.remove("wwan0");
    t.counters.set("wwan1", 1500, 0);
    EXPECT_EQ(sample(), 500u) << "the remaining interface's growth, nothing of the one that went";

    t.counters.set("wwan0", 0, 0);  // back under the same name, a new interface
    t.counters.set("wwan0", 700, 0);
    EXPECT_EQ(sample(), 700u);

    t.counters.recreate("wwan1");
    t.counters.set("wwan1", 25, 0);
    t.counters.set("wwan0", 200, 0);  // the driver started its counter again
    t.counters.set("wlan0", 9'000'000'000, 5);
    EXPECT_EQ(sample(), 225u);
}

TEST_F(SamplerTest, ANewBootIsToldByItsIdentityWhicheverWayTheUptimeWent)
{
    t.counters.set("wwan0", 5000, 0);
    t.uptime.value = 90'000;
    sampler.resetObtainerCounter();

    t.boot.value = "boot-2";
    t.uptime.value = 95'000;  // more than before, yet a new boot
    EXPECT_EQ(sample(), 5000u) << "every counter began again at zero";

    t.uptime.value = 10;  // a suspend-less clock oddity on the same boot books only growth
    t.counters.set("wwan0", 5100, 0);
    EXPECT_EQ(sample(), 100u);

    t.boot.value = "boot-3";
    t.counters.set("wwan0", 40, 0);
    EXPECT_EQ(sample(), 40u);
}

TEST_F(SamplerTest, WithoutABootIdentityTheUptimeJudges)
{
    t.boot.value.reset();
    t.counters.set("wwan0", 5000, 0);
    t.uptime.value = 90'000;
    sampler.resetObtainerCounter();
    t.uptime.value = 300;
    EXPECT_EQ(sample(), 5000u);
    t.uptime.value = 400;
    t.counters.set("wwan0", 5600, 0);
    EXPECT_EQ(sample(), 600u);
}

TEST_F(SamplerTest, IdleSamplesLeaveTheArchiveAsItWasAndLoseNoByte)
{
    t.counters.set("wwan0", 5000, 0);
    t.counters.set("lo", 70, 70);
    t.uptime.value = 100;
    sampler.resetObtainerCounter();
    const std::string stored = ArchiveEncoder::archivedDataWithRootObject(sampler);
    for (int i = 1; i <= 5; ++i) {
        t.uptime.value = 100 + 60 * i;
        t.clock.advance(60);
        t.counters.set("lo", 70 + 1000 * i, 70 + 1000 * i);  // an uncounted link's traffic changes nothing
        EXPECT_EQ(sample(), 0u);
    }
    EXPECT_EQ(ArchiveEncoder::archivedDataWithRootObject(sampler), stored) << "nothing booked, nothing changed";

    t.counters.set("wwan0", 5400, 11);
    EXPECT_EQ(sample(), 411u);
    EXPECT_EQ(sampler.sysWorkTime(), 400.0) << "a booking sample takes the uptime";

    // A new boot after a long idle time, its uptime above the one stored at the last booking.
    t.boot.value = "boot-2";
    t.uptime.value = 10'000;
    t.counters.set("wwan0", 300, 0);
    EXPECT_EQ(sample(), 300u);
    t.counters.set("wwan0", 0, 0);  // started again once more: nothing to book, but a new baseline
    EXPECT_EQ(sample(), 0u);
    t.counters.set("wwan0", 20, 0);
    EXPECT_EQ(sample(), 20u);
}

TEST_F(SamplerTest, WithoutABootIdentityEveryIdleSampleKeepsTheUptimeItIsJudgedBy)
{
    t.boot.value.reset();
    t.counters.set("wwan0", 5000, 0);
    t.uptime.value = 100;
    sampler.resetObtainerCounter();
    t.uptime.value = 90'000;
    EXPECT_EQ(sample(), 0u);
    EXPECT_EQ(sampler.sysWorkTime(), 90'000.0);
    t.uptime.value = 50'000;  // below the last sample's, though above the reset's: a new boot
    t.counters.set("wwan0", 6000, 0);
    EXPECT_EQ(sample(), 6000u);
}

TEST_F(SamplerTest, AnUnreadableListBooksNothingAndKeepsTheBaselines)
{
    t.counters.set("wwan0", 3000, 0);
    sampler.resetObtainerCounter();
    t.counters.failing = true;
    EXPECT_EQ(sample(), 0u);
    EXPECT_EQ(changes.count, 0);

    t.counters.failing = false;
    t.counters.set("wwan0", 3640, 0);
    EXPECT_EQ(sample(), 640u) << "what grew while the list could not be read";
}

TEST_F(SamplerTest, ResetsTakeTheCountersSoNothingBeforeThemIsBooked)
{
    t.counters.set("wwan0", 123456, 654321);
    t.counters.set("ppp0", 10, 10);
    sampler.resetObtainerCounter();
    EXPECT_EQ(sampler.prevTrafficSize(), 777777 + 20);
    EXPECT_EQ(sample(), 0u);

    t.counters.set("wwan0", 123556, 654321);
    t.counters.set("ppp0", 60, 10);
    EXPECT_TRUE(sampler.resetInterfaceCounter("ppp0"));
    EXPECT_FALSE(sampler.resetInterfaceCounter("wwan9"));
    EXPECT_EQ(sample(), 100u) << "ppp0's 50 bytes came before its reset";
}

TEST_F(SamplerTest, NetworkManagerIsAskedOnlyWhenTheLinksChange)
{
    t.counters.set("wwan0", 1, 1);
    t.counters.set("wlan0", 1, 1);
    sampler.resetObtainerCounter();
    const int asked = t.networkDevices.calls;
    EXPECT_EQ(asked, 1);
    for (int i = 0; i < 3; ++i) {
        t.counters.set("wwan0", 100 + i, 1);
        sample();
    }
    EXPECT_EQ(t.networkDevices.calls, asked) << "an ordinary sample makes no call";
    t.counters.recreate("wlan0");
    sample();
    EXPECT_EQ(t.networkDevices.calls, asked + 1);
}

TEST_F(SamplerTest, KeepsBaselinesChoicesAndTheCachedAnswerInTheArchive)
{
    t.counters.set("wwan0", 7'000'000'000, 42);
    t.networkDevices.table = NetworkDeviceTable{{"wwan0", 8u, std::nullopt}, {"wlan0", 2u, 4u}};
    sampler.setInterfaceChoice("eth1", true);
    sampler.setInterfaceChoice("usb0", false);
    sampler.setCountMetered(true);
    sampler.resetObtainerCounter();

    for (bool keyed : {true, false}) {
        const std::string bytes = ArchiveEncoder::archivedDataWithRootObject(sampler, keyed);
        auto back = ArchiveDecoder::unarchiveRootObject<CTrafficObtainer>(bytes, &t.env);
        ASSERT_TRUE(back->baselines()) << keyed;
        EXPECT_EQ(*back->baselines(), *sampler.baselines()) << keyed;
        EXPECT_EQ(back->bootId(), "boot-1") << keyed;
        EXPECT_EQ(back->choices().byName, sampler.choices().byName) << keyed;
        EXPECT_TRUE(back->choices().countMetered) << keyed;
        EXPECT_EQ(back->networkManager().linksDigest, sampler.networkManager().linksDigest) << keyed;
        ASSERT_TRUE(back->networkManager().devices) << keyed;
        // A Wi-Fi device that is not metered decides nothing a missing entry would not: not stored.
        ASSERT_EQ(back->networkManager().devices->size(), 1u) << keyed;
        EXPECT_EQ(back->networkManager().devices->at(0).interfaceName, "wwan0") << keyed;
        EXPECT_FALSE(back->networkManager().devices->at(0).metered) << keyed;
    }
    // No NetworkManager on the bus is an answer too, and stays one.
    t.counters.set("wwan1", 1, 1);
    t.networkDevices.table.reset();
    sampler.resetObtainerCounter();
    auto back = ArchiveDecoder::unarchiveRootObject<CTrafficObtainer>(
        ArchiveEncoder::archivedDataWithRootObject(sampler), &t.env);
    EXPECT_FALSE(back->networkManager().devices);
    EXPECT_TRUE(back->networkManager().linksDigest);
}

TEST_F(SamplerTest, AStateWithOnlyTheSummedTotalBooksWhatItCanThenKeepsBaselines)
{
    // As a sampler before per-interface baselines stored it: one sum of 32-bit counters.
    const std::string stored = R"({"$archive":"quorvel","$version":1,"$root":{"$class":"CTrafficObtainer",)"
                               R"("PrevShotDate":1773144000,"PrevTrafficSize":4100000000,"SystemUpTime":500.0}})";
    auto old = ArchiveDecoder::unarchiveRootObject<CTrafficObtainer>(stored, &t.env);
    EXPECT_FALSE(old->baselines());
    t.uptime.value = 800;  // same boot
    t.counters.set("wwan0", 3'600'000'000, 600'000'000);
    CTrafficPoint today = CTrafficPoint::trafficPointWithDate(t.clock.now());
    old->getTrafficIncrementPoint(&today);
    EXPECT_EQ(today.getTotalTraffic(), 100'000'000u);
    ASSERT_TRUE(old->baselines());

    t.counters.set("wwan0", 5'000'000'000, 600'000'000);  // past 2^32 now: still exact
    old->getTrafficIncrementPoint(&today);
    EXPECT_EQ(today.getTotalTraffic(), 1'500'000'000u);
}

TEST_F(SamplerTest, ANewModelTakesItsFirstBaselineWithoutBooking)
{
    sampler.setPrevTrafficSize(CTrafficObtainer::kNoBaseline);
    t.counters.set("wwan0", 4242, 0);
    EXPECT_EQ(sample(), 0u);
    t.counters.set("wwan0", 4300, 0);
    EXPECT_EQ(sample(), 58u);
}

TEST_F(SamplerTest, ClockSetBackADayStillBooksAPositiveAmountInANewRecord)
{
    t.counters.set("wwan0", 1000, 0);
    sampler.resetObtainerCounter();
    CTrafficPoint latest = CTrafficPoint::trafficPointWithDate(t.clock.now(), 10);
    t.clock.advance(-86400);
    t.counters.set("wwan0", 1300, 0);
    const auto inc = sampler.getTrafficIncrementPoint(&latest);
    ASSERT_EQ(inc.kind, Kind::NewRecord);
    EXPECT_EQ(inc.point.getTotalTraffic(), 300u);
}

TEST(CellularNames, RecognisesTheModemInterfaces)
{
    for (const char* yes : {"pdp_ip0", "wwan0", "wwp0s20f0u6", "rmnet_data1", "ppp0", "qmapmux0.0", "mhi_hwip0",
                            "mhi_swip0", "ccmni0"}) {
        EXPECT_TRUE(InterfaceSelection::hasCellularName(yes)) << yes;
    }
    for (const char* no : {"en0", "eth0", "wlan0", "wlp3s0", "lo", "veth1", "docker0", ""}) {
        EXPECT_FALSE(InterfaceSelection::hasCellularName(no)) << no;
    }
}

}  // namespace
}  // namespace quorvel
