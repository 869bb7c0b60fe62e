// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "LargestState.hpp"
#include "MedianReporter.hpp"

namespace {

using namespace quorvel;
using namespace quorvel::bench;

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
    quorvel::bench::MedianReporter reporter;
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
