// SPDX-License-Identifier: GPL-3.0-or-later
// A plan for each SIM, through quorvelctl beside ModemManager played by dbusmock: `--sim`
// choosing and refusing, a SIM's own set-up keeping what was counted for it, and an old state
// handed to the first SIM only once the user says so.
#include "CtlSimsFixture.hpp"

namespace quorvel {
namespace {

using simtest::dualSimPhone;
using simtest::kIccidA;
using simtest::kIccidB;

class CtlSimPlansTest : public simtest::CtlSimsTest {
protected:
    std::string state() const { return clitest::readFile(home.path() / "data/quorvel/statestg"); }
    nlohmann::json status(const std::vector<std::string>& more = {})
    {
        std::vector<std::string> args = {"status", "--json"};
        args.insert(args.end(), more.begin(), more.end());
        EXPECT_EQ(ctl(args), 0) << err;
        return nlohmann::json::parse(out.empty() ? "null" : out);
    }
};

TEST_F(CtlSimPlansTest, SimChoosesThePlanAndRefusesWhatNamesNoSim)
{
    auto mm = dualSimPhone();
    std::ofstream(home.path() / "boot_id") << "a\n";
    counters(0, 0);
    ASSERT_EQ(ctl({"setup", "--plan", "1000", "--start-day", "1"}), 0) << err;

    // Unknown and ambiguous words exit 1 naming the known SIMs, the state's bytes unchanged.
    const std::string before = state();
    for (const char* word : {"0000", "nobody", ""}) {
        EXPECT_EQ(ctl({"--sim", word, "status"}), 1) << word;
        EXPECT_NE(err.find("\"Tele Nord\" (…4567)"), std::string::npos) << err;
        EXPECT_EQ(state(), before) << word;
    }
    EXPECT_EQ(ctl({"--sim", "4567", "interfaces"}), 2) << "the counted interfaces are the device's";

    // A SIM not set up says how to set it up, by a word that is not its identifier.
    EXPECT_EQ(ctl({"--sim", "Tele Nord", "status"}), 3);
    EXPECT_NE(err.find("quorvelctl --sim 4567 setup"), std::string::npos) << err;
    EXPECT_EQ(err.find(kIccidA), std::string::npos) << err;

    // Set up without --used: what was counted for the SIM stays its used data.
    counters(3'000'000, 0);
    EXPECT_TRUE(status()["sim"].is_null()) << "SIM A is not set up: This device's figures";
    ASSERT_EQ(ctl({"--sim", "4567", "setup", "--plan", "500", "--start-day", "5"}), 0) << err;
    EXPECT_NE(out.find("The SIM \"Tele Nord\" is set up: a plan of 500 MB"), std::string::npos) << out;

    // Now the active SIM's plan is the one shown, with --sim before or after the command.
    counters(5'000'000, 0);
    nlohmann::json j = status();
    ASSERT_TRUE(j["sim"].is_object()) << j.dump();
    EXPECT_EQ(j["sim"]["id"], kIccidA);
    EXPECT_EQ(j["sim"]["operator"], "Tele Nord");
    EXPECT_EQ(j["plan"], 500'000'000u);
    EXPECT_EQ(j["used"], 5'000'000u);
    EXPECT_EQ(j["start_day"], 5);
    EXPECT_EQ(status({"--sim", kIccidA})["used"], 5'000'000u);
    EXPECT_EQ(ctl({"--sim=6543", "status", "--json"}), 3) << "SIM B is still not set up";

    // SIM B's set-up with --used sets its used data; This device's plan is untouched.
    ASSERT_EQ(ctl({"setup", "--plan", "2000", "--start-day", "1", "--used", "100", "--sim", "Travel Mobile"}), 0)
        << err;
    j = status({"--sim", "6543"});
    EXPECT_EQ(j["sim"]["id"], kIccidB);
    EXPECT_EQ(j["used"], 100'000'000u);
    EXPECT_EQ(j["plan"], 2'000'000'000u);
    ASSERT_EQ(ctl({"sims", "--json"}), 0) << err;
    const nlohmann::json sims = nlohmann::json::parse(out);
    EXPECT_EQ(sims["sims"][0]["plan"], 500'000'000u);
    EXPECT_EQ(sims["sims"][0]["used"], 5'000'000u) << sims.dump();
    EXPECT_EQ(sims["sims"][1]["set_up"], true);
    EXPECT_EQ(deviceBytes(), 0u) << "every byte was SIM A's";

    // Commands act on the chosen SIM's plan only.
    ASSERT_EQ(ctl({"--sim", "6543", "set", "plan", "3000"}), 0) << err;
    EXPECT_EQ(status({"--sim", "6543"})["plan"], 3'000'000'000u);
    EXPECT_EQ(status()["plan"], 500'000'000u);
    ASSERT_EQ(ctl({"--sim", "4567", "limits", "--day", "off"}), 0) << err;
    ASSERT_EQ(ctl({"limits"}), 0) << err;
    EXPECT_NE(out.find("Daily limit off"), std::string::npos) << "the active SIM's switches: " << out;
    ASSERT_EQ(ctl({"--sim", "6543", "limits"}), 0) << err;
    EXPECT_NE(out.find("Daily limit on"), std::string::npos) << out;

    // One sampler splits at one set of free hours, This device's: a SIM's plan cannot move them.
    const std::string withPlans = state();
    EXPECT_EQ(ctl({"--sim", "6543", "plan", "--free-hours", "00:00-06:00"}), 1);
    EXPECT_NE(err.find("free hours are This device's plan's"), std::string::npos) << err;
    EXPECT_EQ(state(), withPlans);
}

TEST_F(CtlSimPlansTest, AnOldStateGoesToTheFirstSimOnlyWhenTheUserSaysSo)
{
    // Counted before any SIM was known: This device's plan, as every older file has it.
    std::ofstream(home.path() / "boot_id") << "a\n";
    counters(0, 0);
    ASSERT_EQ(ctl({"setup", "--plan", "1000", "--start-day", "1", "--used", "40"}), 0) << err;
    counters(2'000'000, 0);
    const nlohmann::json old = status();
    EXPECT_EQ(old["used"], 42'000'000u);

    // The first SIM appears (listed, as the resident counter would see it): asked about, nothing
    // moved.
    auto mm = dualSimPhone();
    ASSERT_EQ(ctl({"sims"}), 0) << err;
    counters(3'000'000, 0);
    nlohmann::json j = status();
    EXPECT_TRUE(j["sim"].is_null());
    EXPECT_EQ(j["used"], 42'000'000u) << "This device's figures stay as they were";
    EXPECT_NE(err.find("Is this the SIM of your current plan?"), std::string::npos) << err;
    EXPECT_NE(err.find("quorvelctl sims --take-over 4567"), std::string::npos) << err;
    EXPECT_EQ(err.find(kIccidA), std::string::npos) << err;

    // A SIM with a plan of its own is not taken over; the answer moves plan and history.
    ASSERT_EQ(ctl({"--sim", "6543", "setup", "--plan", "5", "--start-day", "1"}), 0) << err;
    const std::string before = state();
    EXPECT_EQ(ctl({"sims", "--take-over", "6543"}), 1);
    EXPECT_EQ(state(), before);
    ASSERT_EQ(ctl({"sims", "--take-over", "4567"}), 0) << err;
    j = status();
    EXPECT_EQ(j["sim"]["id"], kIccidA);
    EXPECT_EQ(j["plan"], 1'000'000'000u);
    EXPECT_EQ(j["used"], 43'000'000u) << "the device's 42 MB and the SIM's own 1 MB";
    EXPECT_EQ(err.find("Is this the SIM"), std::string::npos) << "asked no more: " << err;
    EXPECT_EQ(deviceBytes(), 0u) << "This device starts afresh";
    ASSERT_EQ(ctl({"export", "--json", "--sim", "4567"}), 0) << err;
    EXPECT_EQ(clitest::exportedBytes(nlohmann::json::parse(out)), 43'000'000u) << "every day went with it";
}

}  // namespace
}  // namespace quorvel
