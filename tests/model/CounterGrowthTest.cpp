// SPDX-License-Identifier: GPL-3.0-or-later
// What the counted interfaces carried between two samples, judged from each interface's own
// 64-bit counters, and what a state that kept only a summed total of 32-bit counters can tell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/CounterGrowth.hpp"

namespace quorvel {
namespace {

constexpr std::uint64_t kGiB = 1ull << 30;

InterfaceCounters link(std::string name, int index, std::uint64_t rx, std::uint64_t tx)
{
    return {std::move(name), index, 0, rx, tx};
}

// Cellular by name, as the detection without NetworkManager decides.
std::vector<CountingDecision> byName(const std::vector<InterfaceCounters>& links)
{
    return InterfaceSelection::decide(links, {}, std::nullopt);
}

struct GrowthCase {
    const char* what;
    std::vector<InterfaceCounters> before;
    std::vector<InterfaceCounters> now;
    bool sameBoot;
    std::uint64_t booked;
};

TEST(CounterGrowth, BooksEachCountedInterfacesOwnGrowth)
{
    const std::vector<GrowthCase> cases = {
        {"growth of both directions", {link("wwan0", 3, 1000, 200)}, {link("wwan0", 3, 1500, 260)}, true, 560},
        {"more than 4 GiB between two samples",
         {link("wwan0", 3, 100, 50)}, {link("wwan0", 3, 100 + 5 * kGiB, 50)}, true, 5 * kGiB},
        {"more than 8 GiB, both directions",
         {link("wwan0", 3, 7 * kGiB, 3 * kGiB)}, {link("wwan0", 3, 16 * kGiB + 7, 4 * kGiB)}, true, 10 * kGiB + 7},
        {"one direction crosses 2^32 while the other is large",
         {link("wwan0", 3, (1ull << 32) - 10, 9 * kGiB)}, {link("wwan0", 3, (1ull << 32) + 90, 9 * kGiB + 5)}, true, 105},
        {"one of two interfaces went away: only the other's growth",
         {link("wwan0", 3, 300'000'000, 0), link("wwan1", 4, 1000, 0)}, {link("wwan1", 4, 1500, 0)}, true, 500},
        {"re-made under the same name: a new index counts from zero",
         {link("wwan0", 3, 900, 100)}, {link("wwan0", 7, 40, 2)}, true, 42},
        {"an interface that appeared books its whole counter",
         {link("wwan0", 3, 10, 10)}, {link("wwan0", 3, 10, 10), link("ppp0", 9, 70, 30)}, true, 100},
        {"a counter that went down was started again: all of it is new",
         {link("wwan0", 3, 5000, 800)}, {link("wwan0", 3, 1200, 900)}, true, 1300},
        {"a new boot: every counter is new, even one equal to its baseline",
         {link("wwan0", 3, 5000, 0)}, {link("wwan0", 3, 5000, 0)}, false, 5000},
        {"interfaces not counted book nothing",
         {link("wlan0", 2, 0, 0), link("eth0", 5, 0, 0)}, {link("wlan0", 2, 9 * kGiB, 1), link("eth0", 5, 7, 7)}, true, 0},
        {"a source without indexes: the name tells the interface",
         {link("rmnet_data0", 0, 100, 100)}, {link("rmnet_data0", 0, 150, 100)}, true, 50},
        {"unchanged counters book nothing", {link("wwan0", 3, 77, 88)}, {link("wwan0", 3, 77, 88)}, true, 0},
    };
    for (const GrowthCase& c : cases) {
        EXPECT_EQ(CounterGrowth::booked(CounterGrowth::baselinesOf(c.before), c.now, byName(c.now), c.sameBoot),
                  c.booked)
            << c.what;
    }
}

// Three samplers share the baselines: one sees wwan1 gone, then a watcher books wwan1's last
// counters from its removal notice. Only what wwan1 carried after the last baseline counts.
TEST(CounterGrowth, AVanishedLinksLastCountersBookedAfterAnotherSampleCountOnce)
{
    const std::vector<InterfaceCounters> first = {link("wwan0", 3, 1000, 0), link("wwan1", 7, 5000, 500)};
    const std::vector<InterfaceCounters> gone = {link("wwan0", 3, 1200, 0)};
    const std::vector<InterfaceCounters> tail = {link("wwan0", 3, 1200, 0), link("wwan1", 7, 5900, 600)};

    const auto afterFirst = CounterGrowth::baselinesOf(first);
    EXPECT_EQ(CounterGrowth::booked(afterFirst, gone, byName(gone), true), 200u) << "a vanished link books nothing";
    const auto afterGone = CounterGrowth::baselinesOf(gone, afterFirst, true);
    EXPECT_EQ(CounterGrowth::booked(afterGone, tail, byName(tail), true), 1000u) << "wwan1's last 900 + 100 only";

    const auto afterReboot = CounterGrowth::baselinesOf(gone, afterFirst, false);
    EXPECT_EQ(afterReboot.size(), 1u) << "a new boot forgets the links of the old one";

    std::vector<InterfaceBaseline> many;
    for (int index = 100; index < 140; ++index) {
        many.push_back({"ppp" + std::to_string(index), index, 1, 1});
    }
    const auto kept = CounterGrowth::baselinesOf(gone, many, true);
    ASSERT_EQ(kept.size(), CounterGrowth::kKeptVanished + 1);
    EXPECT_EQ(kept.front().index, 140 - static_cast<int>(CounterGrowth::kKeptVanished)) << "the latest are kept";
}

TEST(CounterGrowth, ASummedTotalOf32BitCountersTellsWhatItCan)
{
    const std::vector<InterfaceCounters> now = {link("wwan0", 3, 5 * kGiB + 1000, 600), link("wlan0", 2, 99, 99),
                                                link("ppp0", 9, 400, 0)};
    const auto decisions = byName(now);
    // Today's counted counters modulo 2^32: 4 GiB above is what the old total never saw.
    const std::uint64_t narrow = (kGiB + 1000) + 600 + 400;
    struct Case {
        const char* what;
        std::int64_t stored;
        bool sameBoot;
        std::uint64_t booked;
    };
    const std::vector<Case> cases = {
        {"same boot, the narrow sum grew", static_cast<std::int64_t>(narrow - 700), true, 700},
        {"same boot, unchanged", static_cast<std::int64_t>(narrow), true, 0},
        {"same boot, the sum dropped: a wrap or a removed link, unknowable", static_cast<std::int64_t>(narrow + 1), true, 0},
        {"no counted interface before: the whole counters", 0, true, 5 * kGiB + 2000},
        {"a new boot: the whole counters", 123456, false, 5 * kGiB + 2000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CounterGrowth::bookedSinceSummedTotal(c.stored, now, decisions, c.sameBoot), c.booked) << c.what;
    }
}

}  // namespace
}  // namespace quorvel
