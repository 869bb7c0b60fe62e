// NetworkManager's devices as the directory reads them from dbusmock on a private system bus,
// and the counting decision over its answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "MockBus.hpp"
#include "model/InterfaceSelection.hpp"
#include "platform/dbus/NetworkManagerDeviceDirectory.hpp"

namespace quorvel {
namespace {

using test::MockService;

class NetworkManagerDeviceDirectoryTest : public test::SystemBusTest {};

constexpr const char* kManager = "/org/freedesktop/NetworkManager";
constexpr const char* kDevice = "org.freedesktop.NetworkManager.Device";

// A modem whose data interface has no cellular prefix (a USB dongle in network-card mode), a
// Wi-Fi card, a tethered phone on a metered connection and a device that tells only its name.
void addDevices(MockService& nm)
{
    nm.control(kManager, "AddObject",
               "('/org/freedesktop/NetworkManager/Devices/modem0', 'org.freedesktop.NetworkManager.Device',"
               " {'DeviceType': <uint32 8>, 'Interface': <'cdc-wdm0'>, 'IpInterface': <'enx0a1b2c3d4e5f'>,"
               "  'Metered': <uint32 4>}, @a(ssss) [])");
    nm.control(kManager, "AddWiFiDevice", "('wifi0', 'wlan0', 100)");
    nm.control(kManager, "AddEthernetDevice", "('usb0', 'usb0', 100)");
    nm.control("/org/freedesktop/NetworkManager/Devices/usb0", "AddProperty",
               "('org.freedesktop.NetworkManager.Device', 'Metered', <uint32 3>)");
    nm.control(kManager, "AddObject",
               "('/org/freedesktop/NetworkManager/Devices/odd0', 'org.freedesktop.NetworkManager.Device',"
               " {'Interface': <'eth7'>}, @a(ssss) [])");
}

const NetworkDevice* entry(const NetworkDeviceTable& table, const std::string& name)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const NetworkDevice& d) { return d.interfaceName == name; });
    return found == table.end() ? nullptr : &*found;
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
    EXPECT_EQ(table->size(), 5u);  // the modem gives its control and its data interface

    const NetworkDevice* data = entry(*table, "enx0a1b2c3d4e5f");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->deviceType, 8u);
    EXPECT_EQ(data->metered, 4u);
    const NetworkDevice* control = entry(*table, "cdc-wdm0");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->deviceType, 8u);

    const NetworkDevice* wifi = entry(*table, "wlan0");
    ASSERT_NE(wifi, nullptr);
    EXPECT_EQ(wifi->deviceType, 2u);
    EXPECT_EQ(wifi->metered, std::nullopt);

    const NetworkDevice* tether = entry(*table, "usb0");
    ASSERT_NE(tether, nullptr);
    EXPECT_EQ(tether->deviceType, 1u);
    EXPECT_EQ(tether->metered, 3u);

    const NetworkDevice* odd = entry(*table, "eth7");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->deviceType, std::nullopt);
    EXPECT_EQ(odd->metered, std::nullopt);
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
        auto mute = MockService::plain("org.freedesktop.NetworkManager", kManager, "org.freedesktop.NetworkManager",
                                       false);
        const std::optional<NetworkDeviceTable> table = NetworkManagerDeviceDirectory().devices();
        ASSERT_TRUE(table.has_value());
        EXPECT_TRUE(table->empty());
    }
    EXPECT_EQ(NetworkManagerDeviceDirectory().devices(), std::nullopt);  // gone again
}

TEST_F(NetworkManagerDeviceDirectoryTest, DevicesPropertyWhenGetDevicesIsMissing)
{
    auto nm = MockService::plain("org.freedesktop.NetworkManager", kManager, "org.freedesktop.NetworkManager", false);
    nm->control(kManager, "AddProperty",
                "('org.freedesktop.NetworkManager', 'Devices', <[objectpath '/org/freedesktop/NetworkManager/Devices/3']>)");
    nm->control(kManager, "AddObject",
                "('/org/freedesktop/NetworkManager/Devices/3', 'org.freedesktop.NetworkManager.Device',"
                " {'DeviceType': <uint32 8>, 'Interface': <'ccmni0'>, 'IpInterface': <''>}, @a(ssss) [])");
    const std::optional<NetworkDeviceTable> table = NetworkManagerDeviceDirectory().devices();
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->size(), 1u);  // an empty IpInterface names no second link
    EXPECT_EQ(table->front().interfaceName, "ccmni0");
    EXPECT_EQ(table->front().deviceType, 8u);
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
