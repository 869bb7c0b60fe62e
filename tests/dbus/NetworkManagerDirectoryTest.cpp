// SPDX-License-Identifier: GPL-3.0-or-later
// NetworkManager's devices as the directory reads them from dbusmock on a private system bus,
// and the counting decision over its answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "MockBus.hpp"
#include "model/InterfaceSelection.hpp"
#include "platform/Log.hpp"
#include "platform/dbus/NetworkManagerDeviceDirectory.hpp"

namespace quorvel {
namespace {

using test::MockService;

class NetworkManagerDeviceDirectoryTest : public test::SystemBusTest {};

using test::kNetworkManagerPath;

// A modem whose data interface has no cellular prefix (a USB dongle in network-card mode), a
// Wi-Fi card, a tethered phone on a metered connection and a device that tells only its name.
void addDevices(MockService& nm)
{
    nm.addDevice("modem0", "{'DeviceType': <uint32 8>, 'Interface': <'cdc-wdm0'>, 'IpInterface': <'enx0a1b2c3d4e5f'>,"
                           " 'Metered': <uint32 4>}");
    nm.control(kNetworkManagerPath, "AddWiFiDevice", "('wifi0', 'wlan0', 100)");
    nm.control(kNetworkManagerPath, "AddEthernetDevice", "('usb0', 'usb0', 100)");
    nm.control("/org/freedesktop/NetworkManager/Devices/usb0", "AddProperty",
               "('org.freedesktop.NetworkManager.Device', 'Metered', <uint32 3>)");
    nm.addDevice("odd0", "{'Interface': <'eth7'>}");
}

// "name type metered", "?" for an unknown field, sorted by name.
std::vector<std::string> described(const NetworkDeviceTable& table)
{
    const auto field = [](const std::optional<std::uint32_t>& v) { return v ? std::to_string(*v) : "?"; };
    std::vector<std::string> lines;
    for (const NetworkDevice& d : table) {
        lines.push_back(d.interfaceName + " " + field(d.deviceType) + " " + field(d.metered));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<InterfaceCounters> links(const std::vector<std::string>& names)
{
    std::vector<InterfaceCounters> out;
    for (const std::string& name : names) {
        out.push_back({name, static_cast<int>(out.size()) + 1, 0, 0, 0});
    }
    return out;
}

std::vector<std::string> counted(const std::vector<CountingDecision>& decisions)
{
    std::vector<std::string> names;
    for (const CountingDecision& d : decisions) {
        if (d.counted) {
            names.push_back(d.name + ":" + std::string(countReasonName(d.reason)));
        }
    }
    return names;
}

TEST_F(NetworkManagerDeviceDirectoryTest, ReadsEveryDeviceWithWhatItTells)
{
    auto nm = MockService::networkManager();
    addDevices(*nm);
    const std::optional<NetworkDeviceTable> table = NetworkManagerDeviceDirectory().devices();
    ASSERT_TRUE(table.has_value());
    // The modem gives its control and its data interface; Wi-Fi (2) and Ethernet (1) their types.
    EXPECT_EQ(described(*table), (std::vector<std::string>{"cdc-wdm0 8 4", "enx0a1b2c3d4e5f 8 4", "eth7 ? ?",
                                                           "usb0 1 3", "wlan0 2 ?"}));
}

TEST_F(NetworkManagerDeviceDirectoryTest, EveryAnswerComesOverTheOneKeptConnection)
{
    auto nm = MockService::networkManager();
    addDevices(*nm);
    ASSERT_TRUE(NetworkManagerDeviceDirectory().devices());  // the first use connects
    const unsigned long before = test::PrivateSystemBus::nextConnectionSerial();
    for (int change = 0; change < 20; ++change) {
        ASSERT_TRUE(NetworkManagerDeviceDirectory().devices());
    }
    EXPECT_EQ(test::PrivateSystemBus::nextConnectionSerial(), before + 1) << "only the probe itself connected";

    nm.reset();  // NetworkManager goes away and comes back: the same connection asks again
    EXPECT_EQ(NetworkManagerDeviceDirectory().devices(), std::nullopt);
    nm = MockService::networkManager();
    const unsigned long restarted = test::PrivateSystemBus::nextConnectionSerial();
    EXPECT_TRUE(NetworkManagerDeviceDirectory().devices());
    EXPECT_EQ(test::PrivateSystemBus::nextConnectionSerial(), restarted + 1);
}

TEST_F(NetworkManagerDeviceDirectoryTest, AbsentOnlyWhenNobodyOwnsTheName)
{
    EXPECT_EQ(NetworkManagerDeviceDirectory().devices(), std::nullopt);

    // Another service on the bus is not NetworkManager.
    auto other = MockService::plain("org.freedesktop.ModemManager1", "/org/freedesktop/ModemManager1",
                                    "org.freedesktop.ModemManager1", true);
    EXPECT_EQ(NetworkManagerDeviceDirectory().devices(), std::nullopt);

    {
        // Running but answering neither GetDevices nor Devices: present, with nothing known.
        auto mute = MockService::bareNetworkManager();
        const std::optional<NetworkDeviceTable> table = NetworkManagerDeviceDirectory().devices();
        ASSERT_TRUE(table.has_value());
        EXPECT_TRUE(table->empty());
    }
    EXPECT_EQ(NetworkManagerDeviceDirectory().devices(), std::nullopt);  // gone again
}

TEST_F(NetworkManagerDeviceDirectoryTest, AHungManagerIsPresentWithNothingKnown)
{
    auto nm = MockService::networkManager();
    addDevices(*nm);
    std::vector<std::string> logged;
    const Log::Sink previous = Log::setSink([&](const std::string& line) { logged.push_back(line); });
    nm->freeze();
    const std::optional<NetworkDeviceTable> table = NetworkManagerDeviceDirectory().devices();
    nm->thaw();
    Log::setSink(previous);
    ASSERT_TRUE(table.has_value());
    EXPECT_TRUE(table->empty());
    ASSERT_EQ(logged.size(), 1u);  // one call waited for, not one per device
    EXPECT_TRUE(logged[0].starts_with("NetworkManager did not answer: ")) << logged[0];
}

TEST_F(NetworkManagerDeviceDirectoryTest, DevicesPropertyWhenGetDevicesIsMissing)
{
    auto nm = MockService::bareNetworkManager();
    nm->control(kNetworkManagerPath, "AddProperty",
                "('org.freedesktop.NetworkManager', 'Devices', <[objectpath '/org/freedesktop/NetworkManager/Devices/3']>)");
    nm->addDevice("3", "{'DeviceType': <uint32 8>, 'Interface': <'ccmni0'>, 'IpInterface': <''>}");
    const std::optional<NetworkDeviceTable> table = NetworkManagerDeviceDirectory().devices();
    ASSERT_TRUE(table.has_value());
    // An empty IpInterface names no second link.
    EXPECT_EQ(described(*table), std::vector<std::string>{"ccmni0 8 ?"});
}

TEST_F(NetworkManagerDeviceDirectoryTest, DecisionsOverItsAnswers)
{
    const std::vector<InterfaceCounters> present =
        links({"lo", "enx0a1b2c3d4e5f", "wlan0", "usb0", "eth7", "wwan0", "eth9"});
    CountingChoices metered;
    metered.countMetered = true;
    CountingChoices overrides;
    overrides.byName = {{"enx0a1b2c3d4e5f", false}, {"wlan0", true}};
    {
        auto nm = MockService::networkManager();
        addDevices(*nm);
        const std::optional<NetworkDeviceTable> table = NetworkManagerDeviceDirectory().devices();
        using V = std::vector<std::string>;
        // wwan0 is not reported: its name decides; eth7's type is unknown and its name says nothing.
        EXPECT_EQ(counted(InterfaceSelection::decide(present, {}, table)),
                  (V{"enx0a1b2c3d4e5f:networkmanager", "wwan0:name"}));
        EXPECT_EQ(counted(InterfaceSelection::decide(present, metered, table)),
                  (V{"enx0a1b2c3d4e5f:networkmanager", "usb0:metered", "wwan0:name"}));
        EXPECT_EQ(counted(InterfaceSelection::decide(present, overrides, table)), (V{"wlan0:user", "wwan0:name"}));
    }
    const std::optional<NetworkDeviceTable> none = NetworkManagerDeviceDirectory().devices();
    EXPECT_EQ(none, std::nullopt);
    EXPECT_EQ(counted(InterfaceSelection::decide(present, metered, none)), std::vector<std::string>{"wwan0:name"});
}

}  // namespace
}  // namespace quorvel
