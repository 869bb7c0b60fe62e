// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Platform services for tests: a settable clock and counters, a temporary directory for the
// files, and every notification and alert recorded.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/BootIdentity.hpp"
#include "platform/Calendar.hpp"
#include "platform/Clock.hpp"
#include "platform/Env.hpp"
#include "platform/InterfaceCounters.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/NetworkDevices.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/Paths.hpp"
#include "platform/StoredFile.hpp"
#include "platform/Uptime.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel::test {

class FakeClock final : public Clock {
public:
    Date now() const override { return now_; }
    void set(Date d) { now_ = d; }
    void advance(std::int64_t seconds) { now_ = now_.plusSeconds(seconds); }

private:
    Date now_{};
};

class FakeCounters final : public CounterSource {
public:
    std::optional<std::vector<InterfaceCounters>> read() override
    {
        ++reads;
        if (failing) {
            return std::nullopt;
        }
        return interfaces;
    }
    // Sets (or adds, with a new index) one interface's counters.
    void set(const std::string& name, std::uint64_t rx, std::uint64_t tx)
    {
        for (auto& i : interfaces) {
            if (i.name == name) {
                i.rxBytes = rx;
                i.txBytes = tx;
                return;
            }
        }
        interfaces.push_back({name, nextIndex++, 0, rx, tx});
    }
    void remove(const std::string& name) { std::erase_if(interfaces, [&](const auto& i) { return i.name == name; }); }
    // The interface removed and made again under the same name: a new index, counters from zero.
    void recreate(const std::string& name)
    {
        remove(name);
        set(name, 0, 0);
    }

    std::vector<InterfaceCounters> interfaces;
    bool failing = false;
    int reads = 0;
    int nextIndex = 2;  // 1 is the loopback's
};

class FakeBootId final : public BootIdSource {
public:
    std::optional<std::string> bootId() const override { return value; }
    std::optional<std::string> value = "boot-1";
};

// NetworkManager's answer as a test sets it, with the number of times it was asked.
class FakeNetworkDevices final : public NetworkDeviceDirectory {
public:
    std::optional<NetworkDeviceTable> devices() override
    {
        ++calls;
        return table;
    }
    std::optional<NetworkDeviceTable> table;
    int calls = 0;
};

class FakeUptime final : public UptimeSource {
public:
    double uptime() const override { return value; }
    double value = 1000.0;
};

class RecordingNotifier final : public LocalNotifier {
public:
    void presentLocalNotificationNow(const LocalNotification& n) override { posted.push_back(n); }
    std::vector<LocalNotification> posted;
};

// A local date and time in the process's time zone.
inline Date localDate(int year, int month, int day, int hour = 12, int minute = 0, int second = 0)
{
    return *Calendar::date(DateComponents{year, month, day, hour, minute, second});
}

// A fresh directory under the system's temporary directory, removed at the end.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Everything a model object needs, on files in a temporary directory.
struct TestEnv {
    TempDir dir;
    Paths paths = Paths::inDirectory(dir.path());
    FakeClock clock;
    FakeCounters counters;
    FakeUptime uptime;
    NotificationCenter center;
    std::unique_ptr<UserDefaults> defaults = std::make_unique<UserDefaults>(paths.defaultsFile);
    RecordingNotifier notifier;
    std::unique_ptr<StoredFile> stateFile = std::make_unique<StoredFile>(paths.stateFile);
    FakeBootId boot;
    FakeNetworkDevices networkDevices;
    Env env{clock, counters, uptime, center, *defaults, notifier, *stateFile, boot, networkDevices};

    TestEnv() { clock.set(localDate(2026, 3, 10)); }
};

// Counts the notifications of one name.
class NotificationCounter {
public:
    NotificationCounter(NotificationCenter& center, std::string name)
        : reg_(center.addObserver(std::move(name), [this](const Notification&) { ++count; }))
    {
    }
    int count = 0;

private:
    NotificationCenter::Registration reg_;
};

// Sets TZ for the life of the object.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz)
    {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        ::setenv("TZ", tz, 1);
        Calendar::timeZoneChanged();
    }
    ~ScopedTimeZone()
    {
        if (old_.empty()) {
            ::unsetenv("TZ");
        } else {
            ::setenv("TZ", old_.c_str(), 1);
        }
        Calendar::timeZoneChanged();
    }

private:
    std::string old_;
};

}  // namespace quorvel::test
