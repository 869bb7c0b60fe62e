// SPDX-License-Identifier: GPL-3.0-or-later
// Two background samples that start together: one of them books the counters' growth, the other
// takes the state the first saved and finds nothing new.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"

#include "CtlProcess.hpp"


namespace {

namespace fs = std::filesystem;
using quorvel::clitest::readFile;
using quorvel::test::TempDir;

class RacingSamples : public ::testing::Test {
protected:
    const fs::path& home() const { return dir_.path(); }

    void setCounters(std::uint64_t rx, std::uint64_t tx) const
    {
        const fs::path tmp = home() / "counters.tmp";
        std::ofstream(tmp) << "wwan0 " << rx << " " << tx << "\nrmnet_data0 0 0\n";
        fs::rename(tmp, home() / "counters");
    }

    std::uint64_t bookedBytes() const
    {
        std::string out;
        std::string err;
        EXPECT_EQ(quorvel::clitest::runCtl(home(), {"export", "--json"}, out, err), 0) << err;
        const nlohmann::json doc = nlohmann::json::parse(out);
        std::uint64_t sum = 0;
        for (const auto& month : doc.at("months")) {
            for (const auto& day : month.at("days")) {
                sum += day.at("bytes").get<std::uint64_t>();
            }
        }
        return sum;
    }

private:
    TempDir dir_;
};

TEST_F(RacingSamples, BookTheGrowthExactlyOnce)
{
    std::uint64_t rx = 2'000'000;
    std::uint64_t tx = 300'000;
    setCounters(rx, tx);
    std::string out;
    std::string err;
    ASSERT_EQ(quorvel::clitest::runCtl(home(), {"setup", "--plan", "100000", "--start-day", "1"}, out, err), 0)
        << err;
    ASSERT_EQ(bookedBytes(), 0u);

    std::mt19937 random(77);
    std::uniform_int_distribution<std::uint64_t> growth(1, 250'000);
    std::uint64_t total = 0;
    constexpr int kRounds = 50;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::uint64_t down = growth(random);
        const std::uint64_t up = growth(random) / 4;
        rx += down;
        tx += up;
        total += down + up;
        setCounters(rx, tx);

        const fs::path outs[2] = {home() / "out0", home() / "out1"};
        const fs::path errs[2] = {home() / "err0", home() / "err1"};
        pid_t pids[2];
        for (int i = 0; i < 2; ++i) {
            pids[i] = quorvel::clitest::startCtl(home(), {"sample", "--json"}, outs[i], errs[i]);
            ASSERT_GT(pids[i], 0);
        }
        int booked = 0;
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(quorvel::clitest::waitForProcess(pids[i]), 0);
            EXPECT_EQ(readFile(errs[i]), "");
            const nlohmann::json doc = nlohmann::json::parse(readFile(outs[i]), nullptr, false);
            ASSERT_TRUE(doc.is_object()) << readFile(outs[i]);
            booked += doc.at("booked").get<bool>() ? 1 : 0;
        }
        EXPECT_EQ(booked, 1) << "both or neither of two samples of one growth booked it";
        if (HasFailure()) {
            break;
        }
    }
    EXPECT_EQ(bookedBytes(), total);
}

}  // namespace
