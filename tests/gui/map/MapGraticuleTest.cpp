// SPDX-License-Identifier: GPL-3.0-or-later
// The spacing of the map's background lines.
#include <gtest/gtest.h>

#include "locations/gtk/MapGraticule.hpp"

namespace quorvel {
namespace {

TEST(MapGraticule, LinesStandAtRoundStepsAtLeastTheSpacingApart)
{
    const struct {
        double degreesPerPixel;
        double spacing;
        double step;
    } cases[] = {
        {360.0 / 256, 96, 90.0},             // zoom 0: as coarse as it gets
        {360.0 / (256 * 32768), 96, 0.005},  // zoom 15
        {1e-9, 96, 0.0005},                  // deeper than any map: the finest step
        {0.5, 2.0, 1.0},                     // exactly the spacing apart
        {0.5, 2.0001, 2.0},                  // a hair short of it
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(MapGraticule::stepForDegreesPerPixel(c.degreesPerPixel, c.spacing), c.step)
            << c.degreesPerPixel << " " << c.spacing;
    }
}

}  // namespace
}  // namespace quorvel
