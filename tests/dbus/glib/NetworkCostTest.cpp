// SPDX-License-Identifier: GPL-3.0-or-later
// The map's view of the connection through GLib's network monitor, with NetworkManager played by
// dbusmock: a metered connection keeps the tiles away unless allowed, no connectivity is offline.
#include <gtest/gtest.h>

#include <gio/gio.h>

#include "dbus/MockBus.hpp"
#include "locations/TilePolicy.hpp"
#include "platform/glib/NetworkCost.hpp"

namespace quorvel {
namespace {

using test::kNetworkManagerInterface;
using test::kNetworkManagerPath;
using test::MockService;

// A network monitor of GLib's NetworkManager kind made now, on the mock that already runs (the
// process's shared monitor is made once, by whoever asks first).
GNetworkMonitor* networkManagerMonitor()
{
    GIOExtensionPoint* point = g_io_extension_point_lookup(G_NETWORK_MONITOR_EXTENSION_POINT_NAME);
    if (point == nullptr) {
        g_object_unref(g_network_monitor_get_default());  // registers GLib's monitors
        point = g_io_extension_point_lookup(G_NETWORK_MONITOR_EXTENSION_POINT_NAME);
    }
    GIOExtension* nm = point != nullptr ? g_io_extension_point_get_extension_by_name(point, "networkmanager") : nullptr;
    if (nm == nullptr) {
        return nullptr;
    }
    return G_NETWORK_MONITOR(g_initable_new(g_io_extension_get_type(nm), nullptr, nullptr, nullptr));
}

// Spins the default main context until `done` holds (bounded, so a broken monitor ends the test).
template <typename F>
bool until(F done)
{
    for (int i = 0; i < 2000 && !done(); ++i) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    return done();
}

class NetworkCostTest : public test::SystemBusTest {};

TEST_F(NetworkCostTest, AMeteredConnectionKeepsTilesAwayUntilAllowedAndNoConnectivityIsOffline)
{
    auto nm = MockService::networkManager();
    nm->control(kNetworkManagerPath, "AddProperty", std::string("('") + kNetworkManagerInterface +
                                                       "', 'Metered', <uint32 3>)");  // guessed yes: mobile
    GNetworkMonitor* monitor = networkManagerMonitor();
    ASSERT_NE(monitor, nullptr) << "GLib's NetworkManager monitor did not start on the mock";
    NetworkCost cost(monitor);
    g_object_unref(monitor);
    int changes = 0;
    cost.onChange([&] { ++changes; });
    ASSERT_TRUE(until([&] { return cost.metered(); }));
    EXPECT_TRUE(cost.available());
    EXPECT_EQ(TilePolicy::decide({cost.available(), cost.metered()}, false), TilePolicy::Decision::NotOverMobileData);
    EXPECT_EQ(TilePolicy::decide({cost.available(), cost.metered()}, true), TilePolicy::Decision::Load);

    nm->control(kNetworkManagerPath, "UpdateProperties",
                std::string("('") + kNetworkManagerInterface + "', {'Metered': <uint32 2>})");  // no
    EXPECT_TRUE(until([&] { return !cost.metered(); }));
    EXPECT_GT(changes, 0) << "the map hears of the change";
    EXPECT_EQ(TilePolicy::decide({cost.available(), cost.metered()}, false), TilePolicy::Decision::Load);

    nm->control(kNetworkManagerPath, "UpdateProperties",
                std::string("('") + kNetworkManagerInterface + "', {'Connectivity': <uint32 1>})");  // none
    EXPECT_TRUE(until([&] { return !cost.available(); }));
    EXPECT_EQ(TilePolicy::decide({cost.available(), cost.metered()}, true), TilePolicy::Decision::Offline);
}

}  // namespace
}  // namespace quorvel
