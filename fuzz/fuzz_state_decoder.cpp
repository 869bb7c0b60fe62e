// SPDX-License-Identifier: GPL-3.0-or-later
// The state file decoder on arbitrary bytes. Rejecting them with ArchiveError is fine; anything
// else that escapes, and any memory or undefined-behaviour fault, is a finding. What the decoder
// accepts must also save and load again to the very same model (every day record, month, place
// and baseline, compared field by field) and survive what an update does with it, since the
// program goes on to do exactly that.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "TestEnv.hpp"
#include "engine/CTrafficManager.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/LimitResult.hpp"
#include "model/MonthTraffic.hpp"
#include "model/TCResult.hpp"
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

nlohmann::json optionalJson(const auto& value)
{
    return value ? nlohmann::json(*value) : nlohmann::json();
}

nlohmann::json dateJson(const std::optional<Date>& d)
{
    return d ? nlohmann::json(d->seconds) : nlohmann::json();
}

// Everything a loaded model holds that a save must keep, read through the accessors: what one
// load gives must equal what its save loads to. A field added to a record goes in here.
nlohmann::json modelOf(const CTrafficManager& m)
{
    nlohmann::json months = nlohmann::json::array();
    for (const auto& month : m.history().months()) {
        nlohmann::json days = nlohmann::json::array();
        for (const CTrafficPoint& p : month->arrDaysTraffics()) {
            days.push_back({p.pDate().seconds, optionalJson(p.pTraff()), optionalJson(p.pTraffWf()),
                            optionalJson(p.pTraffRoaming()), optionalJson(p.pTraffEntered())});
        }
        nlohmann::json corrections = nlohmann::json::array();
        for (const TrafficCorrection& c : month->arrCorrections()) {
            corrections.push_back({c.date().seconds, c.bytes()});
        }
        months.push_back({dateJson(month->date()), dateJson(month->last_date()), optionalJson(month->pMonthPlan()), days,
                          corrections});
    }
    nlohmann::json places = nlohmann::json::array();
    for (const auto& d : m.history().deltas()) {
        const auto& c = d->pDateComp;
        const auto& l = d->pLocation;
        places.push_back({c ? nlohmann::json{c->year, c->month, c->day, c->hour, c->minute, c->second} : nullptr,
                          l ? nlohmann::json{l->latitude, l->longitude, l->horizontalAccuracy, l->timestamp.seconds}
                            : nullptr,
                          optionalJson(d->pDelta)});
    }
    const CTrafficObtainer& s = m.history().sampler();
    nlohmann::json baselines = nullptr;
    if (s.baselines()) {
        baselines = nlohmann::json::array();
        for (const InterfaceBaseline& b : *s.baselines()) {
            baselines.push_back({b.name, b.index, b.received, b.sent, b.measured});
        }
    }
    return {{"months", months},
            {"places", places},
            {"baselines", baselines},
            {"sampler", {dateJson(s.prevShotDate()), optionalJson(s.prevTrafficSize()), optionalJson(s.sysWorkTime()),
                         optionalJson(s.bootId()), s.choices().byName, s.choices().countMetered, s.heldTraffic(),
                         s.heldRoaming()}},
            {"plan", {optionalJson(m.pMonthPlan()), optionalJson(m.pPlanStartDay()), m.cutoffAtPlan(),
                      optionalJson(m.cutoffPeriod())}}};
}

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
        const std::unique_ptr<CTrafficManager> reloaded = CTrafficManager::decode(f.env, saved);
        const nlohmann::json first = modelOf(*manager);
        const nlohmann::json second = modelOf(*reloaded);
        if (first != second) {
            finding("a save loses or changes what was loaded", first.dump() + "\n---\n" + second.dump());
        }
        const std::string again = reloaded->encode();
        if (again != saved) {
            finding("saving what was loaded is not stable", saved + "\n---\n" + again);
        }
    } catch (const ArchiveError& e) {
        finding("a saved state does not load", std::string(e.what()) + "\n" + saved);
    }

    // The update without its save: sample, check the limits, the figures, the billing months, alert.
    TCResult result;
    const std::optional<LimitResult> found = manager->checkTraffic(false, &result);
    const std::shared_ptr<FTrafficDataInformation> summary = manager->summaryFigures();
    manager->billingMonths();
    summary->setResults(result, found);
    manager->tryShowOverUsageNotifications(summary.get());
    return 0;
}
