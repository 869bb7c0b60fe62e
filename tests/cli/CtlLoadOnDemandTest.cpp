// SPDX-License-Identifier: GPL-3.0-or-later
// What quorvelctl loads: the program itself links neither GIO/GLib nor ICU nor SQLite nor the
// drawing stack; the reporting commands load them only when they need them (NetworkManager asked
// because the links changed, numbers formatted for people, vnStat's database read, a chart drawn,
// in the same process), the resident watcher stays without them, and with its modules missing the
// command line goes on as on a system without NetworkManager, saying so once.
#include <gtest/gtest.h>

#include <cctype>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TestEnv.hpp"

#include "CtlProcess.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::clitest::ctlEnvironment;
using quorvel::clitest::readFile;
using quorvel::clitest::runProcess;

const std::vector<std::string> kHeavy = {"libgio",         "libgobject",         "libglib",    "libicu",
                                         "quorvel-bus.so", "quorvel-numbers.so", "libsqlite3",  "quorvel-sqlite.so",
                                         "libcairo",       "libpango",           "libfontconfig", "quorvel-chart.so"};

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++n;
    }
    return n;
}

// The heavy libraries named in `text` (a loader trace or a process's maps).
std::vector<std::string> heavyIn(const std::string& text)
{
    std::vector<std::string> found;
    for (const auto& name : kHeavy) {
        if (text.find(name) != std::string::npos) {
            found.push_back(name);
        }
    }
    return found;
}

struct LoadOnDemand : ::testing::Test {
    quorvel::test::TempDir home;
    std::string out, err;

    void SetUp() override
    {
        // The children inherit this environment: the locale each run is given must be the only one.
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            ::unsetenv(name);
        }
        // Something where the system bus's socket would be: a bus may be there, so a new link set
        // loads the bus module to ask (and finds no bus). With nothing there it is never loaded.
        std::ofstream(home.path() / "no-system-bus") << "";
        setCounters(1000, 2000);
        ASSERT_EQ(runProcess({QUORVEL_DEMO_STATE}, ctlEnvironment(home.path()), out, err), 0) << err;
    }
    void setCounters(std::uint64_t rx, std::uint64_t tx) const
    {
        std::ofstream(home.path() / "counters.tmp") << "wwan0 " << rx << " " << tx << "\n";
        fs::rename(home.path() / "counters.tmp", home.path() / "counters");
    }
    // quorvelctl with extra variables; its standard error holds the loader's trace when asked.
    int ctl(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {})
    {
        std::vector<std::string> argv{QUORVEL_CTL};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> env = ctlEnvironment(home.path());
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        return runProcess(argv, env, out, err);
    }
    // The shared objects one run of quorvelctl loads, as the dynamic loader reports them.
    std::string loaded(const std::vector<std::string>& args, const std::string& lang = "LANG=C.UTF-8")
    {
        EXPECT_EQ(ctl(args, {"LD_DEBUG=files", lang}), 0) << err;
        std::istringstream trace(err);
        std::string inits;
        for (std::string line; std::getline(trace, line);) {
            if (line.find("calling init:") != std::string::npos) {
                inits += line + "\n";
            }
        }
        return inits;
    }
};

TEST(LoadOnDemandProgram, LinksNoBusOrLocaleLibrary)
{
    std::string out, err;
    ASSERT_EQ(runProcess({"ldd", QUORVEL_CTL}, {}, out, err), 0) << err;
    EXPECT_EQ(heavyIn(out), std::vector<std::string>{}) << out;
}

TEST_F(LoadOnDemand, ReportingCommandsLoadTheModulesOnlyForWorkThatNeedsThem)
{
    // A link set NetworkManager was not asked about yet: the bus module comes in for it.
    std::ofstream(home.path() / "counters") << "wwan0 1000 2000\nwwan1 10 20\n";
    const std::string first = loaded({"status", "--json"});
    EXPECT_NE(first.find("quorvel-bus.so"), std::string::npos) << first;
    EXPECT_EQ(first.find("quorvel-numbers.so"), std::string::npos) << "JSON formats no number for people";

    // The same links again: nothing to ask, nothing heavy to load, for any machine-readable report.
    std::ofstream(home.path() / "counters") << "wwan0 5000 9000\nwwan1 10 20\n";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"status", "--json"}, {"sample", "--json"}, {"sample"}, {"export", "--json"},
          {"export", "--csv"}}) {
        const std::string trace = loaded(args);
        EXPECT_EQ(heavyIn(trace), std::vector<std::string>{}) << args[0] << " " << args.back();
    }
    // Figures for people in English need no ICU either; in German they do.
    EXPECT_EQ(heavyIn(loaded({"status", "--waybar"})), std::vector<std::string>{});
    EXPECT_EQ(heavyIn(loaded({"status"}, "LANG=en_GB.UTF-8")), std::vector<std::string>{});
    const std::string german = loaded({"status"}, "LANG=de_DE.UTF-8");
    EXPECT_NE(german.find("quorvel-numbers.so"), std::string::npos) << german;
    EXPECT_NE(german.find("libicu"), std::string::npos) << german;
}

TEST_F(LoadOnDemand, OnlyTheImportOfVnstatsDatabaseLoadsSqlite)
{
    ASSERT_EQ(ctl({"export", "--json"}), 0) << err;
    std::ofstream(home.path() / "backup.json") << out;
    EXPECT_EQ(heavyIn(loaded({"import", (home.path() / "backup.json").string()})), std::vector<std::string>{});

    // A database that is not there: refused, but read through the module.
    EXPECT_EQ(ctl({"import", "--vnstat", (home.path() / "vnstat.db").string()}, {"LD_DEBUG=files", "LANG=C.UTF-8"}), 1);
    EXPECT_NE(err.find("calling init: " + std::string(QUORVEL_BUILD_MODULE_DIR) + "/quorvel-sqlite.so"), std::string::npos)
        << err;
    EXPECT_NE(err.find("libsqlite3"), std::string::npos);
}

TEST_F(LoadOnDemand, OnlyAChartLoadsTheDrawingStackAndInTheSameProcess)
{
    const std::string trace = loaded({"chart", "--size", "200x150", "--output", (home.path() / "c.png").string()});
    EXPECT_NE(trace.find("calling init: " + std::string(QUORVEL_BUILD_MODULE_DIR) + "/quorvel-chart.so"),
              std::string::npos)
        << trace;
    for (const char* library : {"libcairo", "libpango", "libfontconfig"}) {
        EXPECT_NE(trace.find(library), std::string::npos) << library << "\n" << trace;
    }
    // One program: the loader starts once, for quorvelctl, and no other program is run.
    EXPECT_EQ(occurrences(err, "initialize program: "), 1u) << err;
    EXPECT_EQ(std::string(readFile(home.path() / "c.png"), 0, 4), "\x89PNG");

    // The commands around it still load none of it.
    EXPECT_EQ(heavyIn(loaded({"sample"})), std::vector<std::string>{});
}

// A program that carries the parts of the C++ runtime it uses gains nothing if a module it loads
// brings the shared runtime back in: the bus and chart modules keep their copy to themselves, and
// neither the watcher nor its bus module loads libgcc's shared unwinder.
TEST_F(LoadOnDemand, NoModuleBringsTheSharedCxxRuntimeToAProgramThatCarriesItsOwn)
{
    std::string linked, lddErr;
    ASSERT_EQ(runProcess({"ldd", QUORVEL_CTL}, {}, linked, lddErr), 0) << lddErr;
    if (linked.find("libstdc++") != std::string::npos) {
        GTEST_SKIP() << "this build links the shared C++ runtime (sanitizers, or chosen so)";
    }
    std::ofstream(home.path() / "counters") << "wwan0 1000 2000\nwwan1 10 20\n";
    const std::string bus = loaded({"status", "--json"});
    ASSERT_NE(bus.find("quorvel-bus.so"), std::string::npos) << bus;
    EXPECT_EQ(bus.find("libstdc++"), std::string::npos) << bus;
    EXPECT_EQ(bus.find("libgcc_s"), std::string::npos) << bus;
    const std::string chart = loaded({"chart", "--size", "200x150", "--output", (home.path() / "c.png").string()});
    ASSERT_NE(chart.find("quorvel-chart.so"), std::string::npos) << chart;
    EXPECT_EQ(chart.find("libstdc++"), std::string::npos) << chart;
}

TEST_F(LoadOnDemand, TheResidentWatcherMapsNeitherGioNorIcu)
{
    fs::remove(home.path() / "no-system-bus");  // no bus at all: no follower, no bus module
    ASSERT_EQ(ctl({"sample"}), 0) << err;  // NetworkManager was asked about these links once
    const fs::path outFile = home.path() / "watch.out";
    const pid_t watcher = quorvel::clitest::startCtl(home.path(), {"watch"}, outFile.string(),
                                                     (home.path() / "watch.err").string());
    ASSERT_GT(watcher, 0);
    // A readiness line, not a timing: the bound only keeps a broken watcher from hanging the test.
    for (int i = 0; i < 2000 && readFile(outFile).find("Watching the network links") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_NE(readFile(outFile).find("Watching the network links"), std::string::npos) << readFile(outFile);
    const std::string maps = readFile("/proc/" + std::to_string(watcher) + "/maps");
    ::kill(watcher, SIGTERM);
    EXPECT_EQ(quorvel::clitest::waitForProcess(watcher), 0) << readFile(home.path() / "watch.err");
    ASSERT_FALSE(maps.empty());
    EXPECT_EQ(heavyIn(maps), std::vector<std::string>{}) << maps;
}

// The KiB of the program's code mapping in `smaps` of a process: its size and what is resident.
std::pair<long, long> codeMapping(const std::string& smaps)
{
    std::istringstream in(smaps);
    std::string line;
    bool inCode = false;
    long size = 0;
    long resident = 0;
    while (std::getline(in, line)) {
        // A mapping's own line starts with its address range; its fields start with "Name:".
        const std::string first = line.substr(0, line.find(' '));
        if (!first.empty() && !first.ends_with(':')) {
            inCode = line.find(" r-xp ") != std::string::npos && line.ends_with("/quorvelctl");
        } else if (inCode && line.starts_with("Size:")) {
            size += std::stol(line.substr(5));
        } else if (inCode && line.starts_with("Rss:")) {
            resident += std::stol(line.substr(4));
        }
    }
    return {size, resident};
}

// Between samples the watcher waits in poll(): the code its start-up and its samples ran does
// not stay mapped for the hours until the next one.
TEST_F(LoadOnDemand, TheWaitingWatcherKeepsLittleOfItsCodeMapped)
{
    fs::remove(home.path() / "no-system-bus");
    const fs::path outFile = home.path() / "watch.out";
    const pid_t watcher =
        quorvel::clitest::startCtl(home.path(), {"watch"}, outFile.string(), (home.path() / "watch.err").string());
    ASSERT_GT(watcher, 0);
    const std::string smaps = "/proc/" + std::to_string(watcher) + "/smaps";
    // It hands the pages back just before it first waits, after its readiness line; the bound
    // only keeps a watcher that never does from hanging the test.
    std::pair<long, long> code;
    for (int i = 0; i < 2000; ++i) {
        code = codeMapping(readFile(smaps));
        if (readFile(outFile).find("Watching the network links") != std::string::npos && code.first > 0 &&
            code.second * 4 <= code.first) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(watcher, SIGTERM);
    EXPECT_EQ(quorvel::clitest::waitForProcess(watcher), 0) << readFile(home.path() / "watch.err");
    ASSERT_GT(code.first, 0) << "no code mapping of quorvelctl";
    EXPECT_LE(code.second * 4, code.first) << code.second << " KiB of " << code.first << " KiB resident";
}

TEST_F(LoadOnDemand, WithoutItsModulesTheCommandLineGoesOnAndSaysSoOnce)
{
    const quorvel::test::TempDir empty;
    const std::string noModules = "QUORVEL_MODULE_DIR=" + empty.path().string();

    // No bus module: sampled and reported as on a system without NetworkManager.
    std::ofstream(home.path() / "counters") << "wwan0 1000 2000\nwwan1 10 20\n";
    ASSERT_EQ(ctl({"status", "--json"}, {noModules}), 0) << err;
    EXPECT_EQ(occurrences(err, "quorvel-bus.so is not installed in "), 1u) << err;
    EXPECT_NE(out.find("\"plan\""), std::string::npos) << out;

    // No number module in a German locale (sizes are written with a point in every locale): the
    // same figures, and one line about it.
    const std::string german = "LANG=de_DE.UTF-8";
    ASSERT_EQ(ctl({"status"}, {noModules, german}), 0) << err;
    EXPECT_EQ(occurrences(err, "Numbers are shown without the locale's style"), 1u) << err;
    const std::string plain = out;
    // The demo history follows today's date, so its figures do; the plan's and a point do not.
    EXPECT_NE(plain.find(" 2 GB\n"), std::string::npos) << plain;
    const auto decimalPoint = [](const std::string& text) {
        for (std::size_t i = 1; i + 1 < text.size(); ++i) {
            if (text[i] == '.' && std::isdigit(static_cast<unsigned char>(text[i - 1])) &&
                std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(decimalPoint(plain)) << plain;
    ASSERT_EQ(ctl({"status"}, {german}), 0) << err;
    EXPECT_EQ(plain, out);

    // No chart module: no chart, and the reason, not a crash.
    EXPECT_EQ(ctl({"chart", "--output", (home.path() / "c.png").string()}, {noModules}), 1);
    EXPECT_NE(err.find("quorvelctl: cannot draw charts: quorvel-chart.so is not installed in "), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(home.path() / "c.png"));

    // An entry is still read, in the plain style.
    ASSERT_EQ(ctl({"set", "plan", "2500.5"}, {noModules, german}), 0) << err;
    EXPECT_NE(out.find("2.5 GB"), std::string::npos) << out;
}

TEST_F(LoadOnDemand, AnInstalledProgramNeverLoadsTheModulesOfItsBuild)
{
    // A copy outside the build tree stands for an installed quorvelctl without its modules: it
    // must not load the ones of the build it was made in.
    const quorvel::test::TempDir bin;
    const fs::path installed = bin.path() / "quorvelctl";
    fs::copy_file(QUORVEL_CTL, installed);
    std::ofstream(home.path() / "counters") << "wwan0 1000 2000\nwwan1 10 20\n";
    std::vector<std::string> env = ctlEnvironment(home.path());
    env.push_back("LD_DEBUG=files");
    ASSERT_EQ(runProcess({installed.string(), "status", "--json"}, env, out, err), 0) << err;
    EXPECT_EQ(occurrences(err, "quorvel-bus.so is not installed in "), 1u) << err;
    EXPECT_EQ(err.find("libgio"), std::string::npos) << err;
}

TEST_F(LoadOnDemand, AnInstalledCopyFindsItsModulesInTheLibraryFolder)
{
    // The install layout in a temporary prefix: the program in bin/, its modules where the
    // install rules put them, named relative to bin/.
    const quorvel::test::TempDir prefix;
    const fs::path bin = prefix.path() / "bin";
    const fs::path modules = (bin / QUORVEL_MODULE_DIR_FROM_BIN).lexically_normal();
    fs::create_directories(bin);
    fs::create_directories(modules);
    fs::copy_file(QUORVEL_CTL, bin / "quorvelctl");
    for (const char* module : {"quorvel-bus.so", "quorvel-numbers.so"}) {
        fs::copy_file(fs::path(QUORVEL_BUILD_MODULE_DIR) / module, modules / module);
    }
    EXPECT_FALSE(fs::exists(bin / "quorvel-bus.so"));

    std::ofstream(home.path() / "counters") << "wwan0 1000 2000\nwwan1 10 20\n";
    std::vector<std::string> env = ctlEnvironment(home.path());
    env.insert(env.end(), {"LD_DEBUG=files", "LANG=de_DE.UTF-8"});
    ASSERT_EQ(runProcess({(bin / "quorvelctl").string(), "status"}, env, out, err), 0) << err;
    EXPECT_EQ(err.find("is not installed"), std::string::npos) << err;
    for (const char* module : {"quorvel-bus.so", "quorvel-numbers.so"}) {
        EXPECT_NE(err.find("calling init: " + (modules / module).string()), std::string::npos) << module << "\n" << err;
        EXPECT_EQ(err.find(std::string(QUORVEL_BUILD_MODULE_DIR) + "/" + module), std::string::npos)
            << "loaded the build's " << module;
    }
}

}  // namespace
