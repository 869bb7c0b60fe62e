// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>

#include "cli/CtlArguments.hpp"
#include "platform/FollowedLocationSource.hpp"
#include "platform/Paths.hpp"

namespace quorvel {

class CAppController;
class CtlNotifier;
class LinkMonitor;
class FollowedLocationSource;
class SignalReader;
class FollowedRoamingSource;
class ManualQueue;
class TailCounterSource;
struct LinkEvent;

// `quorvelctl watch`: the resident background counter of one user. It sleeps in poll() on the
// kernel's link notifications, a 15-minute timer and the termination signals, and wakes for
// nothing else. A link that is removed or stops carrying traffic is sampled at once, with the
// final counters its removal announced, so that its last growth is booked; the timer samples
// the rest; SIGTERM, SIGINT and SIGHUP take one last sample and end it with 0. It follows the
// modem's registration too: a change is sampled at once, so that what was used before it is
// booked as roaming or not under the state it had. And it follows GeoClue's significant
// location changes while places are recorded: each new location becomes the last one and a
// sample books the interval that just ended there (the first fix only sets the location).
// Before the set-up it waits, sampling nothing, and starts counting once the set-up is done.
// `watch --autostart on|off` only adds or removes the login entry that starts it.
class CtlWatch {
public:
    // What a sample needs from the command line: its controller, the queue the update runs on,
    // the tail the counters pass through, the alerts the model posted, and the modems followed
    // and the places (null when the system bus is out of reach).
    struct Sampling {
        CAppController& app;
        ManualQueue& queue;
        TailCounterSource& tail;
        const CtlNotifier& notifier;
        FollowedRoamingSource* modems = nullptr;
        FollowedLocationSource* places = nullptr;
    };
    using Start = std::function<Sampling()>;
    static constexpr unsigned kPeriodSeconds = 15 * 60;

    CtlWatch(const Paths& paths, std::ostream& out, std::ostream& err) : paths_(paths), out_(out), err_(err) {}

    int run(const CtlArguments& a, const Start& start);

private:
    int autostart(const std::string& value);
    // Ends the user's running watcher (after its last sample) and waits until it is gone.
    int stop();
    // The termination signals arrive through `signals` as readable data.
    int watch(Sampling s, const SignalReader& signals);
    void onLinks(LinkMonitor& monitor, Sampling& s);
    // Whether an event asks for a sample now, remembering which links carry traffic.
    bool endsTraffic(const LinkEvent& e);
    void sample(Sampling& s);
    // The next edge of the plan's free hours is sampled at, so that their split is exact.
    void armFreeEdge(Sampling& s, int fd);
    // Books what the update just queued and sends the alerts it raised.
    void finishSample(Sampling& s);
    bool setUp(Sampling& s);
    void followPlaces(Sampling& s);
    bool placesWanted(Sampling& s);
    void onFix(Sampling& s, const FollowedLocationSource::Fix& fix);

    Paths paths_;
    std::ostream& out_;
    std::ostream& err_;
    std::map<int, bool> carrying_;  // by interface index
    std::size_t alertsSent_ = 0;
    bool saidNotSetUp_ = false;
    bool sampled_ = true;  // since the code pages were last handed back; the start-up counts
    // placesWanted()'s answer, and the count of the defaults' changes it was worked out at.
    std::optional<bool> placesWanted_;
    std::uint64_t placesKnownAt_ = 0;
};

}  // namespace quorvel
