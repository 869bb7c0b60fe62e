// SPDX-License-Identifier: GPL-3.0-or-later
// The command line on a realistic history: correcting the used data keeps every measured day and
// the figures, charts and export agree on the corrected figure; a set-up run again changes only
// what it is given; what is accepted as bytes loads again.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "CtlProcess.hpp"
#include "TestEnv.hpp"

namespace {

using quorvel::clitest::runCtl;
using quorvel::test::TempDir;

struct CtlHistory : ::testing::Test {
    TempDir home;
    std::string out;
    std::string err;

    void SetUp() override
    {
        ASSERT_EQ(quorvel::clitest::runProcess({QUORVEL_DEMO_STATE}, quorvel::clitest::ctlEnvironment(home.path()), out,
                                               err),
                  0)
            << err;
    }
    nlohmann::json json(const std::vector<std::string>& args)
    {
        EXPECT_EQ(runCtl(home.path(), args, out, err), 0) << err;
        return nlohmann::json::parse(out);
    }
    // Every day record of the export, without the corrections.
    static nlohmann::json days(const nlohmann::json& exported)
    {
        nlohmann::json all = nlohmann::json::array();
        for (const auto& month : exported.at("months")) {
            for (const auto& day : month.at("days")) {
                all.push_back(day);
            }
        }
        return all;
    }
    static std::int64_t corrected(const nlohmann::json& exported)
    {
        std::int64_t sum = 0;
        for (const auto& month : exported.at("months")) {
            for (const auto& c : month.at("corrections")) {
                sum += c.at("bytes").get<std::int64_t>();
            }
        }
        return sum;
    }
};

TEST_F(CtlHistory, SetUsedKeepsEveryMeasuredDayAndTheFiguresAgreeOnTheCorrection)
{
    const nlohmann::json before = json({"export", "--json"});
    const std::uint64_t measured = json({"status", "--json"}).at("used").get<std::uint64_t>();
    ASSERT_EQ(runCtl(home.path(), {"set", "used", "1000"}, out, err), 0) << err;
    const nlohmann::json after = json({"export", "--json"});
    EXPECT_EQ(days(after), days(before)) << "every measured day, day by day";
    EXPECT_EQ(corrected(after), 1'000'000'000 - static_cast<std::int64_t>(measured));

    const nlohmann::json status = json({"status", "--json"});
    EXPECT_EQ(status.at("used"), 1'000'000'000u);
    const auto& period = status.at("billing_months").back();
    EXPECT_EQ(period.at("used"), 1'000'000'000u) << "the chart's period says the same";
    EXPECT_EQ(period.at("corrections").size(), 1u);
    const std::uint64_t daysUsed = status.at("days_used").get<std::uint64_t>();
    EXPECT_EQ(status.at("avg_per_day"), 1'000'000'000u / (daysUsed + 1));

    // CSV: the correction as a row of its own kind, the days as they were.
    ASSERT_EQ(runCtl(home.path(), {"export", "--csv"}, out, err), 0);
    EXPECT_NE(out.find(",correction,0\n"), std::string::npos) << out;
    EXPECT_EQ(out.rfind("date,cellular_bytes,kind,free_bytes\n", 0), 0u);

    // What the carrier counted, entered again, removes the correction.
    ASSERT_EQ(runCtl(home.path(), {"set", "used", std::to_string(measured / 1'000'000) + "." +
                                                      std::to_string(1'000'000 + measured % 1'000'000).substr(1)},
                     out, err),
              0)
        << err;
    EXPECT_EQ(corrected(json({"export", "--json"})), 0);
    EXPECT_EQ(json({"status", "--json"}).at("used"), measured);
}

TEST_F(CtlHistory, SetupRunAgainWithoutUsedKeepsTheMeasuredMonth)
{
    const std::uint64_t used = json({"status", "--json"}).at("used").get<std::uint64_t>();
    ASSERT_GT(used, 0u);
    ASSERT_EQ(runCtl(home.path(), {"setup", "--plan", "3000", "--start-day", "15"}, out, err), 0) << err;
    const nlohmann::json status = json({"status", "--json"});
    EXPECT_EQ(status.at("used"), used);
    EXPECT_EQ(status.at("plan"), 3'000'000'000u);
}

TEST_F(CtlHistory, WhatIsAcceptedAsBytesLoadsAgain)
{
    EXPECT_EQ(runCtl(home.path(), {"set", "used", "9007199255"}, out, err), 1) << "above 2^53 bytes";
    EXPECT_NE(err.find("too large"), std::string::npos) << err;
    ASSERT_EQ(runCtl(home.path(), {"set", "used", "9007199254"}, out, err), 0) << err;
    ASSERT_EQ(runCtl(home.path(), {"status", "--json"}, out, err), 0) << err;
    EXPECT_EQ(nlohmann::json::parse(out).at("used"), 9'007'199'254'000'000u);
    EXPECT_EQ(err.find("unreadable"), std::string::npos) << "nothing moved aside: " << err;
}

}  // namespace
