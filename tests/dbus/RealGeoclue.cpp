// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealGeoclue.hpp"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>

namespace quorvel::test {

namespace {

// Degrees as NMEA writes them: whole degrees, then minutes.
std::string degreesMinutes(double value, int degreeDigits)
{
    const double a = std::fabs(value);
    const int degrees = static_cast<int>(a);
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%07.4f", degreeDigits, degrees, (a - degrees) * 60.0);
    return text;
}

}  // namespace

RealGeoclue::RealGeoclue(const std::filesystem::path& directory, double latitude, double longitude)
    : directory_(directory), latitude_(latitude), longitude_(longitude)
{
    writeConfiguration();
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (directory_ / "nmea").string();
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 4) != 0) {
        ADD_FAILURE() << "cannot listen on " << path << ": " << std::strerror(errno);
    }
    feeder_ = std::thread([this] { feed(); });
}

RealGeoclue::~RealGeoclue()
{
    stop();
    stopping_ = true;
    feeder_.join();
    for (int c : connections_) {
        ::close(c);
    }
    ::close(listener_);
}

void RealGeoclue::writeConfiguration() const
{
    // The NMEA source alone; the network one is pointed at a closed local port, so that nothing
    // leaves the machine.
    std::ofstream(directory_ / "geoclue.conf") << "[agent]\nwhitelist=geoclue-demo-agent\n"
                                               << "[network-nmea]\nenable=true\nnmea-socket="
                                               << (directory_ / "nmea").string() << "\n"
                                               << "[3g]\nenable=false\n[cdma]\nenable=false\n"
                                               << "[modem-gps]\nenable=false\n[compass]\nenable=false\n"
                                               << "[wifi]\nenable=false\nurl=http://127.0.0.1:9/\n"
                                               << "[org.quorvel.Quorvel]\nallowed=" << (allowed_ ? "true" : "false")
                                               << "\nsystem=true\nusers=\n";
}

void RealGeoclue::allow(bool allowed)
{
    allowed_ = allowed;
    writeConfiguration();
}

void RealGeoclue::freeze()
{
    g_subprocess_send_signal(daemon_.get(), SIGSTOP);
}

void RealGeoclue::thaw()
{
    g_subprocess_send_signal(daemon_.get(), SIGCONT);
}

void RealGeoclue::start()
{
    const std::string mount = "mount --bind " + (directory_ / "geoclue.conf").string() +
                              " /etc/geoclue/geoclue.conf && exec /usr/libexec/geoclue -t 0";
    const auto quiet = static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_SILENCE);
    daemon_.reset(spawn({"unshare", "-m", "sh", "-c", mount}, quiet));
    ASSERT_TRUE(daemon_);
    ASSERT_TRUE(PrivateSystemBus::instance().waitForOwner(kBusName, true, daemon_.get()))
        << "GeoClue exited before taking its name";
    agent_.reset(spawn({"/usr/libexec/geoclue-2.0/demos/agent"}, quiet));
}

void RealGeoclue::stop()
{
    if (!daemon_) {
        return;
    }
    quorvel::test::stop(agent_.get());
    thaw();  // a stopped daemon would hold its SIGTERM
    quorvel::test::stop(daemon_.get());
    agent_.reset();
    daemon_.reset();
    PrivateSystemBus::instance().waitForOwner(kBusName, false);
}

void RealGeoclue::moveTo(double latitude, double longitude)
{
    const std::lock_guard lock(mutex_);
    latitude_ = latitude;
    longitude_ = longitude;
    offsetSeconds_ += 61;
}

bool RealGeoclue::waitUntilSourceStopped()
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::minutes(1), [this] { return connections_.empty(); });
}

void RealGeoclue::waitForSeconds(int count)
{
    std::unique_lock lock(mutex_);
    const long until = seconds_ + count;
    changed_.wait(lock, [&] { return seconds_ >= until; });
}

std::string RealGeoclue::sentence()
{
    const std::time_t at = std::time(nullptr) + offsetSeconds_;
    std::tm utc{};
    ::gmtime_r(&at, &utc);
    char time[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d.00", utc.tm_hour, utc.tm_min, utc.tm_sec);
    const std::string body = std::string("GPGGA,") + time + "," + degreesMinutes(latitude_, 2) + "," +
                             (latitude_ >= 0 ? "N" : "S") + "," + degreesMinutes(longitude_, 3) + "," +
                             (longitude_ >= 0 ? "E" : "W") + ",1,08,0.9,100.0,M,46.9,M,,";
    unsigned checksum = 0;
    for (char c : body) {
        checksum ^= static_cast<unsigned char>(c);
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", checksum);
    return "$" + body + tail;
}

// Once a second, as a receiver reports: takes new connections, drops closed ones, sends the fix.
void RealGeoclue::feed()
{
    while (!stopping_) {
        pollfd wait{listener_, POLLIN, 0};
        ::poll(&wait, 1, 1000);
        const std::lock_guard lock(mutex_);
        for (int c = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC); c >= 0;
             c = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) {
            connections_.push_back(c);
        }
        const std::string line = sentence();
        std::erase_if(connections_, [&](int c) {
            pollfd peer{c, POLLIN, 0};
            char ignored[64];
            const bool closed = (::poll(&peer, 1, 0) > 0 && ::recv(c, ignored, sizeof ignored, MSG_DONTWAIT) <= 0) ||
                                ::send(c, line.data(), line.size(), MSG_NOSIGNAL) < 0;
            if (closed) {
                ::close(c);
            }
            return closed;
        });
        ++seconds_;
        changed_.notify_all();
    }
}

}  // namespace quorvel::test
