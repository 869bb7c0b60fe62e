// SPDX-License-Identifier: GPL-3.0-or-later
// The window's GeoClue client against Debian's GeoClue: the window's return to the foreground
// stops the updates (GeoClue lets go of its source) and the monitoring that follows gets the
// location again.
#include <gtest/gtest.h>

#include <optional>

#include "dbus/RealGeoclue.hpp"
#include "TestEnv.hpp"
#include "platform/glib/GeoclueLocationService.hpp"

namespace quorvel {
namespace {

class GeoclueLocationServiceTest : public test::SystemBusTest {
protected:
    void SetUp() override
    {
        service.setDelegate({[this](const Location& l) { last = l; },
                             [this](const std::string& e) { error = e; }});
    }
    // Runs the main context until a location arrives; false if an error came instead, or
    // nothing within the guard's minute (a hang, not a timing).
    bool nextLocation()
    {
        last.reset();
        bool expired = false;
        const guint guard = g_timeout_add_seconds(60, [](gpointer e) {
            *static_cast<bool*>(e) = true;
            return G_SOURCE_REMOVE;
        }, &expired);
        while (!last && error.empty() && !expired) {
            g_main_context_iteration(nullptr, TRUE);
        }
        if (!expired) {
            g_source_remove(guard);
        }
        return last.has_value();
    }

    test::TempDir home;
    test::RealGeoclue geoclue{home.path(), 50.0, 8.0};
    GeoclueLocationService service{"org.quorvel.Quorvel"};
    std::optional<Location> last;
    std::string error;
};

TEST_F(GeoclueLocationServiceTest, StoppingTheUpdatesLetsGeoclueGoAndMonitoringAgainFollowsIt)
{
    geoclue.start();
    service.startMonitoringSignificantLocationChanges();
    ASSERT_TRUE(nextLocation()) << error;
    EXPECT_NEAR(last->latitude, 50.0, 1e-6);

    service.stopUpdatingLocation();
    EXPECT_TRUE(geoclue.waitUntilSourceStopped()) << "no client follows the location any more";

    geoclue.moveTo(50.01, 8.0);
    service.startMonitoringSignificantLocationChanges();
    ASSERT_TRUE(nextLocation()) << error;
    EXPECT_NEAR(last->latitude, 50.01, 1e-6);
    EXPECT_EQ(error, "");
}

}  // namespace
}  // namespace quorvel
