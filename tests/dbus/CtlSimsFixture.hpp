// SPDX-License-Identifier: GPL-3.0-or-later
// quorvelctl run as the program it is, beside ModemManager played by dbusmock: a dual-SIM phone,
// counters the program reads from a file, and the figures each SIM was booked.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include <glib.h>
#include <nlohmann/json.hpp>

#include "ModemManagerMock.hpp"
#include "cli/CtlProcess.hpp"
#include "TestEnv.hpp"

namespace quorvel::simtest {

using test::MockService;
using test::simPath;

inline constexpr const char* kIccidA = "8949020000001234567";
inline constexpr const char* kIccidB = "8944110000009876543";

// Two SIMs in two slots of one modem with an empty third slot, and a second modem whose bearer
// gives a data interface of its own.
inline std::unique_ptr<MockService> dualSimPhone()
{
    auto mm = test::startModemManager();
    test::addSim(*mm, 0, kIccidA, "262011234567890", "Tele Nord");
    test::addSim(*mm, 1, kIccidB, "234159876543210", "Travel Mobile");
    test::addSlottedModem(*mm, test::kModem0, {simPath(0), "/", simPath(1)}, 1, "wwan0");
    return mm;
}

class CtlSimsTest : public test::SystemBusTest {
protected:
    std::vector<std::string> environment() const
    {
        std::vector<std::string> env = clitest::ctlEnvironment(home.path());
        std::erase_if(env, [](const std::string& e) { return e.starts_with("DBUS_SYSTEM_BUS_ADDRESS="); });
        env.push_back(std::string("DBUS_SYSTEM_BUS_ADDRESS=") + g_getenv("DBUS_SYSTEM_BUS_ADDRESS"));
        return env;
    }
    int ctl(const std::vector<std::string>& args)
    {
        out.clear();
        err.clear();
        std::vector<std::string> argv = {QUORVEL_CTL};
        argv.insert(argv.end(), args.begin(), args.end());
        return clitest::runProcess(argv, environment(), out, err);
    }
    void counters(std::uint64_t wwan0, std::uint64_t wwan1) const
    {
        const std::filesystem::path tmp = home.path() / "counters.tmp";
        std::ofstream(tmp) << "wwan0 " << wwan0 << " 0\nwwan1 " << wwan1 << " 0\n";
        std::filesystem::rename(tmp, home.path() / "counters");
    }
    // What `sims --json` says each SIM counted, by ICCID.
    std::map<std::string, std::uint64_t> usedBySim()
    {
        EXPECT_EQ(ctl({"sims", "--json"}), 0) << err;
        return usedIn(out);
    }
    static std::map<std::string, std::uint64_t> usedIn(const std::string& simsJson)
    {
        std::map<std::string, std::uint64_t> used;
        const nlohmann::json listed = nlohmann::json::parse(simsJson);
        for (const auto& sim : listed.at("sims")) {
            used[sim.at("id").get<std::string>()] = sim.at("used").get<std::uint64_t>();
        }
        return used;
    }
    // Asks until `done` holds: the watcher books on its own time. The bound only keeps a broken
    // watcher from hanging the test.
    static bool eventually(const std::function<bool()>& done)
    {
        for (int i = 0; i < 300; ++i) {
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    std::uint64_t deviceBytes()
    {
        EXPECT_EQ(ctl({"export", "--json", "--sim", "device"}), 0) << err;
        return clitest::exportedBytes(nlohmann::json::parse(out));
    }
    test::TempDir home;
    std::string out;
    std::string err;
};

}  // namespace quorvel::simtest
