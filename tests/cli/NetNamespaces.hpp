// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Network namespaces joined by veth pairs, for tests on the kernel's own interface counters.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CtlProcess.hpp"
#include "platform/Fd.hpp"

namespace quorvel::clitest {

// Runs `ip` (or a program through `ip netns exec`); false with the reason when it fails.
inline ::testing::AssertionResult ip(const std::vector<std::string>& args, std::string* out = nullptr)
{
    std::vector<std::string> argv = {"ip"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string o;
    std::string e;
    const int code = quorvel::clitest::runProcess(argv, {}, o, e);
    if (out != nullptr) {
        *out = o;
    }
    if (code != 0) {
        return ::testing::AssertionFailure() << ::testing::PrintToString(argv) << " exited with " << code << ": " << e;
    }
    return ::testing::AssertionSuccess();
}

// Two namespaces joined by veth pairs, removed again however the test ends.
class Namespaces {
public:
    Namespaces()
        : a_("quorvel-a-" + std::to_string(::getpid())), b_("quorvel-b-" + std::to_string(::getpid()))
    {
    }
    ~Namespaces()
    {
        if (created_) {
            ip({"netns", "del", a_});
            ip({"netns", "del", b_});
        }
    }
    Namespaces(const Namespaces&) = delete;
    Namespaces& operator=(const Namespaces&) = delete;

    const std::string& a() const { return a_; }

    ::testing::AssertionResult create()
    {
        if (auto r = ip({"netns", "add", a_}); !r) {
            return r;
        }
        created_ = true;
        if (auto r = ip({"netns", "add", b_}); !r) {
            return r;
        }
        // Without IPv6 no router solicitations or multicast reports move the counters on their own.
        for (const std::string& ns : {a_, b_}) {
            if (auto r = ip({"netns", "exec", ns, "sh", "-c",
                             "for f in /proc/sys/net/ipv6/conf/default/disable_ipv6 "
                             "/proc/sys/net/ipv6/conf/all/disable_ipv6; do [ -e $f ] && echo 1 > $f; done; true"});
                !r) {
                return r;
            }
            if (auto r = ip({"-n", ns, "link", "set", "lo", "up"}); !r) {
                return r;
            }
        }
        return ::testing::AssertionSuccess();
    }

    // A veth pair: `nameInA` in the first namespace with the address x.x.x.1/30, its peer in
    // the second with x.x.x.2/30.
    ::testing::AssertionResult link(const std::string& nameInA, const std::string& peerInB, const std::string& net)
    {
        const std::vector<std::vector<std::string>> steps = {
            {"link", "add", nameInA, "netns", a_, "type", "veth", "peer", "name", peerInB, "netns", b_},
            {"-n", a_, "addr", "add", net + ".1/30", "dev", nameInA},
            {"-n", b_, "addr", "add", net + ".2/30", "dev", peerInB},
            {"-n", a_, "link", "set", nameInA, "up"},
            {"-n", b_, "link", "set", peerInB, "up"},
        };
        for (const auto& step : steps) {
            if (auto r = ip(step); !r) {
                return r;
            }
        }
        return ::testing::AssertionSuccess();
    }

    // Runs `ip` with these arguments in the first namespace.
    ::testing::AssertionResult inA(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"-n", a_});
        return ip(args);
    }
    ::testing::AssertionResult inB(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"-n", b_});
        return ip(args);
    }

    // Received plus sent bytes of an interface of the first namespace, as the kernel counts them.
    std::uint64_t counters(const std::string& name) const
    {
        std::string out;
        EXPECT_TRUE(ip({"netns", "exec", a_, "cat", "/sys/class/net/" + name + "/statistics/rx_bytes",
                        "/sys/class/net/" + name + "/statistics/tx_bytes"},
                       &out));
        std::istringstream in(out);
        std::uint64_t rx = 0;
        std::uint64_t tx = 0;
        in >> rx >> tx;
        return rx + tx;
    }

    // Sends `up` bytes from the first namespace to `address` in the second over TCP and `down`
    // bytes back. The sockets are made in their namespaces; the transfer itself runs here.
    ::testing::AssertionResult transfer(const std::string& address, std::size_t up, std::size_t down) const
    {
        const Fd home(::open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC));
        const Fd nsA(::open(("/run/netns/" + a_).c_str(), O_RDONLY | O_CLOEXEC));
        const Fd nsB(::open(("/run/netns/" + b_).c_str(), O_RDONLY | O_CLOEXEC));
        if (home.get() < 0 || nsA.get() < 0 || nsB.get() < 0) {
            return ::testing::AssertionFailure() << "cannot open the namespaces";
        }
        sockaddr_in where{};
        where.sin_family = AF_INET;
        ::inet_pton(AF_INET, address.c_str(), &where.sin_addr);
        socklen_t length = sizeof where;

        ::setns(nsB.get(), CLONE_NEWNET);
        const Fd listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        ::setns(nsA.get(), CLONE_NEWNET);
        const Fd client(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        ::setns(home.get(), CLONE_NEWNET);

        if (::bind(listener.get(), reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
            ::listen(listener.get(), 1) != 0 ||
            ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&where), &length) != 0 ||
            ::connect(client.get(), reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) {
            return ::testing::AssertionFailure() << "cannot connect to " << address << ": " << std::strerror(errno);
        }
        const Fd server(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (down == 0 && up > kBulk) {
            return bulk(client.get(), server.get(), up);
        }
        // In small steps, each read before the next write, so that no buffer ever fills.
        const auto pump = [](int from, int to, std::size_t bytes) {
            std::vector<char> chunk(16 * 1024, 'q');
            while (bytes > 0) {
                const std::size_t n = std::min(bytes, chunk.size());
                if (::send(from, chunk.data(), n, MSG_NOSIGNAL) != static_cast<ssize_t>(n)) {
                    return false;
                }
                for (std::size_t got = 0; got < n;) {
                    const ssize_t r = ::recv(to, chunk.data(), n - got, 0);
                    if (r <= 0) {
                        return false;
                    }
                    got += static_cast<std::size_t>(r);
                }
                bytes -= n;
            }
            return true;
        };
        if (server.get() < 0 || !pump(client.get(), server.get(), up) || !pump(server.get(), client.get(), down)) {
            return ::testing::AssertionFailure() << "the transfer broke off: " << std::strerror(errno);
        }
        return ::testing::AssertionSuccess();
    }

    // Above this a one-way transfer streams: a thread writes while this one reads.
    static constexpr std::size_t kBulk = 64u << 20;

private:
    static ::testing::AssertionResult bulk(int from, int to, std::size_t bytes)
    {
        bool sent = true;
        std::thread writer([&] {
            const std::vector<char> chunk(1u << 20, 'q');
            for (std::size_t left = bytes; left > 0 && sent;) {
                const ssize_t n = ::send(from, chunk.data(), std::min(left, chunk.size()), MSG_NOSIGNAL);
                sent = n > 0;
                left -= sent ? static_cast<std::size_t>(n) : 0;
            }
        });
        std::vector<char> buffer(1u << 20);
        std::size_t got = 0;
        while (got < bytes) {
            const ssize_t r = ::recv(to, buffer.data(), buffer.size(), 0);
            if (r <= 0) {
                break;
            }
            got += static_cast<std::size_t>(r);
        }
        writer.join();
        if (!sent || got != bytes) {
            return ::testing::AssertionFailure() << "the stream broke off after " << got << " bytes";
        }
        return ::testing::AssertionSuccess();
    }

    std::string a_;
    std::string b_;
    bool created_ = false;
};

}  // namespace quorvel::clitest
