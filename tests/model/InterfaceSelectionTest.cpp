// SPDX-License-Identifier: GPL-3.0-or-later
// Which interfaces count: the user's choice, NetworkManager's devices, the metered option, name
// prefixes and stacked links, as lists of cases.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/InterfaceSelection.hpp"

namespace quorvel {
namespace {

constexpr std::uint32_t kEthernet = 1;
constexpr std::uint32_t kWifi = 2;
constexpr std::uint32_t kBluetooth = 5;
constexpr std::uint32_t kModem = 8;
constexpr std::uint32_t kMeteredYes = 1;
constexpr std::uint32_t kMeteredNo = 2;
constexpr std::uint32_t kMeteredGuessYes = 3;
constexpr std::uint32_t kMeteredGuessNo = 4;

// The user's choices as a list (a map inside a list of cases trips a GCC 12 false warning).
struct Choices {
    std::vector<std::pair<std::string, bool>> byName;
    bool countMetered = false;
};

struct Case {
    const char* what;
    std::vector<InterfaceCounters> links;
    Choices choices;
    std::optional<NetworkDeviceTable> networkManager;
    // One word per link: "+reason" counted, "-reason" not.
    std::vector<std::string> expected;
};

InterfaceCounters link(std::string name, int index, int lowerIndex = 0)
{
    return {std::move(name), index, lowerIndex, 0, 0};
}

std::vector<std::string> verdicts(const std::vector<CountingDecision>& decisions)
{
    std::vector<std::string> words;
    for (const CountingDecision& d : decisions) {
        words.push_back((d.counted ? "+" : "-") + std::string(countReasonName(d.reason)));
    }
    return words;
}

void expectCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CountingChoices choices;
        choices.byName.insert(c.choices.byName.begin(), c.choices.byName.end());
        choices.countMetered = c.choices.countMetered;
        const std::vector<CountingDecision> decisions = InterfaceSelection::decide(c.links, choices, c.networkManager);
        ASSERT_EQ(decisions.size(), c.links.size());
        for (std::size_t i = 0; i < decisions.size(); ++i) {
            EXPECT_EQ(decisions[i].name, c.links[i].name);
            EXPECT_EQ(decisions[i].index, c.links[i].index);
        }
        EXPECT_EQ(verdicts(decisions), c.expected);
    }
}

TEST(InterfaceSelection, NamePrefixesWithoutNetworkManager)
{
    const std::vector<std::string> cellular = {"wwan0", "wwp0s20f0u6", "rmnet_data0", "ppp0", "pdp_ip1",
                                               "qmapmux0.0", "mhi_hwip0", "mhi_swip0", "ccmni2"};
    for (const std::string& name : cellular) {
        EXPECT_TRUE(InterfaceSelection::hasCellularName(name)) << name;
    }
    // Prefixes match only at the start, and ordinary links are not cellular.
    for (const char* name : {"lo", "eth0", "wlan0", "enx0a1b2c3d4e5f", "usb0", "bnep0", "xwwan0", "mhi0", ""}) {
        EXPECT_FALSE(InterfaceSelection::hasCellularName(name)) << name;
    }
    expectCases({
        {"no network manager: prefixes decide",
         {link("lo", 1), link("wlan0", 2), link("wwan0", 3), link("usb0", 4), link("ccmni0", 5)}, {}, std::nullopt,
         {"-none", "-none", "+name", "-none", "+name"}},
        {"no links", {}, {}, std::nullopt, {}},
    });
}

TEST(InterfaceSelection, NetworkManagerDevices)
{
    const NetworkDeviceTable table = {
        {"cdc-wdm0", kModem, std::nullopt},       // a modem's control interface
        {"enx0a1b2c3d4e5f", kModem, std::nullopt},  // its data interface, no known prefix
        {"wlan0", kWifi, kMeteredNo},
        {"wwan1", kEthernet, std::nullopt},        // a cellular name NM knows as something else
        {"usb0", kEthernet, kMeteredGuessYes},      // phone tethering
        {"bnep0", kBluetooth, kMeteredYes},
        {"eth1", kEthernet, kMeteredGuessNo},
    };
    const std::vector<InterfaceCounters> links = {link("enx0a1b2c3d4e5f", 2), link("wlan0", 3), link("wwan1", 4),
                                                  link("usb0", 5),            link("bnep0", 6), link("eth1", 7),
                                                  link("ppp0", 8),            link("eth9", 9)};
    Choices metered;
    metered.countMetered = true;
    expectCases({
        {"modem counted, other types not, unreported by prefix", links, {}, table,
         {"+networkmanager", "-none", "-none", "-none", "-none", "-none", "+name", "-none"}},
        {"the metered option counts yes and guess-yes only", links, metered, table,
         {"+networkmanager", "-none", "-none", "+metered", "+metered", "-none", "+name", "-none"}},
        {"an empty table: every link by its name", links, {}, NetworkDeviceTable{},
         {"-none", "-none", "+name", "-none", "-none", "-none", "+name", "-none"}},
    });
}

TEST(InterfaceSelection, UnknownFieldsAndRepeatedNames)
{
    Choices metered;
    metered.countMetered = true;
    expectCases({
        // A device whose type NetworkManager did not tell is neither modem nor "another type".
        {"type unknown: judged by name",
         {link("wwan0", 1), link("usb0", 2)}, {},
         NetworkDeviceTable{{"wwan0", std::nullopt, std::nullopt}, {"usb0", std::nullopt, std::nullopt}},
         {"+name", "-none"}},
        {"type unknown but metered, with the option",
         {link("usb0", 2)}, metered, NetworkDeviceTable{{"usb0", std::nullopt, kMeteredYes}}, {"+metered"}},
        {"metered unknown: not metered",
         {link("usb0", 2)}, metered, NetworkDeviceTable{{"usb0", kEthernet, std::nullopt}}, {"-none"}},
        {"one of two entries naming a link is a modem",
         {link("wwan0", 1)}, {}, NetworkDeviceTable{{"wwan0", kEthernet, std::nullopt}, {"wwan0", kModem, std::nullopt}},
         {"+networkmanager"}},
    });
}

TEST(InterfaceSelection, UserChoicesComeFirst)
{
    Choices choices;
    choices.byName = {{"wlan0", true}, {"enx0a1b2c3d4e5f", false}, {"wwan0", false}, {"absent0", true}};
    choices.countMetered = true;
    const std::vector<InterfaceCounters> links = {link("wlan0", 1), link("enx0a1b2c3d4e5f", 2), link("wwan0", 3),
                                                  link("usb0", 4)};
    const NetworkDeviceTable table = {{"wlan0", kWifi, kMeteredNo},
                                      {"enx0a1b2c3d4e5f", kModem, std::nullopt},
                                      {"usb0", kEthernet, kMeteredYes}};
    expectCases({
        {"with NetworkManager", links, choices, table, {"+user", "-ignored", "-ignored", "+metered"}},
        {"without NetworkManager", links, choices, std::nullopt, {"+user", "-ignored", "-ignored", "-none"}},
    });
}

TEST(InterfaceSelection, StackedLinksAreBilledOnce)
{
    const std::vector<InterfaceCounters> ipa = {link("rmnet_ipa0", 5), link("qmapmux0.0", 6, 5),
                                                link("qmapmux0.1", 7, 5)};
    Choices onlyFirstChannel;
    onlyFirstChannel.byName = {{"qmapmux0.1", false}};
    Choices noChannel;
    noChannel.byName = {{"qmapmux0.0", false}, {"qmapmux0.1", false}};
    Choices vlanCounted;
    vlanCounted.byName = {{"veth0.5", true}};
    expectCases({
        {"channels over the carrier: the channels count",
         ipa, {}, std::nullopt, {"-none", "+name", "+name"}},
        {"one channel counted still skips the carrier",
         ipa, onlyFirstChannel, std::nullopt, {"-none", "+name", "-ignored"}},
        {"no channel counted: the carrier counts",
         ipa, noChannel, std::nullopt, {"+name", "-ignored", "-ignored"}},
        {"a VLAN over a modem link counts, the modem link not",
         {link("wwan0", 3), link("wwan0.10", 4, 3)}, {}, std::nullopt, {"-none", "+name"}},
        {"the VLAN of a counted veth: the VLAN only",
         {link("veth0", 10, 11), link("veth0.5", 12, 10)}, vlanCounted,
         NetworkDeviceTable{{"veth0", kModem, std::nullopt}}, {"-none", "+user"}},
        {"a stack three deep, the middle uncounted: only the top",
         {link("ppp0", 1), link("lan9", 2, 1), link("wwan9", 3, 2)}, {}, std::nullopt,
         {"-none", "-none", "+name"}},
        {"an uncounted upper link leaves the lower one alone",
         {link("wwan0", 3), link("macvlan0", 4, 3)}, {}, std::nullopt, {"+name", "-none"}},
        {"lower link missing from the list",
         {link("qmapmux0.0", 6, 5)}, {}, std::nullopt, {"+name"}},
    });
}

TEST(InterfaceSelection, StacksRespectTheUsersCount)
{
    Choices lowerCounted;
    lowerCounted.byName = {{"rmnet_ipa0", true}};
    Choices bothCounted;
    bothCounted.byName = {{"rmnet_ipa0", true}, {"qmapmux0.0", true}};
    Choices middleCounted;
    middleCounted.byName = {{"lan9", true}};
    const std::vector<InterfaceCounters> ipa = {link("rmnet_ipa0", 5), link("qmapmux0.0", 6, 5)};
    expectCases({
        {"the user bills at the carrier: detected channels above it skipped",
         ipa, lowerCounted, std::nullopt, {"+user", "-none"}},
        {"both counted by the user: as asked", ipa, bothCounted, std::nullopt, {"+user", "+user"}},
        {"the user's middle link: detection below and above skipped",
         {link("ppp0", 1), link("lan9", 2, 1), link("wwan9", 3, 2)}, middleCounted, std::nullopt,
         {"-none", "+user", "-none"}},
    });
}

TEST(InterfaceSelection, PairsAndLoopsAreNotStacks)
{
    expectCases({
        {"two ends of a pair, both counted",
         {link("wwan0", 1, 2), link("wwan1", 2, 1)}, {}, std::nullopt, {"+name", "+name"}},
        {"a link naming itself", {link("wwan0", 1, 1)}, {}, std::nullopt, {"+name"}},
        {"a loop of three",
         {link("wwan0", 1, 3), link("wwan1", 2, 1), link("wwan2", 3, 2)}, {}, std::nullopt,
         {"+name", "+name", "+name"}},
        {"a link stacked on one end of a pair: the pair end skipped",
         {link("wwan0", 1, 2), link("wwan1", 2, 1), link("wwan0.7", 3, 1)}, {}, std::nullopt,
         {"-none", "+name", "+name"}},
        {"index unknown (0) never stacks",
         {link("wwan0", 0), link("wwan1", 0, 0)}, {}, std::nullopt, {"+name", "+name"}},
    });
}

}  // namespace
}  // namespace quorvel
