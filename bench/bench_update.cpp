// SPDX-License-Identifier: GPL-3.0-or-later
// One full central update at the largest state the model keeps (three calendar months of 31 day
// records, 12 places, the 12 default limits, the state file on tmpfs), taken the way every
// sample takes it: under the one-writer lock, reading the kernel's interface list, saving the
// state; and an ordinary background sample (`quorvelctl sample`: no interface came or went) with
// 20 interfaces present. Against the floor of any such update: one rtnetlink link dump, and the
// same number of bytes written to a temporary file, flushed and renamed over the old one.
//
// Run as root, it counts in a network namespace of its own holding 20 interfaces (the loopback,
// a bridge and nine veth pairs, four of whose ends are cellular); otherwise on the machine's own.
//
//   bench_update [benchmark options]       the benchmarks, then their ratios (goal: at most 2)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sched.h>
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
#include "platform/NetlinkCounterSource.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/MainQueue.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/StoredFile.hpp"
#include "platform/Uptime.hpp"
#include "platform/UserDefaults.hpp"

#include "LargestState.hpp"
#include "MedianReporter.hpp"

namespace {

using namespace quorvel;
using namespace quorvel::bench;

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
    NetlinkCounterSource counters;
    BootClockUptime uptime;
    NotificationCenter center;
    UserDefaults defaults{dir / "defaults.json"};
    QuietNotifier notifier;
    StoredFile stateFile{dir / "statestg"};
    BootIdentity boot;
    NoNetworkDeviceDirectory networkDevices;
    Env env{clock, counters, uptime, center, defaults, notifier, stateFile, boot, networkDevices};
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

void BM_OrdinarySample(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        auto summary = f.app->doGetTrafficInfoTask(false);
        benchmark::DoNotOptimize(summary);
    }
    state.counters["interfaces"] = static_cast<double>(f.counters.read().value_or(std::vector<InterfaceCounters>{}).size());
}
BENCHMARK(BM_OrdinarySample);

void BM_Floor(benchmark::State& state)
{
    const std::filesystem::path target = fixture().dir / "floor";
    const std::string bytes(stateSize(), 'q');
    const std::string pattern = (fixture().dir / "floor.tmp-XXXXXX").string();
    NetlinkCounterSource links;
    for (auto _ : state) {
        auto dump = links.read();
        benchmark::DoNotOptimize(dump);
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


}  // namespace

// A network namespace of this process's own with 20 interfaces; false leaves the machine's.
bool twentyInterfaces()
{
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNET) != 0) {
        return false;
    }
    // Nine veth pairs (wwan0 to wwan3 among them) and a bridge: kernels without dummies have these.
    std::string script = "ip link set lo up && ip link add br0 type bridge";
    for (int i = 0; i < 9; ++i) {
        const std::string name = i < 4 ? "wwan" + std::to_string(i) : "veth" + std::to_string(i);
        script += " && ip link add " + name + " type veth peer name peer" + std::to_string(i);
    }
    return std::system(script.c_str()) == 0;
}

int main(int argc, char** argv)
{
    const bool ownLinks = twentyInterfaces();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    quorvel::bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double floor = reporter.median("BM_Floor");
    std::printf("\nstate file: %ju bytes in %s; %s\n", stateSize(), fixture().dir.c_str(),
                ownLinks ? "20 interfaces in a namespace of its own" : "the machine's own interfaces");
    for (const char* subject : {"BM_CentralUpdate", "BM_OrdinarySample"}) {
        const double t = reporter.median(subject);
        if (t > 0 && floor > 0) {
            std::printf("%s / floor: %.2f (%.1f us / %.1f us; goal: at most 2)\n", subject, t / floor, t * 1e6,
                        floor * 1e6);
        }
    }
    benchmark::Shutdown();
    return 0;
}
