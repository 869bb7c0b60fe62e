// SPDX-License-Identifier: GPL-3.0-or-later
// The tail of vanished links over a source of present ones.
#include <gtest/gtest.h>

#include <memory>

#include "TestEnv.hpp"
#include "platform/TailCounterSource.hpp"

namespace {

using quorvel::InterfaceCounters;
using quorvel::TailCounterSource;
using quorvel::test::FakeCounters;

struct Tail : ::testing::Test {
    Tail()
    {
        auto owned = std::make_unique<FakeCounters>();
        present = owned.get();
        tail = std::make_unique<TailCounterSource>(std::move(owned));
        present->interfaces = {{"wwan0", 3, 0, 100, 10}, {"eth0", 2, 0, 7, 7}};
    }
    std::vector<std::string> names()
    {
        std::vector<std::string> out;
        const auto links = tail->read();
        for (const InterfaceCounters& c : links.value()) {
            out.push_back(c.name + ":" + std::to_string(c.rxBytes));
        }
        return out;
    }
    FakeCounters* present = nullptr;
    std::unique_ptr<TailCounterSource> tail;
};

TEST_F(Tail, AVanishedLinkIsShownUntilASampleHasReadIt)
{
    present->interfaces.push_back({"ppp0", 9, 0, 500, 50});
    EXPECT_EQ(names(), (std::vector<std::string>{"wwan0:100", "eth0:7", "ppp0:500"}));

    // ppp0 goes; its removal announced 650 received bytes.
    present->interfaces.pop_back();
    tail->add({"ppp0", 9, 0, 650, 60});
    EXPECT_EQ(names(), (std::vector<std::string>{"wwan0:100", "eth0:7", "ppp0:650"}));
    tail->dropShown();
    EXPECT_EQ(names(), (std::vector<std::string>{"wwan0:100", "eth0:7"}));
    EXPECT_TRUE(tail->empty());
}

TEST_F(Tail, APresentLinkIsReadFromTheSourceNeverTwice)
{
    // A link that went down but is still there: its current counters win over the announcement.
    present->interfaces[0].rxBytes = 120;
    tail->add({"wwan0", 3, 0, 110, 10});
    EXPECT_EQ(names(), (std::vector<std::string>{"wwan0:120", "eth0:7"}));

    // A new link of the same name (another index) does not hide the old one's last counters.
    present->interfaces[0] = {"wwan0", 4, 0, 0, 0};
    tail->add({"wwan0", 3, 0, 130, 10});
    EXPECT_EQ(names(), (std::vector<std::string>{"wwan0:0", "eth0:7", "wwan0:130"}));
}

TEST_F(Tail, KeepsWhatNoSampleHasSeen)
{
    // A newer announcement of the same link replaces the older one.
    tail->add({"ppp0", 9, 0, 500, 0});
    tail->add({"ppp0", 9, 0, 650, 0});
    // A read that fails shows nothing: the tail stays for the next sample.
    present->failing = true;
    EXPECT_FALSE(tail->read());
    tail->dropShown();
    present->failing = false;
    EXPECT_EQ(names(), (std::vector<std::string>{"wwan0:100", "eth0:7", "ppp0:650"}));

    // Announced after the read: kept past the sample that did not see it.
    tail->add({"ppp1", 10, 0, 80, 0});
    tail->dropShown();
    EXPECT_EQ(names(), (std::vector<std::string>{"wwan0:100", "eth0:7", "ppp1:80"}));
}

}  // namespace
