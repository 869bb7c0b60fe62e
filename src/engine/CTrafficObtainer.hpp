// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/InterfaceState.hpp"
#include "engine/NetworkManagerCache.hpp"
#include "engine/TrafficIncrement.hpp"
#include "model/CTrafficPoint.hpp"
#include "model/CounterGrowth.hpp"
#include "model/DataPlan.hpp"
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

    CTrafficObtainer(const Env& env, std::optional<Date> date, std::int64_t startSize, double sWTime);  // initWithDate:startSize:sWTime:

    std::optional<Date> prevShotDate() const { return prevShotDate_; }
    // Received plus sent bytes of the counted interfaces at the last sample. Files written
    // before per-interface baselines hold only this (a sum of 32-bit counters).
    std::optional<std::int64_t> prevTrafficSize() const { return prevTrafficSize_; }
    // Sets the summed total alone: kNoBaseline makes the next sample take the counters as the
    // baseline and book nothing; a count stands for the counters of an older file.
    void setPrevTrafficSize(std::int64_t total) { prevTrafficSize_ = total; }
    // Uptime in seconds at the last sample that booked bytes, began a boot's baselines or had no
    // boot identity to go by (only then does the same-boot test read it).
    std::optional<double> sysWorkTime() const { return sysWorkTime_; }
    const std::optional<std::string>& bootId() const { return bootId_; }  // the boot the baselines belong to
    // Every interface seen at the last sample; absent until the first sample of this kind.
    const std::optional<std::vector<InterfaceBaseline>>& baselines() const { return baselines_; }
    const CountingChoices& choices() const { return choices_; }
    void setCountMetered(bool on) { choices_.countMetered = on; }
    // The user's choice for one interface; nothing: the automatic decision again.
    void setInterfaceChoice(const std::string& name, std::optional<bool> count);
    const NetworkManagerCache& networkManager() const { return networkManager_; }
    // Growth counted while the clock could not date it (and its roaming share): booked at the
    // first sample whose clock can, to that sample's day.
    std::uint64_t heldTraffic() const { return heldTraffic_; }
    std::uint64_t heldRoaming() const { return heldRoaming_; }

    // Received plus sent bytes of every counted interface; 0 when the list cannot be read.
    std::int64_t obtainAllTraffic();
    // One sample, booked into `latest` (this month's latest day record, or null); with an
    // implausible clock its growth is held instead and nothing is booked.
    TrafficIncrement getTrafficIncrementPoint(CTrafficPoint* latest, bool plausibleClock = true);
    // Takes every interface's counters and the boot as the baseline, so that what the counters
    // hold now is never booked.
    void resetObtainerCounter();
    // Takes one interface's counter now as its baseline; false when no such interface is there.
    bool resetInterfaceCounter(const std::string& name);
    // After the choices changed: every interface counted now that has no measured baseline takes
    // its counter now as one, so that it is counted from this moment, none of its past.
    void baselineNewlyCounted();
    void dataUsageChanged();

    // The counted links' names when the last sample found another set of links than the one
    // before (once: taking it clears it); nullopt otherwise.
    std::optional<std::vector<std::string>> takeNewLinkSet() { return std::exchange(newLinkSet_, std::nullopt); }
    // Every interface now with whether it is counted and why; empty when the list cannot be read.
    std::vector<InterfaceState> interfaceReport();
    // The names of the interfaces counted now (those mobile data is cut off on).
    std::vector<std::string> countedInterfaces();

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<CTrafficObtainer> initWithCoder(ArchiveDecoder& coder);

    // The plan's free hours: what a sample books inside them is marked free.
    void setFreeHours(std::optional<DataPlan::FreeHours> hours) { freeHours_ = hours; }
    bool inFreeHours(Date now) const;
    // The next sample is taken at an edge of the free hours: its interval is free or not as the
    // time just before the edge was, not as the time it runs at.
    void nextSampleEndsAtFreeEdge() { atFreeEdge_ = true; }

private:
    std::vector<CountingDecision> countingDecisions(const std::vector<InterfaceCounters>& links);
    bool isSameBoot(double uptime, const std::optional<std::string>& boot) const;
    std::vector<CounterGrowth::LinkGrowth> grownSinceLastSample(const std::vector<InterfaceCounters>& links,
                                                                const std::vector<CountingDecision>& decisions,
                                                                double uptime,
                                                                const std::optional<std::string>& boot) const;
    void takeBaselines(const std::vector<InterfaceCounters>& links, const std::vector<CountingDecision>& decisions,
                       double uptime, std::optional<std::string> boot);

    std::optional<Date> prevShotDate_;
    std::optional<std::int64_t> prevTrafficSize_;
    std::optional<double> sysWorkTime_;
    std::optional<std::string> bootId_;
    std::optional<std::vector<InterfaceBaseline>> baselines_;
    CountingChoices choices_;
    NetworkManagerCache networkManager_;
    std::optional<DataPlan::FreeHours> freeHours_;
    bool atFreeEdge_ = false;
    static constexpr int kFreeEdgeLagSeconds = 30;  // more than an edge timer is ever late
    std::optional<std::vector<std::string>> newLinkSet_;
    std::uint64_t heldTraffic_ = 0;  // with heldRoaming_ <= heldTraffic_
    std::uint64_t heldRoaming_ = 0;
    const Env* env_;
};

}  // namespace quorvel
