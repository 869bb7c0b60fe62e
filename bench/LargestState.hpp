// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The largest state the model keeps, and the services it is made with, shared by the benchmarks
// that measure updating and decoding it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/CTrafficManager.hpp"
#include "platform/BootIdentity.hpp"
#include "platform/Calendar.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/InterfaceCounters.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/NetworkDevices.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/StoredFile.hpp"
#include "platform/Uptime.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel::bench {

class SetClock final : public Clock {
public:
    Date now() const override { return now_; }
    Date now_{};
};

class SetCounters final : public CounterSource {
public:
    std::optional<std::vector<InterfaceCounters>> read() override
    {
        return std::vector<InterfaceCounters>{{"wwan0", 1, 0, total / 3, total - total / 3}};
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
    BootIdentity boot;
    NoNetworkDeviceDirectory networkDevices;
    Env env{clock, counters, uptime, center, defaults, notifier, stateFile, boot, networkDevices};
};

inline Date at(int year, int month, int day, int hour)
{
    return *Calendar::date(DateComponents{year, month, day, hour, 17, 0});
}

// The largest state the model keeps, made the way the program makes it: three samples a day at
// twelve places far apart, through July, August and October 2026 (no traffic in September, so
// that all three stored months have 31 day records).
inline std::string largestState(const std::filesystem::path& dir)
{
    BenchEnv b(dir / "generator-statestg");
    CTrafficManager m(b.env, true);
    m.setNewPlanValue(8'000'000'000);
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
    const auto& months = m.history().months();
    if (months.size() != 3 || m.history().deltas().size() != 12 || m.limits().size() != 12 ||
        std::any_of(months.begin(), months.end(), [](const auto& mt) { return mt->arrDaysTraffics().size() != 31; })) {
        std::fprintf(stderr, "the generated state is not the largest one\n");
        std::exit(1);
    }
    return m.encode();
}

}  // namespace quorvel::bench
