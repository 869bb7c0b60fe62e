// SPDX-License-Identifier: GPL-3.0-or-later
// `status --oneline` and `status --waybar`: the formats on given figures, the real binary on a
// pinned date, and `--watch` following samples taken by another process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Summaries.hpp"
#include "TestEnv.hpp"
#include "cli/CtlStatusLine.hpp"
#include "model/FTrafficDataInformation.hpp"

#include "CtlProcess.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::CtlStatusLine;
using quorvel::FTrafficDataInformation;
using quorvel::test::TempDir;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr std::uint64_t kGB = 1'000'000'000;
constexpr std::uint64_t kMB = 1'000'000;

FTrafficDataInformation figures(std::uint64_t plan, std::uint64_t used, std::uint64_t daysLeft)
{
    const auto left = static_cast<std::int32_t>(daysLeft);
    return *quorvel::test::summaryWith(
        {.plan = plan, .used = used, .left = used < plan ? plan - used : 0, .daysUsed = 30 - left, .daysLeft = left});
}

TEST(CtlStatusLine, OneLineSaysUsedPlanShareWhatIsLeftOrOverAndTheDaysLeft)
{
    struct Case {
        std::uint64_t plan;
        std::uint64_t used;
        std::uint64_t daysLeft;
        std::string line;
    };
    const std::vector<Case> cases = {
        {2 * kGB, 1750 * kMB, 6, "1.75 GB of 2 GB (87%) \u00B7 250 MB left \u00B7 6 days left"},
        {2 * kGB, 0, 30, "0 MB of 2 GB (0%) \u00B7 2 GB left \u00B7 30 days left"},
        {2 * kGB, 2 * kGB, 1, "2 GB of 2 GB (100%) \u00B7 0 MB left \u00B7 1 day left"},
        {2 * kGB, 2500 * kMB, 0, "2.5 GB of 2 GB (125%) \u00B7 500 MB over \u00B7 0 days left"},
        {500 * kMB, 123'456'789, 12, "123.5 MB of 500 MB (24%) \u00B7 376.5 MB left \u00B7 12 days left"},
        {kMB, 20 * kMB, 3, "20 MB of 1 MB (2000%) \u00B7 19 MB over \u00B7 3 days left"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CtlStatusLine::oneLine(figures(c.plan, c.used, c.daysLeft), {}), c.line);
    }
}

TEST(CtlStatusLine, WaybarClassTurnsWarningAt90AndCriticalAt100PercentOfThePlan)
{
    struct Case {
        std::uint64_t used;
        const char* level;
        int percentage;
    };
    const std::vector<Case> cases = {
        {0, "normal", 0},
        {1799 * kMB, "normal", 89},
        {1800 * kMB, "warning", 90},
        {1999'999'999, "warning", 99},
        {2 * kGB, "critical", 100},
        {5 * kGB, "critical", 250},
    };
    for (const Case& c : cases) {
        const std::string line = CtlStatusLine::waybar(figures(2 * kGB, c.used, 10), {});
        EXPECT_EQ(line.find('\n'), std::string::npos) << "one object per line";
        const nlohmann::json j = nlohmann::json::parse(line);
        EXPECT_EQ(j.at("class"), c.level) << c.used;
        EXPECT_EQ(j.at("percentage"), c.percentage) << c.used;
    }
    const std::string line = CtlStatusLine::waybar(figures(2 * kGB, 1750 * kMB, 6), {});
    EXPECT_EQ(line, "{\"text\":\"1.75 GB of 2 GB\",\"tooltip\":\"Data plan: 2 GB\\nData used: 1.75 GB (87%)\\n"
                    "Data left: 250 MB\\nUsed today: 0 MB\\nAverage per day: 0 MB\\nLeft per day: 0 MB\\n"
                    "Days passed: 24 days\\nDays left: 6 days\\nEstimated usage: 0 MB\",\"class\":\"normal\","
                    "\"percentage\":87}");
}

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

// quorvelctl on `home` at a pinned local time.
Outcome ctlAt(const fs::path& home, const std::string& when, const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {"faketime", when, QUORVEL_CTL};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = quorvel::clitest::ctlEnvironment(home);
    env.push_back("ASAN_OPTIONS=verify_asan_link_order=0");  // faketime is preloaded before a sanitizer's runtime
    Outcome r;
    r.code = quorvel::clitest::runProcess(argv, env, r.out, r.err);
    return r;
}

void setCounters(const fs::path& home, std::uint64_t rx, std::uint64_t tx)
{
    std::ofstream(home / "counters.tmp") << "lo 1 1\nwwan0 " << rx << " " << tx << "\n";
    fs::rename(home / "counters.tmp", home / "counters");
}

TEST(CtlStatusLine, TheProgramPrintsBothFormatsForThePinnedBillingMonth)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "faketime preloads itself ahead of the sanitizer runtime; the plain build runs this";
#endif
    TempDir home;
    setCounters(home.path(), 1000, 1000);
    const std::string when = "2026-11-24 12:00:00";  // billing months from the 1st: 7 days to go
    ASSERT_EQ(ctlAt(home.path(), when, {"setup", "--plan", "2000", "--start-day", "1", "--used", "1750"}).code, 0);

    const Outcome one = ctlAt(home.path(), when, {"status", "--oneline"});
    EXPECT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.err, "");
    EXPECT_EQ(one.out, "1.75 GB of 2 GB (87%) \u00B7 250 MB left \u00B7 7 days left\n");

    const Outcome bar = ctlAt(home.path(), when, {"status", "--waybar"});
    EXPECT_EQ(bar.code, 0) << bar.err;
    ASSERT_TRUE(bar.out.ends_with("}\n"));
    const nlohmann::json j = nlohmann::json::parse(bar.out);
    EXPECT_EQ(j.at("text"), "1.75 GB of 2 GB");
    EXPECT_EQ(j.at("class"), "normal");
    EXPECT_EQ(j.at("percentage"), 87);
    EXPECT_THAT(j.at("tooltip").get<std::string>(), StartsWith("Billing month: 1 November - 30 November 2026\nData plan: 2 GB\n"));
    EXPECT_THAT(j.at("tooltip").get<std::string>(), HasSubstr("\nDays left: 7 days\n"));

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"status", "--watch"}, {"status", "--json", "--oneline"}, {"status", "--oneline", "--waybar"}, {"sample", "--oneline"}}) {
        const Outcome r = ctlAt(home.path(), when, args);
        EXPECT_EQ(r.code, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.out, "");
    }
}

TEST(CtlStatusLine, AnAlertRaisedByTheSampleGoesToStandardErrorAndTheLineStaysAlone)
{
    TempDir home;
    setCounters(home.path(), 1000, 1000);
    std::string out;
    std::string err;
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"setup", "--plan", "1", "--start-day", "1"}, out, err), 0);
    setCounters(home.path(), 2'001'000, 1000);  // twice the plan
    ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"status", "--oneline"}, out, err), 0) << err;
    EXPECT_THAT(out, StartsWith("2 MB of 1 MB (200%) \u00B7 1 MB over \u00B7 "));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_THAT(err, HasSubstr("exceeded"));
}

// A program whose standard output the test reads line by line.
class Reader {
public:
    Reader(const std::vector<std::string>& args, const fs::path& home)
        : pid_(quorvel::clitest::startCtlPiped(home, args, fd_))
    {
    }
    ~Reader()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            quorvel::clitest::waitForProcess(pid_);
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool started() const { return pid_ > 0; }

    // The next line, without its end; empty when the output ended. Gives up only after a minute
    // without output, so that a broken watch fails instead of hanging.
    std::string line()
    {
        for (;;) {
            if (auto nl = buffer_.find('\n'); nl != std::string::npos) {
                std::string l = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return l;
            }
            pollfd p{fd_, POLLIN, 0};
            char buf[4096];
            const ssize_t n = ::poll(&p, 1, 60'000) == 1 ? ::read(fd_, buf, sizeof buf) : 0;
            if (n <= 0) {
                return {};
            }
            buffer_.append(buf, static_cast<std::size_t>(n));
        }
    }
    std::string rest()
    {
        std::string all = buffer_;
        for (std::string l = line(); !l.empty(); l = line()) {
            all += l + "\n";
        }
        return all;
    }
    int stop(int signal)
    {
        ::kill(pid_, signal);
        const int code = quorvel::clitest::waitForProcess(pid_);
        pid_ = -1;
        return code;
    }

private:
    int fd_ = -1;  // before pid_: starting the program sets it
    pid_t pid_ = -1;
    std::string buffer_;
};

TEST(CtlStatusWatch, ANewLineFollowsEachSampleOfAnotherProcessAndSigtermOrSigintEndsIt)
{
    for (const char* format : {"--oneline", "--waybar"}) {
        SCOPED_TRACE(format);
        TempDir home;
        setCounters(home.path(), 1000, 1000);
        std::string out;
        std::string err;
        ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"setup", "--plan", "2000", "--start-day", "1", "--used", "1750"},
                                           out, err),
                  0);
        Reader watch({"status", format, "--watch"}, home.path());
        ASSERT_TRUE(watch.started());
        const std::string first = watch.line();

        setCounters(home.path(), 1000 + 50'000'000, 1000);  // to 90 % of the plan
        ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"sample"}, out, err), 0) << err;
        const std::string second = watch.line();
        // A save that changes no figure prints nothing: the next line is the next sample's.
        ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"set", "plan", "2000"}, out, err), 0) << err;
        setCounters(home.path(), 1000 + 250'000'000, 1000);  // to the plan itself
        ASSERT_EQ(quorvel::clitest::runCtl(home.path(), {"sample"}, out, err), 0) << err;
        const std::string third = watch.line();

        if (std::string(format) == "--oneline") {
            EXPECT_THAT(first, StartsWith("1.75 GB of 2 GB (87%) \u00B7 250 MB left"));
            EXPECT_THAT(second, StartsWith("1.8 GB of 2 GB (90%) \u00B7 200 MB left"));
            EXPECT_THAT(third, StartsWith("2 GB of 2 GB (100%) \u00B7 0 MB left"));
        } else {
            EXPECT_EQ(nlohmann::json::parse(first, nullptr, false).value("class", ""), "normal") << first;
            EXPECT_EQ(nlohmann::json::parse(second, nullptr, false).value("class", ""), "warning") << second;
            EXPECT_EQ(nlohmann::json::parse(third, nullptr, false).value("class", ""), "critical") << third;
        }
        EXPECT_EQ(watch.stop(std::string(format) == "--oneline" ? SIGTERM : SIGINT), 0);
        EXPECT_EQ(watch.rest(), "");
    }
}

}  // namespace
