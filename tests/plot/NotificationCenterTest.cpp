#include "plot/CPTNotificationCenter.hpp"

#include <gtest/gtest.h>

#include <memory>

using namespace quorvel;

TEST(NotificationCenter, DeliversByNameAndSenderUntilTheObservationEnds)
{
    CPTNotificationCenter center;
    int a = 0;
    int b = 0;
    int any = 0;
    const int senderA = 0;
    const int senderB = 0;
    auto fromA = center.addObserver("changed", &senderA, [&a](const void*) { ++a; });
    auto fromAnyone = center.addObserver("changed", nullptr, [&any](const void*) { ++any; });
    {
        auto fromB = center.addObserver("changed", &senderB, [&b](const void*) { ++b; });
        center.post("changed", &senderA);
        center.post("changed", &senderB);
        center.post("other", &senderA);
    }
    center.post("changed", &senderB);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(any, 3);
    fromA = CPTNotificationCenter::Observation();  // replacing an observation ends it
    center.post("changed", &senderA);
    EXPECT_EQ(a, 1);
}

TEST(NotificationCenter, ObservationsMayOutliveTheCentreAndEndThemselves)
{
    CPTNotificationCenter::Observation survivor;
    {
        CPTNotificationCenter center;
        survivor = center.addObserver("x", nullptr, [](const void*) {});
        EXPECT_TRUE(survivor.active());
    }
    EXPECT_FALSE(survivor.active());
    survivor.reset();

    CPTNotificationCenter center;
    int calls = 0;
    auto self = std::make_shared<CPTNotificationCenter::Observation>();
    *self = center.addObserver("x", nullptr, [&calls, self](const void*) {
        ++calls;
        self->reset();  // stop observing from inside the handler
    });
    center.post("x", nullptr);
    center.post("x", nullptr);
    EXPECT_EQ(calls, 1);
    self->reset();
}
