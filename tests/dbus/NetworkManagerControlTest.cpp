// SPDX-License-Identifier: GPL-3.0-or-later
// Turning mobile data off through NetworkManager (dbusmock on a private system bus): the
// WwanEnabled switch, the active connections of given interfaces, and refusals reported as given.
#include <gtest/gtest.h>

#include "MockBus.hpp"
#include "platform/dbus/NetworkManagerControl.hpp"

namespace quorvel {
namespace {

using test::MockService;

class NetworkManagerControlTest : public test::SystemBusTest {};

using test::kNetworkManagerInterface;
using test::kNetworkManagerPath;

constexpr const char* kSettings = "/org/freedesktop/NetworkManager/Settings";

// A modem and a Wi-Fi card, each with an active connection.
void connectBoth(MockService& nm)
{
    // State and ActiveConnection: what activating a connection on it changes.
    nm.addDevice("modem0", "{'DeviceType': <uint32 8>, 'Interface': <'cdc-wdm0'>, 'IpInterface': <'wwan0'>,"
                           " 'State': <uint32 100>, 'StateReason': <(uint32 100, uint32 0)>,"
                           " 'ActiveConnection': <objectpath '/'>}");
    nm.control(kNetworkManagerPath, "AddWiFiDevice", "('wifi0', 'wlan0', 100)");
    nm.call(kSettings, "org.freedesktop.NetworkManager.Settings", "AddConnection",
            "({'connection': {'id': <'mobile'>, 'type': <'gsm'>, 'uuid': <'5d4a1c0e-0000-4000-8000-000000000001'>}},)");
    nm.call(kSettings, "org.freedesktop.NetworkManager.Settings", "AddConnection",
            "({'connection': {'id': <'home'>, 'type': <'802-11-wireless'>, "
            "'uuid': <'5d4a1c0e-0000-4000-8000-000000000002'>}},)");
    nm.control(kNetworkManagerPath, "AddActiveConnection",
               "(['/org/freedesktop/NetworkManager/Devices/modem0'], '/org/freedesktop/NetworkManager/Settings/0',"
               " '/', 'mobile', uint32 2)");
    nm.control(kNetworkManagerPath, "AddActiveConnection",
               "(['/org/freedesktop/NetworkManager/Devices/wifi0'], '/org/freedesktop/NetworkManager/Settings/1',"
               " '/', 'home', uint32 2)");
}

TEST_F(NetworkManagerControlTest, NotRunningSaysSo)
{
    std::string why;
    EXPECT_FALSE(NetworkManagerControl::connect(&why).has_value());
    EXPECT_EQ(why, "NetworkManager is not running");
}

TEST_F(NetworkManagerControlTest, TurnsMobileBroadbandOff)
{
    auto nm = MockService::networkManager(true);
    const std::optional<NetworkManagerControl> control = NetworkManagerControl::connect();
    ASSERT_TRUE(control.has_value());
    const BusOutcome outcome = control->setWwanEnabled(false);
    EXPECT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(nm->property(kNetworkManagerPath, kNetworkManagerInterface, "WwanEnabled"), "(<false>,)");
}

TEST_F(NetworkManagerControlTest, DeactivatesOnlyTheConnectionsOfTheGivenInterfaces)
{
    auto nm = MockService::networkManager();
    connectBoth(*nm);
    const std::optional<NetworkManagerControl> control = NetworkManagerControl::connect();
    ASSERT_TRUE(control.has_value());

    const ActiveConnectionList before = control->activeConnections();
    EXPECT_EQ(before.error, "");
    ASSERT_EQ(before.connections.size(), 2u);
    EXPECT_EQ(before.connections[0].path, "/org/freedesktop/NetworkManager/ActiveConnection/mobile");
    EXPECT_EQ(before.connections[0].interfaces, (std::vector<std::string>{"cdc-wdm0", "wwan0"}));
    EXPECT_EQ(before.connections[1].interfaces, std::vector<std::string>{"wlan0"});

    // The data interface names the modem's connection; an interface with none is no error.
    const BusOutcome outcome = control->deactivateConnectionsOf({"wwan0", "usb0"});
    EXPECT_TRUE(outcome.ok) << outcome.error;
    const ActiveConnectionList after = control->activeConnections();
    ASSERT_EQ(after.connections.size(), 1u);
    EXPECT_EQ(after.connections[0].interfaces, std::vector<std::string>{"wlan0"});
}

TEST_F(NetworkManagerControlTest, RefusalsCarryTheServicesErrorText)
{
    auto nm = MockService::networkManager();
    connectBoth(*nm);
    nm->control(kNetworkManagerPath, "AddMethod",
                "('org.freedesktop.NetworkManager', 'DeactivateConnection', 'o', '',"
                " 'raise dbus.exceptions.DBusException(\"Not authorized to deactivate connections\","
                " name=\"org.freedesktop.NetworkManager.PermissionDenied\")')");
    const std::optional<NetworkManagerControl> control = NetworkManagerControl::connect();
    ASSERT_TRUE(control.has_value());
    const BusOutcome outcome = control->deactivateConnectionsOf({"wwan0", "wlan0"});
    EXPECT_FALSE(outcome.ok);
    // Both were tried, each refusal said once.
    EXPECT_EQ(outcome.error,
              "org.freedesktop.NetworkManager.PermissionDenied: Not authorized to deactivate connections; "
              "org.freedesktop.NetworkManager.PermissionDenied: Not authorized to deactivate connections");
    EXPECT_EQ(control->activeConnections().connections.size(), 2u);
}

TEST_F(NetworkManagerControlTest, ASwitchTheServiceDoesNotHaveIsAnError)
{
    // A manager without WwanEnabled (no mobile broadband support) refuses the property.
    auto nm = MockService::bareNetworkManager();
    const std::optional<NetworkManagerControl> control = NetworkManagerControl::connect();
    ASSERT_TRUE(control.has_value());
    const BusOutcome outcome = control->setWwanEnabled(false);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error, "org.freedesktop.NetworkManager.UnknownProperty: no such property WwanEnabled");
    EXPECT_NE(control->activeConnections().error, "");
}

}  // namespace
}  // namespace quorvel
