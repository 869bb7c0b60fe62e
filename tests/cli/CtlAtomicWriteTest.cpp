// SPDX-License-Identifier: GPL-3.0-or-later
// Writers killed at any moment: the files they leave behind always load, and no byte is lost or
// booked twice once a run completes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"
#include "engine/CTrafficManager.hpp"
#include "platform/ArchiveDecoder.hpp"

#include "CtlProcess.hpp"


namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::test::TempDir;

class KilledWriters : public ::testing::Test {
protected:
    const fs::path& home() const { return dir_.path(); }
    fs::path stateFile() const { return home() / "data/quorvel/statestg"; }
    fs::path defaultsFile() const { return home() / "config/quorvel/defaults.json"; }

    int ctl(const std::vector<std::string>& args, std::string* out = nullptr) const
    {
        std::string o;
        std::string e;
        const int code = quorvel::clitest::runCtl(home(), args, o, e);
        EXPECT_EQ(e, "") << ::testing::PrintToString(args);
        if (out != nullptr) {
            *out = o;
        }
        return code;
    }

    void setCounters(std::uint64_t total) const
    {
        const fs::path tmp = home() / "counters.tmp";
        std::ofstream(tmp) << "wwan0 " << total / 2 << " " << total - total / 2 << "\n";
        fs::rename(tmp, home() / "counters");
    }

    std::uint64_t bookedBytes() const
    {
        std::string out;
        EXPECT_EQ(ctl({"export", "--json"}, &out), 0);
        const nlohmann::json doc = nlohmann::json::parse(out);
        std::uint64_t sum = 0;
        for (const auto& month : doc.at("months")) {
            for (const auto& day : month.at("days")) {
                sum += day.at("bytes").get<std::uint64_t>();
            }
        }
        return sum;
    }

    // What a killed writer may leave: the files as they were or as it wrote them, never a
    // partial one, and nothing the next run would have to move aside.
    void expectIntactFiles(int round) const
    {
        SCOPED_TRACE("after kill " + std::to_string(round));
        quorvel::test::TestEnv env;
        const std::string state = readFile(stateFile());
        try {
            EXPECT_NE(quorvel::CTrafficManager::decode(env.env, state), nullptr);
        } catch (const quorvel::ArchiveError& e) {
            ADD_FAILURE() << "the state file does not load (" << e.what() << "): " << state.size() << " bytes";
        }
        struct stat st{};
        ASSERT_EQ(::stat(stateFile().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        EXPECT_TRUE(nlohmann::json::parse(readFile(defaultsFile()), nullptr, false).is_object())
            << "the defaults file is not a JSON object";
        ASSERT_EQ(::stat(defaultsFile().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        for (const fs::path& dir : {stateFile().parent_path(), defaultsFile().parent_path()}) {
            for (const auto& e : fs::directory_iterator(dir)) {
                EXPECT_EQ(e.path().filename().string().find(".unreadable-"), std::string::npos) << e.path();
            }
        }
    }

    // How long one writer runs from start to exit: the kills are spread over that span.
    std::chrono::microseconds typicalRun()
    {
        std::vector<std::chrono::microseconds> runs;
        for (int i = 0; i < 5; ++i) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(ctl({"sample"}), 0);
            runs.push_back(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
        }
        std::sort(runs.begin(), runs.end());
        return runs[runs.size() / 2];
    }

private:
    TempDir dir_;
};

TEST_F(KilledWriters, LeaveFilesThatLoadAndLoseNoBooking)
{
    std::uint64_t counters = 1'000'000;
    setCounters(counters);
    ASSERT_EQ(ctl({"setup", "--plan", "50", "--start-day", "1", "--used", "7"}), 0);
    const std::uint64_t booked = bookedBytes();
    const std::uint64_t start = counters;
    const std::chrono::microseconds span = typicalRun() * 6 / 5;

    // Writers of both files: samples (the state; the alert history once the plan is passed) and
    // plan changes (the defaults and the state).
    const std::vector<std::vector<std::string>> writers = {
        {"sample"}, {"status", "--json"}, {"sample", "--at", "52.52,13.405"}, {"set", "plan", "60"}};
    std::mt19937 random(20240229);
    std::uniform_int_distribution<std::int64_t> delay(0, span.count());
    std::uniform_int_distribution<std::uint64_t> growth(0, 300'000);
    std::uniform_int_distribution<std::size_t> pick(0, writers.size() - 1);
    int killed = 0;
    constexpr int kRounds = 200;
    for (int round = 0; round < kRounds; ++round) {
        counters += growth(random);
        setCounters(counters);
        const pid_t pid = quorvel::clitest::startCtl(home(), writers[pick(random)], "/dev/null", "/dev/null");
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(pid, SIGKILL);
        if (quorvel::clitest::waitForProcess(pid) == 128 + SIGKILL) {
            ++killed;
        }
        expectIntactFiles(round);
        if (HasFatalFailure() || HasFailure()) {
            break;
        }
    }
    EXPECT_GT(killed, 0) << "no writer was ever interrupted";
    RecordProperty("killed", killed);
    int leftovers = 0;  // temporary files of writers killed before their rename
    for (const fs::path& dir : {stateFile().parent_path(), defaultsFile().parent_path()}) {
        for (const auto& e : fs::directory_iterator(dir)) {
            leftovers += e.path().filename().string().find(".tmp-") != std::string::npos ? 1 : 0;
        }
    }
    RecordProperty("leftover_temporary_files", leftovers);

    // A run that completes books what the killed ones did not, exactly once.
    ASSERT_EQ(ctl({"sample"}), 0);
    EXPECT_EQ(bookedBytes() - booked, counters - start);
}

}  // namespace
