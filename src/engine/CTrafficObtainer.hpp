#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/NetworkManagerCache.hpp"
#include "model/CTrafficPoint.hpp"
#include "model/InterfaceBaseline.hpp"
#include "model/InterfaceSelection.hpp"
#include "platform/Date.hpp"
#include "platform/InterfaceCounters.hpp"

namespace quorvel {

struct Env;
class ArchiveEncoder;
class ArchiveDecoder;

// The counter sampler: the only place where traffic is measured. It keeps every interface's
// counters as the last sample saw them (with the boot they belong to) and books the growth of
// the counted interfaces since then into today's day record (a new record on a new day). An
// interface that is new, or whose counter started again, books its whole counter; one that
// went away books nothing more; nothing is ever booked twice.
class CTrafficObtainer {
public:
    static constexpr std::string_view kClassName = "CTrafficObtainer";
    // The summed total that says no sample was taken yet.
    static constexpr std::int64_t kNoBaseline = -1;

    // What one sample did with the latest record it was given.
    struct Increment {
        enum class Kind {
            Nothing,     // no record was given and nothing was booked
            SameRecord,  // the given record, possibly with more bytes
            NewRecord,   // a new day: `point` is the new record
        };
        Kind kind = Kind::Nothing;
        CTrafficPoint point;
        std::uint64_t booked = 0;  // the bytes this sample added, to `point` or to the given record
    };

    // One interface as the command line and the settings list it.
    struct InterfaceState {
        CountingDecision decision;
        std::uint64_t rxBytes = 0;
        std::uint64_t txBytes = 0;
    };

    CTrafficObtainer(const Env& env, std::optional<Date> date, std::int64_t startSize, double sWTime);  // initWithDate:startSize:sWTime:

    std::optional<Date> prevShotDate;
    // Received plus sent bytes of the counted interfaces at the last sample. Files written
    // before per-interface baselines hold only this (a sum of 32-bit counters).
    std::optional<std::int64_t> prevTrafficSize;
    std::optional<double> sysWorkTime;  // uptime at the last sample, seconds
    std::optional<std::string> bootId;  // the boot the baselines belong to
    // Every interface seen at the last sample; absent until the first sample of this kind.
    std::optional<std::vector<InterfaceBaseline>> baselines;
    CountingChoices choices;
    NetworkManagerCache networkManager;
    // Growth counted while the clock could not date it (and its roaming share): booked at the
    // first sample whose clock can, to that sample's day.
    std::uint64_t heldTraffic = 0;
    std::uint64_t heldRoaming = 0;

    // Received plus sent bytes of every counted interface; 0 when the list cannot be read.
    std::int64_t obtainAllTraffic();
    // One sample, booked into `latest` (this month's latest day record, or null); with an
    // implausible clock its growth is held instead and nothing is booked.
    Increment getTrafficIncrementPoint(CTrafficPoint* latest, bool plausibleClock = true);
    // Takes every interface's counters and the boot as the baseline, so that what the counters
    // hold now is never booked.
    void resetObtainerCounter();
    // Takes one interface's counter now as its baseline; false when no such interface is there.
    bool resetInterfaceCounter(const std::string& name);
    // After the choices changed: every interface counted now that has no measured baseline takes
    // its counter now as one, so that it is counted from this moment, none of its past.
    void baselineNewlyCounted();
    void dataUsageChanged();

    // Every interface now with whether it is counted and why; empty when the list cannot be read.
    std::vector<InterfaceState> interfaceReport();
    // The names of the interfaces counted now (those mobile data is cut off on).
    std::vector<std::string> countedInterfaces();

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<CTrafficObtainer> initWithCoder(ArchiveDecoder& coder);

private:
    std::vector<CountingDecision> countingDecisions(const std::vector<InterfaceCounters>& links);
    bool isSameBoot(double uptime, const std::optional<std::string>& boot) const;
    std::uint64_t grownSinceLastSample(const std::vector<InterfaceCounters>& links,
                                       const std::vector<CountingDecision>& decisions, double uptime,
                                       const std::optional<std::string>& boot) const;
    void takeBaselines(const std::vector<InterfaceCounters>& links, const std::vector<CountingDecision>& decisions,
                       double uptime, std::optional<std::string> boot);

    const Env* env_;
};

}  // namespace quorvel
