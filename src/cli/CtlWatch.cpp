// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlWatch.hpp"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <vector>

#include "cli/CtlDesktopNotifier.hpp"
#include "cli/CtlNotifier.hpp"
#include "cli/CtlProblem.hpp"
#include "engine/CAppController.hpp"
#include "platform/AutostartEntry.hpp"
#include "platform/Clock.hpp"
#include "platform/CodePages.hpp"
#include "platform/Env.hpp"
#include "platform/Fd.hpp"
#include "platform/FollowedRoamingSource.hpp"
#include "platform/InstanceLock.hpp"
#include "platform/LinkMonitor.hpp"
#include "platform/MainQueue.hpp"
#include "platform/ProgramPath.hpp"
#include "engine/CTrafficManager.hpp"
#include "platform/Calendar.hpp"
#include "platform/SignalReader.hpp"
#include "platform/StackPages.hpp"
#include "platform/TailCounterSource.hpp"
#include "platform/Translation.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

namespace {

// The boot-time clock goes on while the device is suspended: a period that ended during a
// suspend fires once at resume.
int periodicTimer(unsigned seconds)
{
    const int fd = ::timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    itimerspec period{};
    period.it_interval.tv_sec = seconds;
    period.it_value.tv_sec = seconds;
    if (fd >= 0 && ::timerfd_settime(fd, 0, &period, nullptr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Arms a one-shot timer `seconds` from now; 0 disarms it.
void armOnce(int fd, int seconds)
{
    itimerspec once{};
    once.it_value.tv_sec = seconds;
    ::timerfd_settime(fd, 0, &once, nullptr);
}

// Reads what woke a descriptor so that it does not wake the loop again.
void consume(int fd, std::size_t size)
{
    std::array<char, sizeof(std::uint64_t)> buffer;
    while (::read(fd, buffer.data(), size) > 0) {
    }
}

}  // namespace

int CtlWatch::run(const CtlArguments& a, const Start& start)
{
    if (std::optional<std::string> value = a.value("--autostart")) {
        return autostart(*value);
    }
    if (a.has("--stop")) {
        return stop();
    }
    const InstanceLock lock(paths_.watchLock);
    if (lock.state() == InstanceLock::State::HeldElsewhere) {
        out_ << _("A Quorvel watcher is already running for this user.") << "\n";
        return 0;
    }
    if (lock.state() == InstanceLock::State::Unavailable) {
        CtlProblem::say(err_, lock.problem());
        return 4;
    }
    // Blocked before the bus module starts its threads, which inherit the mask: a stop signal
    // then waits for the loop's last sample instead of ending the process in one of them.
    const SignalReader signals({SIGTERM, SIGINT, SIGHUP}, SignalReader::Reads::NonBlocking);
    lock.recordHolder();
    return watch(start(), signals);
}

int CtlWatch::stop()
{
    const std::optional<pid_t> holder = InstanceLock::holder(paths_.watchLock);
    if (!holder) {
        out_ << _("No Quorvel watcher is running for this user.") << "\n";
        return 0;
    }
    if (::kill(*holder, SIGTERM) != 0) {
        const std::string why = std::strerror(errno);
        CtlProblem::say(
            err_, Translation::fill(_("cannot stop the watcher (process %s): %s"), {std::to_string(*holder), why}));
        return 1;
    }
    // It takes its last sample first; the lock goes with the process. The bound only keeps a
    // stuck watcher from holding the terminal for ever.
    for (int i = 0; i < 600 && InstanceLock::holder(paths_.watchLock); ++i) {
        ::usleep(50'000);
    }
    if (InstanceLock::holder(paths_.watchLock)) {
        CtlProblem::say(err_, Translation::fill(_("the watcher (process %s) did not end"), {std::to_string(*holder)}));
        return 1;
    }
    out_ << Translation::fill(_("Stopped the Quorvel watcher (process %s)."), {std::to_string(*holder)}) << "\n";
    return 0;
}

int CtlWatch::autostart(const std::string& value)
{
    const AutostartEntry entry(paths_.autostartEntry);
    if (value == "on") {
        if (!entry.install(ProgramPath::self())) {
            return 1;
        }
        out_ << Translation::fill(_("Counting in the background at login: on (%s)"), {paths_.autostartEntry.string()})
             << "\n";
        return 0;
    }
    if (value == "off") {
        if (!entry.remove()) {
            return 1;
        }
        out_ << _("Counting in the background at login: off") << "\n";
        return 0;
    }
    CtlProblem::say(err_, Translation::fill(_("invalid autostart switch '%s'"), {value}));
    return 1;
}

int CtlWatch::watch(Sampling s, const SignalReader& signals)
{
    LinkMonitor monitor;
    const Fd timer(periodicTimer(kPeriodSeconds));
    const Fd freeEdge(::timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC));
    if (!monitor.open() || signals.fd() < 0 || timer.get() < 0 || freeEdge.get() < 0) {
        const std::string why = std::strerror(errno);
        CtlProblem::say(err_, Translation::fill(_("cannot watch the network links: %s"), {why}));
        return 1;
    }
    monitor.requestAll();
    sample(s);  // what was used while no one counted
    out_ << Translation::fill(_("Watching the network links; a sample every %s minutes."),
                              {std::to_string(kPeriodSeconds / 60)})
         << std::endl;
    std::vector<pollfd> fds = {pollfd{monitor.fd(), POLLIN, 0}, pollfd{timer.get(), POLLIN, 0},
                               pollfd{signals.fd(), POLLIN, 0}, pollfd{freeEdge.get(), POLLIN, 0}};
    const auto addFollower = [&fds](std::vector<pollfd> bus) {
        fds.insert(fds.end(), bus.begin(), bus.end());
        return fds.size();
    };
    const std::size_t modemsEnd = s.modems != nullptr ? addFollower(s.modems->descriptors()) : fds.size();
    if (s.modems != nullptr) {
        s.modems->setBeforeChange([this, &s] { sample(s); });
        // The interval up to a SIM change is booked to the SIM that carried it; then ask anew.
        s.modems->setAfterSimsChange([&s] { s.app.withStateLock([](CTrafficManager& m) { m.knownSims().renewRoute(); }); });
    }
    const std::size_t placesEnd = s.places != nullptr ? addFollower(s.places->descriptors()) : fds.size();
    if (s.places != nullptr) {
        s.places->setDelegate({[this, &s](const FollowedLocationSource::Fix& fix) { onFix(s, fix); },
                               [this](const std::string& why) {
                                   CtlProblem::say(err_, Translation::fill(_("places are not recorded: %s"), {why}));
                               }});
    }
    const auto ready = [&fds](std::size_t begin, std::size_t end) {
        return std::any_of(fds.begin() + static_cast<std::ptrdiff_t>(begin),
                           fds.begin() + static_cast<std::ptrdiff_t>(end),
                           [](const pollfd& p) { return p.revents != 0; });
    };
    for (;;) {
        followPlaces(s);
        armFreeEdge(s, freeEdge.get());
        // What the start-up or a sample ran is not needed until the next sample, which maps
        // again from the page cache what it runs; nor is the stack it ran deep into. Wake-ups
        // that only pass on bus events run little and keep it. The stack goes first: finding it
        // reads constants, which the code pages' hand-back takes along.
        if (sampled_) {
            StackPages::releaseBelowCaller();
            CodePages::releaseOwn();
            sampled_ = false;
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            CtlProblem::say(err_, std::strerror(errno));
            return 1;
        }
        // Links first: a removal that came with the signal is still booked.
        if (fds[0].revents != 0) {
            onLinks(monitor, s);
        }
        if (s.modems != nullptr && ready(4, modemsEnd)) {
            s.modems->dispatch();
        }
        if (s.places != nullptr && ready(modemsEnd, placesEnd)) {
            s.places->dispatch();
        }
        if (fds[1].revents != 0) {
            consume(timer.get(), sizeof(std::uint64_t));
            sample(s);
        }
        if (fds[3].revents != 0) {
            consume(freeEdge.get(), sizeof(std::uint64_t));
            s.app.pmodule()->history().sampler().nextSampleEndsAtFreeEdge();
            sample(s);
        }
        if (fds[2].revents != 0) {
            signals.drain();
            sample(s);
            return 0;
        }
    }
}

void CtlWatch::onLinks(LinkMonitor& monitor, Sampling& s)
{
    bool overrun = false;
    bool now = false;
    for (const LinkEvent& e : monitor.drain(overrun)) {
        if (!endsTraffic(e)) {
            continue;
        }
        if (e.hasStats) {
            s.tail.add(e.counters);
        }
        now = true;
    }
    // Lost notifications may have been removals: what is still there is booked at once.
    if (now || overrun) {
        sample(s);
    }
}

bool CtlWatch::endsTraffic(const LinkEvent& e)
{
    const int index = e.counters.index;
    if (e.removed) {
        carrying_.erase(index);
        return true;
    }
    const auto known = carrying_.find(index);
    const bool stopped = known != carrying_.end() && known->second && !e.carrying;
    carrying_[index] = e.carrying;
    return stopped;
}

bool CtlWatch::setUp(Sampling& s)
{
    s.app.env().defaults.reloadIfChanged();  // the set-up may have been done by another process
    if (!s.app.isFirstStart()) {
        return true;
    }
    if (!saidNotSetUp_) {
        err_ << _("Quorvel is not set up yet: nothing is counted until `quorvelctl setup` has run.") << "\n";
        saidNotSetUp_ = true;
    }
    return false;
}

// Asked at every wake-up, so that a switch turned in the settings or by `limits --places` is
// followed from the next event on; before the set-up nothing is asked.
void CtlWatch::followPlaces(Sampling& s)
{
    if (s.places != nullptr) {
        s.places->setFollowing(placesWanted(s));
    }
}

// Worked out again only when a value may have changed: a wake-up that changed nothing reads no
// key, whose text lies among the constants handed back.
bool CtlWatch::placesWanted(Sampling& s)
{
    UserDefaults& defaults = s.app.env().defaults;
    defaults.reloadIfChanged();
    if (!placesWanted_ || placesKnownAt_ != defaults.changes()) {
        placesWanted_ = !s.app.isFirstStart() && s.app.recordPlaces();
        placesKnownAt_ = defaults.changes();
    }
    return *placesWanted_;
}

void CtlWatch::onFix(Sampling& s, const FollowedLocationSource::Fix& fix)
{
    sampled_ = true;  // the state is loaded and saved even for the first fix
    Location where = fix.location;
    where.timestamp = s.app.env().clock.now();
    if (!placesWanted(s)) {
        return;  // turned off while the fix was on its way
    }
    if (fix.first) {
        // Where the device is now; the traffic so far was used before it was known.
        s.app.withStateLock([&where](CTrafficManager& m) { m.setPLastLocation(where); });
        return;
    }
    s.app.didUpdateToLocation(where);  // the last location, then an update that books with it
    finishSample(s);
}

void CtlWatch::armFreeEdge(Sampling& s, int fd)
{
    const std::optional<DataPlan::FreeHours>& hours = s.app.pmodule()->dataPlan().freeHours();
    if (!hours || s.app.isFirstStart()) {
        armOnce(fd, 0);
        return;
    }
    // Re-armed at every wake-up: a clock or time-zone change moves the edge, and so does a
    // daylight-saving day, whose hours the count of seconds does not know.
    const DateComponents c = Calendar::components(s.app.env().clock.now());
    armOnce(fd, hours->secondsToNextEdge(c.hour, c.minute, c.second) + 1);
}

void CtlWatch::sample(Sampling& s)
{
    sampled_ = true;
    if (!setUp(s)) {
        s.tail.clear();  // traffic before the set-up is never booked
        return;
    }
    s.app.getTrafficInformation(false);
    finishSample(s);
}

void CtlWatch::finishSample(Sampling& s)
{
    s.queue.drain();
    s.tail.dropShown();
    const auto& alerts = s.notifier.posted();
    for (; alertsSent_ < alerts.size(); ++alertsSent_) {
        std::string why;
        if (!CtlDesktopNotifier::send(alerts[alertsSent_], why)) {
            CtlProblem::say(err_,
                            Translation::fill(_("the alert could not be sent as a desktop notification: %s"), {why}));
        }
    }
}

}  // namespace quorvel
