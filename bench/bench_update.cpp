// One full central update at the largest state the model keeps (three calendar months of 31 day
// records, 12 places, the 12 default limits, the state file on tmpfs), taken the way every
// sample takes it: under the one-writer lock, reading the kernel's interface list, saving the
// state. Against the floor of any such update: one getifaddrs/freeifaddrs, and the same number
// of bytes written to a temporary file, flushed and renamed over the old one.
//
//   bench_update [benchmark options]       both benchmarks, then their ratio (goal: at most 2)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/CAppController.hpp"
#include "engine/CTrafficManager.hpp"
#include "platform/BackgroundTasks.hpp"
#include "platform/Calendar.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/InterfaceCounters.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/MainQueue.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/StoredFile.hpp"
#include "platform/Uptime.hpp"
#include "platform/UserDefaults.hpp"

namespace {

using namespace quorvel;

class SetClock final : public Clock {
public:
    Date now() const override { return now_; }
    Date now_{};
};

class SetCounters final : public CounterSource {
public:
    std::optional<std::vector<InterfaceCounters>> read() override
    {
        return std::vector<InterfaceCounters>{{"wwan0", static_cast<std::uint32_t>(total / 3),
                                               static_cast<std::uint32_t>(total - total / 3)}};
    }
    std::uint64_t total = 1'000;
};

class SetUptime final : public UptimeSource {
public:
    double uptime() const override { return value; }
    double value = 100.0;
};

class QuietNotifier final : public LocalNotifier {
public:
    void presentLocalNotificationNow(const LocalNotification&) override {}
};

// Services with nothing on disk but the state file, which lives in a directory on tmpfs.
struct BenchEnv {
    explicit BenchEnv(const std::filesystem::path& state) : stateFile(state) {}
    SetClock clock;
    SetCounters counters;
    SetUptime uptime;
    NotificationCenter center;
    UserDefaults defaults{std::nullopt};
    QuietNotifier notifier;
    StoredFile stateFile;
    Env env{clock, counters, uptime, center, defaults, notifier, stateFile};
};

Date at(int year, int month, int day, int hour)
{
    return *Calendar::date(DateComponents{year, month, day, hour, 17, 0});
}

// The largest state the model keeps, made the way the program makes it: three samples a day at
// twelve places far apart, through July, August and October 2026 (no traffic in September, so
// that all three stored months have 31 day records).
std::string largestState(const std::filesystem::path& dir)
{
    BenchEnv b(dir / "generator-statestg");
    CTrafficManager m(b.env, true);
    m.setnewPlanVal(8'000'000'000);
    const Location places[12] = {{52.520, 13.405}, {48.137, 11.575}, {53.551, 9.993},  {50.938, 6.960},
                                 {50.110, 8.682},  {48.775, 9.182},  {51.227, 6.773},  {51.340, 12.375},
                                 {51.050, 13.738}, {52.375, 9.732},  {49.452, 11.077}, {47.998, 7.842}};
    std::uint64_t seed = 88172645463325252ull;  // xorshift: the same state on every run
    const auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    int sample = 0;
    for (const int month : {7, 8, 10}) {
        for (int day = 1; day <= 31; ++day) {
            for (const int hour : {8, 13, 21}) {
                b.clock.now_ = at(2026, month, day, hour);
                b.uptime.value += 5.0 * 3600;
                Location here = places[sample++ % 12];
                here.horizontalAccuracy = 65.0;
                here.timestamp = b.clock.now_;
                m.setPLastLocation(here);
                b.counters.total += 20'000'000 + next() % 90'000'000;
                m.updateTrafficInformation(false);
            }
        }
    }
    const auto& months = m.pTraffics->arrMonths;
    if (months.size() != 3 || m.pTraffics->arrDeltas.size() != 12 || m.pLimits.size() != 12 ||
        std::any_of(months.begin(), months.end(), [](const auto& mt) { return mt->arrDaysTraffics.size() != 31; })) {
        std::fprintf(stderr, "the generated state is not the largest one\n");
        std::exit(1);
    }
    return m.encode();
}

// A new directory on tmpfs (or /tmp when there is none) holding the largest state and a
// defaults file.
std::filesystem::path preparedDirectory()
{
    char pattern[] = "/dev/shm/quorvel-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::snprintf(pattern, sizeof pattern, "%s", "/tmp/quorvel-bench-XXXXXX");
        ::mkdtemp(pattern);
    }
    const std::filesystem::path dir = pattern;
    StoredFile(dir / "statestg").write(largestState(dir));
    std::ofstream(dir / "defaults.json") << R"({"pkeyStartedBefore": false})";
    return dir;
}

// A controller over the largest state that samples the kernel's counters. Its clock stands on
// the evening of the last generated day, so every update finds the same state.
struct Fixture {
    Fixture() : dir(preparedDirectory())
    {
        clock.now_ = at(2026, 10, 31, 22);
        app = std::make_unique<CAppController>(
            env, CAppController::Platform{queue, tasks, nullptr, nullptr, dir / "statestg.lock", dir / "bglog"},
            nullptr);
        app->initPrefs();
        app->CreateTraffManager();
    }
    ~Fixture()
    {
        app.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir;
    SetClock clock;
    IfaddrsCounterSource counters;
    BootClockUptime uptime;
    NotificationCenter center;
    UserDefaults defaults{dir / "defaults.json"};
    QuietNotifier notifier;
    StoredFile stateFile{dir / "statestg"};
    Env env{clock, counters, uptime, center, defaults, notifier, stateFile};
    ManualQueue queue;
    NoBackgroundTasks tasks;
    std::unique_ptr<CAppController> app;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

std::uintmax_t stateSize()
{
    return std::filesystem::file_size(fixture().dir / "statestg");
}

void BM_CentralUpdate(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        auto summary = f.app->doGetTrafficInfoTask(true);
        benchmark::DoNotOptimize(summary);
    }
    state.counters["state_bytes"] = static_cast<double>(stateSize());
}
BENCHMARK(BM_CentralUpdate);

void BM_Floor(benchmark::State& state)
{
    const std::filesystem::path target = fixture().dir / "floor";
    const std::string bytes(stateSize(), 'q');
    const std::string pattern = (fixture().dir / "floor.tmp-XXXXXX").string();
    for (auto _ : state) {
        ifaddrs* list = nullptr;
        if (::getifaddrs(&list) == 0) {
            benchmark::DoNotOptimize(list);
            ::freeifaddrs(list);
        }
        std::string tmp = pattern;
        const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(tmp.c_str(), target.c_str()) != 0) {
            state.SkipWithError("the floor's write failed");
            break;
        }
    }
    state.counters["state_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_Floor);

// Shows the runs as usual and keeps each benchmark's time per iteration for the ratio.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && !r.error_occurred && r.iterations > 0) {
                seconds[r.run_name.function_name].push_back(r.real_accumulated_time /
                                                            static_cast<double>(r.iterations));
            }
        }
    }
    double median(const std::string& name)
    {
        std::vector<double>& v = seconds[name];
        if (v.empty()) {
            return 0.0;
        }
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
    std::map<std::string, std::vector<double>> seconds;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double update = reporter.median("BM_CentralUpdate");
    const double floor = reporter.median("BM_Floor");
    std::printf("\nstate file: %ju bytes in %s\n", stateSize(), fixture().dir.c_str());
    if (update > 0 && floor > 0) {
        std::printf("update / floor: %.2f (%.1f us / %.1f us; goal: at most 2)\n", update / floor, update * 1e6,
                    floor * 1e6);
    }
    benchmark::Shutdown();
    return 0;
}
