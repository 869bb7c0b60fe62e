// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Debian's GeoClue daemon on the private system bus, with its NMEA source alone, fed from a Unix
// socket of the test once a second (as a GPS receiver would) with a position the test moves; and
// GeoClue's demo agent. Waits are for events (the bus name, the source's connection), never for
// a length of time.
#include <gio/gio.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "MockBus.hpp"

namespace quorvel::test {

class RealGeoclue {
public:
    static constexpr const char* kBusName = "org.freedesktop.GeoClue2";

    // Feeds `latitude`,`longitude` from now on; the daemon is not started yet.
    RealGeoclue(const std::filesystem::path& directory, double latitude, double longitude);
    ~RealGeoclue();
    RealGeoclue(const RealGeoclue&) = delete;
    RealGeoclue& operator=(const RealGeoclue&) = delete;

    // The daemon in a mount namespace of its own (the test's configuration over the system's),
    // then the agent; returns once the daemon owns its name.
    void start();
    void stop();
    // Whether the configuration lets this application have locations; for the next start.
    void allow(bool allowed);
    // Stops the daemon without ending it, so that it owns its name and answers nothing; and back.
    void freeze();
    void thaw();
    // Each move is stamped a minute after the previous one, so that GeoClue's time threshold
    // passes without the test waiting for it.
    void moveTo(double latitude, double longitude);
    // Blocks until GeoClue has closed its connections to the NMEA socket, which it does once no
    // client follows the location any more; false if it does not within a minute.
    bool waitUntilSourceStopped();
    // Blocks for `count` more of the receiver's seconds, whether GeoClue listens or not.
    void waitForSeconds(int count);

private:
    void feed();
    std::string sentence();
    void writeConfiguration() const;

    std::filesystem::path directory_;
    std::mutex mutex_;
    std::condition_variable changed_;
    double latitude_;
    double longitude_;
    int offsetSeconds_ = -3600;  // never in the future, which GeoClue reads as yesterday
    bool allowed_ = true;
    long seconds_ = 0;  // of the receiver, since it began
    std::vector<int> connections_;
    int listener_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread feeder_;
    GObjectPtr<GSubprocess> daemon_;
    GObjectPtr<GSubprocess> agent_;
};

}  // namespace quorvel::test
