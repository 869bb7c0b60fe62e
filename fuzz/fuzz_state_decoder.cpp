// The state file decoder on arbitrary bytes. Rejecting them with ArchiveError is fine; anything
// else that escapes, and any memory or undefined-behaviour fault, is a finding. What the decoder
// accepts must also save and load again unchanged and survive what an update does with it, since
// the program goes on to do exactly that.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "TestEnv.hpp"
#include "engine/CTrafficManager.hpp"
#include "model/TCResult.hpp"
#include "model/LimitResult.hpp"
#include "platform/ArchiveDecoder.hpp"

namespace {

using namespace quorvel;

// The model's services with nothing on disk: the defaults stay in memory and the state file is
// never written. Made anew for every input, so that no input sees another's alert history.
struct FuzzEnv {
    FuzzEnv()
    {
        clock.set(test::localDate(2026, 3, 10, 12));
        counters.set("pdp_ip0", 5'000'000, 1'000'000);
    }

    test::FakeClock clock;
    test::FakeCounters counters;
    test::FakeUptime uptime;
    NotificationCenter center;
    UserDefaults defaults{std::nullopt};
    test::RecordingNotifier notifier;
    StoredFile stateFile{"/nonexistent/quorvel-fuzz/statestg"};
    test::FakeBootId boot;
    test::FakeNetworkDevices networkDevices;
    Env env{clock, counters, uptime, center, defaults, notifier, stateFile, boot, networkDevices};
};

[[noreturn]] void finding(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ::setenv("TZ", "Europe/Berlin", 1);  // a zone with daylight-saving changes
    Calendar::timeZoneChanged();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzEnv f;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<CTrafficManager> manager;
    try {
        manager = CTrafficManager::decode(f.env, bytes);
    } catch (const ArchiveError&) {
        return 0;
    }
    if (!manager) {
        finding("decoded to nothing without an error", "");
    }

    const std::string saved = manager->encode();
    try {
        const std::string again = CTrafficManager::decode(f.env, saved)->encode();
        if (again != saved) {
            finding("saving what was loaded is not stable", saved + "\n---\n" + again);
        }
    } catch (const ArchiveError& e) {
        finding("a saved state does not load", std::string(e.what()) + "\n" + saved);
    }

    // The update without its save: sample, check the limits, the figures, the billing months, alert.
    TCResult result;
    const std::optional<LimitResult> found = manager->checkTraffic(false, &result);
    manager->summaryFigures();
    manager->billingMonthsOf(manager->pTraffics->arrMonths);
    if (found) {
        manager->msgDispatcher->trySendNotification(&*found);
    }
    return 0;
}
