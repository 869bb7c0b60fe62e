// SPDX-License-Identifier: GPL-3.0-or-later
// When the map may fetch its tiles, and the line it shows when it may not.
#include <gtest/gtest.h>

#include <string>

#include "locations/TilePolicy.hpp"

namespace quorvel {
namespace {

using Decision = TilePolicy::Decision;

TEST(TilePolicy, TilesComeOverACountedConnectionOnlyWhenAllowedAndNeverOffline)
{
    struct Case {
        bool available, metered, allowed;
        Decision expected;
    };
    for (const Case c : {Case{true, false, false, Decision::Load}, Case{true, false, true, Decision::Load},
                         Case{true, true, false, Decision::NotOverMobileData}, Case{true, true, true, Decision::Load},
                         Case{false, false, true, Decision::Offline}, Case{false, true, false, Decision::Offline}}) {
        SCOPED_TRACE(std::to_string(c.available) + std::to_string(c.metered) + std::to_string(c.allowed));
        EXPECT_EQ(TilePolicy::decide({c.available, c.metered}, c.allowed), c.expected);
    }
    EXPECT_EQ(TilePolicy::decide({}, false), Decision::Load) << "an unmetered network by default";
}

TEST(TilePolicy, EveryRefusalSaysWhyInOneLineAndLoadingSaysNothing)
{
    EXPECT_STREQ(TilePolicy::reason(Decision::Load), "");
    for (Decision d : {Decision::NotOverMobileData, Decision::Offline}) {
        const std::string line = TilePolicy::reason(d);
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find('\n'), std::string::npos);
    }
    EXPECT_NE(std::string(TilePolicy::reason(Decision::NotOverMobileData)).find("settings"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
