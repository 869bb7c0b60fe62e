// SPDX-License-Identifier: GPL-3.0-or-later
// ModemManager's SIMs (dbusmock on a private system bus): every slot's SIM, the active one with
// the modem's data interfaces, and `quorvelctl sims` listing, naming and forgetting them.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <fstream>
#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include <nlohmann/json.hpp>

#include "CtlSimsFixture.hpp"
#include "ModemManagerMock.hpp"
#include "cli/CtlProcess.hpp"
#include "platform/dbus/ModemSimDirectory.hpp"
#include "TestEnv.hpp"

namespace quorvel {
namespace {

using test::MockService;
using test::simPath;

class ModemSimDirectoryTest : public test::SystemBusTest {};

using simtest::CtlSimsTest;
using simtest::dualSimPhone;
using simtest::kIccidA;
using simtest::kIccidB;

TEST_F(ModemSimDirectoryTest, ListsEverySlotsSimWithTheActiveOnesInterfaces)
{
    ModemSimDirectory directory;
    EXPECT_EQ(directory.sims(), std::nullopt);  // no ModemManager: nothing to tell

    auto mm = dualSimPhone();
    auto sims = directory.sims();
    ASSERT_TRUE(sims.has_value());
    ASSERT_EQ(sims->size(), 2u);  // the empty slot "/" is no SIM
    EXPECT_EQ((*sims)[0].iccid, kIccidA);
    EXPECT_TRUE((*sims)[0].active);
    EXPECT_EQ((*sims)[0].interfaces, std::vector<std::string>{"wwan0"});  // the net port, not cdc-wdm0
    EXPECT_EQ((*sims)[0].operatorName, "Tele Nord");
    EXPECT_EQ((*sims)[1].iccid, kIccidB);
    EXPECT_FALSE((*sims)[1].active);
    EXPECT_TRUE((*sims)[1].interfaces.empty());
    EXPECT_EQ((*sims)[1].imsi, "234159876543210");

    test::switchPrimarySlot(*mm, test::kModem0, simPath(1), 3);
    sims = directory.sims();
    ASSERT_EQ(sims->size(), 2u);
    EXPECT_EQ((*sims)[0].iccid, kIccidB);  // the active SIM first, then the other slots
    EXPECT_TRUE((*sims)[0].active);
    EXPECT_EQ((*sims)[0].interfaces, std::vector<std::string>{"wwan0"});
    EXPECT_FALSE((*sims)[1].active);

    // A connected bearer's interface is a data interface too; a disconnected one's is not.
    const std::string modem1 = "/org/freedesktop/ModemManager1/Modem/1";
    test::addSim(*mm, 2, "", "310260000000001", "");  // no ICCID given: known by its IMSI
    mm->control(test::kModemManagerRoot, "AddObject",
                "('/org/freedesktop/ModemManager1/Bearer/0', 'org.freedesktop.ModemManager1.Bearer',"
                " {'Interface': <'wwan1'>, 'Connected': <true>}, @a(ssss) [])");
    mm->control(test::kModemManagerRoot, "AddObject",
                "('/org/freedesktop/ModemManager1/Bearer/1', 'org.freedesktop.ModemManager1.Bearer',"
                " {'Interface': <'wwan9'>, 'Connected': <false>}, @a(ssss) [])");
    mm->control(test::kModemManagerRoot, "AddObject",
                "('" + modem1 + "', 'org.freedesktop.ModemManager1.Modem', {'Sim': <objectpath '" + simPath(2) +
                    "'>, 'Ports': <@a(su) []>, 'Bearers': <[objectpath '/org/freedesktop/ModemManager1/Bearer/0',"
                    " '/org/freedesktop/ModemManager1/Bearer/1']>}, @a(ssss) [])");
    sims = directory.sims();
    ASSERT_EQ(sims->size(), 3u);
    EXPECT_EQ((*sims)[2].key(), "310260000000001");
    EXPECT_EQ((*sims)[2].interfaces, std::vector<std::string>{"wwan1"});
}

TEST_F(ModemSimDirectoryTest, AHangingModemManagerIsNoModemManager)
{
    auto mm = dualSimPhone();
    mm->freeze();
    ModemSimDirectory directory;
    EXPECT_EQ(directory.sims(), std::nullopt);  // after the call's timeout, not forever
    mm->thaw();
    EXPECT_EQ(directory.sims()->size(), 2u);
}

TEST_F(CtlSimsTest, ListsNamesAndForgetsSimsBeforeAnySetUp)
{
    ASSERT_EQ(ctl({"sims"}), 0) << err;
    EXPECT_NE(out.find("No SIM is known"), std::string::npos) << out;

    auto mm = dualSimPhone();
    ASSERT_EQ(ctl({"sims", "--json"}), 0) << err;
    nlohmann::json j = nlohmann::json::parse(out);
    ASSERT_EQ(j.at("sims").size(), 2u) << out;
    EXPECT_EQ(j["sims"][0]["id"], kIccidA);
    EXPECT_EQ(j["sims"][0]["name"], "Tele Nord");
    EXPECT_EQ(j["sims"][0]["active"], true);
    EXPECT_EQ(j["sims"][0]["set_up"], false);
    EXPECT_EQ(j["sims"][1]["active"], false);

    ASSERT_EQ(ctl({"sims", "--name", "6543", "Abroad"}), 0) << err;  // the last four digits
    EXPECT_NE(out.find("\"Abroad\""), std::string::npos) << out;
    mm.reset();  // both SIMs out: still known, no longer active
    ASSERT_EQ(ctl({"sims", "--json"}), 0) << err;
    j = nlohmann::json::parse(out);
    ASSERT_EQ(j.at("sims").size(), 2u);
    EXPECT_EQ(j["sims"][1]["name"], "Abroad");
    EXPECT_EQ(j["sims"][1]["active"], false);
    EXPECT_EQ(j["sims"][0]["active"], false);

    // Unknown and ambiguous words are refused with the known SIMs named, the file unchanged.
    const std::string before = clitest::readFile(home.path() / "data/quorvel/statestg");
    for (const std::vector<std::string>& refused :
         {std::vector<std::string>{"sims", "--forget", "0000"}, {"sims", "--name", "Tele", "X"},
          {"sims", "--name", "abroad", std::string(100, 'x')}, {"sims", "--forget", ""}}) {
        EXPECT_EQ(ctl(refused), 1) << refused[1];
        EXPECT_EQ(clitest::readFile(home.path() / "data/quorvel/statestg"), before) << refused[1];
    }
    ctl({"sims", "--forget", "nobody"});
    EXPECT_NE(err.find("\"Abroad\" (…6543)"), std::string::npos) << err;
    EXPECT_EQ(err.find(kIccidA), std::string::npos) << "a refusal names SIMs, not their identifiers";

    ASSERT_EQ(ctl({"sims", "--forget", "Abroad"}), 0) << err;  // a name, in any case
    ASSERT_EQ(ctl({"sims", "--json"}), 0) << err;
    j = nlohmann::json::parse(out);
    ASSERT_EQ(j.at("sims").size(), 1u);
    EXPECT_EQ(j["sims"][0]["id"], kIccidA);
}

TEST_F(CtlSimsTest, EachSimIsBookedExactlyWhatItCarriedAcrossASlotSwitch)
{
    auto mm = dualSimPhone();
    std::ofstream(home.path() / "boot_id") << "a\n";
    counters(0, 0);
    ASSERT_EQ(ctl({"setup", "--plan", "1000", "--start-day", "1"}), 0) << err;
    const pid_t watcher = clitest::startProcess({QUORVEL_CTL, "watch"}, environment(),
                                                (home.path() / "out").string(), (home.path() / "err").string());
    ASSERT_GT(watcher, 0);
    ASSERT_TRUE(clitest::waitForText(home.path() / "out", clitest::kWatcherReady));

    // wwan0 is SIM A's modem's; wwan1 belongs to no modem (a dongle): this device's own.
    counters(1000, 100);
    test::switchPrimarySlot(*mm, test::kModem0, simPath(1), 3);  // the switch closes A's interval
    ASSERT_TRUE(eventually([&] { return usedBySim()[kIccidA] >= 1000; }));
    counters(1500, 100);
    test::switchPrimarySlot(*mm, test::kModem0, simPath(0), 1);  // and back: B's interval closes
    ASSERT_TRUE(eventually([&] { return usedBySim()[kIccidB] >= 500; }));
    ::kill(watcher, SIGTERM);
    EXPECT_EQ(clitest::waitForProcess(watcher), 0) << clitest::readFile(home.path() / "err");

    const std::map<std::string, std::uint64_t> used = usedBySim();
    EXPECT_EQ(used.at(kIccidA), 1000u);
    EXPECT_EQ(used.at(kIccidB), 500u);
    EXPECT_EQ(deviceBytes(), 100u) << "this device's plan carries only what no SIM did";

    // A one-shot status says the SIMs are not set up, naming them, never their identifiers.
    counters(1700, 100);
    ASSERT_EQ(ctl({"status", "--json"}), 0) << err;
    EXPECT_NE(err.find("\"Travel Mobile\" is not set up"), std::string::npos) << err;
    EXPECT_EQ(err.find(kIccidB), std::string::npos) << err;
    EXPECT_TRUE(nlohmann::json::parse(out).at("sim").is_null());
    EXPECT_EQ(usedBySim().at(kIccidA), 1200u) << "the route renewed at the last switch";
    EXPECT_EQ(usedBySim().at(kIccidB), 500u);
}

}  // namespace
}  // namespace quorvel
