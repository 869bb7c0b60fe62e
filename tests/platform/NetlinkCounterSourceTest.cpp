// SPDX-License-Identifier: GPL-3.0-or-later
// The rtnetlink link dump against what `ip` reports for the same links: names, indexes, the
// link each one is stacked on, and the 64-bit counters. Needs root and `ip netns`; skipped
// otherwise.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/NetlinkCounterSource.hpp"

namespace quorvel {
namespace {

std::string shell(const std::string& command, int& code)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        code = -1;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    code = ::pclose(pipe);
    return out;
}

class NetlinkLinks : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "network namespaces need root";
        }
        // A veth pair whose ends are a veth in the namespace (qvn0) and its peer in a second
        // one (qvn1), with traffic that went over it, and a macvlan stacked on qvn0.
        int code = 0;
        const std::string quiet = "sh -c 'echo 1 > /proc/sys/net/ipv6/conf/all/disable_ipv6; "
                                  "echo 1 > /proc/sys/net/ipv6/conf/default/disable_ipv6'";
        const std::string out = shell(
            "ip netns add " + ns_ + " && ip netns add " + peer_ + " && ip netns exec " + ns_ + " " + quiet +
                " && ip netns exec " + peer_ + " " + quiet + " && ip -n " + ns_ +
                " link add qvn0 type veth peer name qvn1 netns " + peer_ + " && ip -n " + ns_ +
                " link add link qvn0 name qvm0 type macvlan mode bridge && ip -n " + ns_ +
                " addr add 10.213.90.1/30 dev qvn0 && ip -n " + peer_ + " addr add 10.213.90.2/30 dev qvn1 && ip -n " +
                ns_ + " link set qvn0 up && ip -n " + peer_ + " link set qvn1 up && ip netns exec " + ns_ +
                " ping -c 3 -i 0.2 -W 2 -s 1200 10.213.90.2",
            code);
        made_ = true;
        if (code != 0) {
            GTEST_SKIP() << "cannot build the namespace here: " << out;
        }
    }
    void TearDown() override
    {
        if (made_) {
            int code = 0;
            shell("ip netns del " + ns_ + "; ip netns del " + peer_, code);
        }
    }

    // The dump as a process in the namespace sees it.
    std::optional<std::vector<InterfaceCounters>> readInNamespace() const
    {
        const int home = ::open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
        const int there = ::open(("/run/netns/" + ns_).c_str(), O_RDONLY | O_CLOEXEC);
        std::optional<std::vector<InterfaceCounters>> links;
        if (home >= 0 && there >= 0 && ::setns(there, CLONE_NEWNET) == 0) {
            links = NetlinkCounterSource().read();
            ::setns(home, CLONE_NEWNET);
        }
        ::close(there);
        ::close(home);
        return links;
    }

    // `ip -s -j link` of the namespace, by interface name.
    std::map<std::string, nlohmann::json> ipLinks() const
    {
        int code = 0;
        const nlohmann::json all = nlohmann::json::parse(shell("ip -n " + ns_ + " -s -j link show", code));
        std::map<std::string, nlohmann::json> out;
        for (const auto& l : all) {
            out[l.at("ifname").get<std::string>()] = l;
        }
        return out;
    }

    std::string ns_ = "quorvel-nl-" + std::to_string(::getpid());
    std::string peer_ = "quorvel-nlp-" + std::to_string(::getpid());
    bool made_ = false;
};

TEST_F(NetlinkLinks, GivesEveryLinkWithItsIndexLowerLinkAndCounters)
{
    const auto links = readInNamespace();
    ASSERT_TRUE(links);
    const auto expected = ipLinks();
    ASSERT_EQ(links->size(), expected.size());
    std::map<std::string, int> indexOf;
    for (const InterfaceCounters& l : *links) {
        indexOf[l.name] = l.index;
    }
    for (const InterfaceCounters& l : *links) {
        ASSERT_EQ(expected.count(l.name), 1u) << l.name;
        const nlohmann::json& ip = expected.at(l.name);
        EXPECT_EQ(l.index, ip.at("ifindex").get<int>()) << l.name;
        EXPECT_EQ(l.rxBytes, ip.at("stats64").at("rx").at("bytes").get<std::uint64_t>()) << l.name;
        EXPECT_EQ(l.txBytes, ip.at("stats64").at("tx").at("bytes").get<std::uint64_t>()) << l.name;
    }
    EXPECT_GT(indexOf.at("qvn0"), 0);
    for (const InterfaceCounters& l : *links) {
        // Only the macvlan is stacked; a veth's IFLA_LINK names its peer in another namespace.
        EXPECT_EQ(l.lowerIndex, l.name == "qvm0" ? indexOf.at("qvn0") : 0) << l.name;
    }
    const auto veth = std::find_if(links->begin(), links->end(), [](const auto& l) { return l.name == "qvn0"; });
    EXPECT_GT(veth->txBytes, 3u * 1200u) << "the pings went out over qvn0";
}

}  // namespace
}  // namespace quorvel
