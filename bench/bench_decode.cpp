// Loading the largest state the model keeps (three calendar months of 31 day records, 12 places,
// the 12 default limits) against the floor of merely parsing its JSON.
//
//   bench_decode [benchmark options]       both benchmarks, then their ratio (goal: at most 2)
//   bench_decode --write-state=FILE        writes that state file and its size, and stops
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/CTrafficManager.hpp"
#include "platform/Calendar.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/InterfaceCounters.hpp"
#include "platform/LocalNotifier.hpp"
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

struct Fixture {
    Fixture()
    {
        char pattern[] = "/dev/shm/quorvel-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            std::snprintf(pattern, sizeof pattern, "%s", "/tmp/quorvel-bench-XXXXXX");
            ::mkdtemp(pattern);
        }
        dir = pattern;
        bytes = largestState(dir);
    }
    ~Fixture()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir;
    std::string bytes;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_DecodeState(benchmark::State& state)
{
    const std::string& bytes = fixture().bytes;
    BenchEnv b(fixture().dir / "statestg");
    for (auto _ : state) {
        auto m = CTrafficManager::decode(b.env, bytes);
        benchmark::DoNotOptimize(m);
    }
    state.counters["state_bytes"] = static_cast<double>(bytes.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeState);

void BM_ParseJson(benchmark::State& state)
{
    const std::string& bytes = fixture().bytes;
    for (auto _ : state) {
        auto doc = nlohmann::json::parse(bytes);
        benchmark::DoNotOptimize(doc);
    }
    state.counters["state_bytes"] = static_cast<double>(bytes.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseJson);

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
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("--write-state=")) {
            const std::string& bytes = fixture().bytes;
            std::ofstream(arg.substr(14), std::ios::binary | std::ios::trunc) << bytes;
            std::printf("%zu bytes\n", bytes.size());
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double decode = reporter.median("BM_DecodeState");
    const double parse = reporter.median("BM_ParseJson");
    std::printf("\nlargest state file: %zu bytes (goal: at most 49152)\n", fixture().bytes.size());
    if (decode > 0 && parse > 0) {
        std::printf("decode / parse: %.2f (%.1f us / %.1f us; goal: at most 2)\n", decode / parse, decode * 1e6,
                    parse * 1e6);
    }
    benchmark::Shutdown();
    return 0;
}
