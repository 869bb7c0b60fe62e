// SPDX-License-Identifier: GPL-3.0-or-later
// Acting on the plan with NetworkManager and ModemManager played by dbusmock: mobile data off
// once per billing period at the plan and only with the switch on, a refusal said once and not
// tried again, and the bytes booked while the modem roams counted apart.
#include <gtest/gtest.h>

#include "ModemManagerMock.hpp"
#include "TestEnv.hpp"
#include "engine/CTrafficManager.hpp"
#include "engine/PlanActionsRunner.hpp"
#include "platform/Log.hpp"
#include "platform/dbus/ModemRoamingSource.hpp"
#include "platform/dbus/ModemSimDirectory.hpp"
#include "platform/dbus/NetworkManagerMobileData.hpp"

namespace quorvel {
namespace {

using test::kNetworkManagerInterface;
using test::kNetworkManagerPath;
using test::localDate;
using test::MockService;

constexpr const char* kSettings = "/org/freedesktop/NetworkManager/Settings";

// A connection `id` of `type` on a device with `properties`, active.
void connect(MockService& nm, const std::string& device, const std::string& properties, const std::string& id,
             const std::string& type, int number)
{
    nm.addDevice(device, properties);
    nm.call(kSettings, "org.freedesktop.NetworkManager.Settings", "AddConnection",
            "({'connection': {'id': <'" + id + "'>, 'type': <'" + type +
                "'>, 'uuid': <'5d4a1c0e-0000-4000-8000-00000000000" + std::to_string(number) + "'>}},)");
    nm.control(kNetworkManagerPath, "AddActiveConnection",
               "(['/org/freedesktop/NetworkManager/Devices/" + device +
                   "'], '/org/freedesktop/NetworkManager/Settings/" + std::to_string(number) + "', '/', '" + id +
                   "', uint32 2)");
}

std::string deviceText(const std::string& interface, std::uint32_t type)
{
    return "{'DeviceType': <uint32 " + std::to_string(type) + ">, 'Interface': <'" + interface +
           "'>, 'State': <uint32 100>, 'StateReason': <(uint32 100, uint32 0)>, 'ActiveConnection': <objectpath '/'>}";
}

class PlanActionsBusTest : public test::SystemBusTest {
protected:
    PlanActionsBusTest()
    {
        t.env.mobileData = &mobileData;
        t.clock.set(localDate(2026, 3, 10, 9));
        m->history().sampler().setPrevTrafficSize(0);
        m->setNewPlanValue(1'000'000);
    }
    // The counted interfaces grow by `bytes` and one sample books it.
    void use(std::uint64_t bytes)
    {
        counter += bytes;
        t.counters.set("wwan0", counter, 0);
        t.counters.set("usb0", 0, 0);
        t.counters.set("wlan0", 5, 5);
        m->updateTrafficInformation(false);
    }
    std::vector<LocalNotification> cutoffNotices() const
    {
        std::vector<LocalNotification> out;
        for (const LocalNotification& n : t.notifier.posted) {
            if (n.type == PlanActionsRunner::kTypeCutOff) {
                out.push_back(n);
            }
        }
        return out;
    }
    std::string wwan(MockService& nm) const
    {
        return nm.property(kNetworkManagerPath, kNetworkManagerInterface, "WwanEnabled");
    }
    std::string activeConnections(MockService& nm) const
    {
        return nm.property(kNetworkManagerPath, kNetworkManagerInterface, "ActiveConnections");
    }
    // A modem, a USB dongle the user counts, and Wi-Fi, each connected.
    void connectAll(MockService& nm)
    {
        connect(nm, "modem0", deviceText("wwan0", 8), "mobile", "gsm", 0);
        connect(nm, "dongle0", deviceText("usb0", 1), "dongle", "802-3-ethernet", 1);
        connect(nm, "wifi0", deviceText("wlan0", 2), "home", "802-11-wireless", 2);
        m->setInterfaceChoice("usb0", true);
    }

    test::TestEnv t;
    NetworkManagerMobileData mobileData;
    std::unique_ptr<CTrafficManager> m = std::make_unique<CTrafficManager>(t.env, true);
    std::uint64_t counter = 0;
};

TEST_F(PlanActionsBusTest, CutsOffOncePerPeriodAtThePlanAndOnlyWithTheSwitchOn)
{
    auto nm = MockService::networkManager(true);
    connectAll(*nm);

    use(1'200'000);  // past the plan with the switch off
    EXPECT_EQ(wwan(*nm), "(<true>,)");
    EXPECT_TRUE(cutoffNotices().empty());

    m->setCutoffAtPlan(true);
    use(1000);
    EXPECT_EQ(wwan(*nm), "(<false>,)");
    EXPECT_EQ(activeConnections(*nm), "(<[objectpath '/org/freedesktop/NetworkManager/ActiveConnection/home']>,)")
        << "the modem's and the dongle's connections end, Wi-Fi stays";
    ASSERT_EQ(cutoffNotices().size(), 1u);
    EXPECT_EQ(cutoffNotices()[0].title, "Mobile Data Turned Off");
    EXPECT_EQ(cutoffNotices()[0].buttonLabel, "Turn Mobile Data Back On");
    EXPECT_EQ(cutoffNotices()[0].buttonAction, "mobile-data-on");

    // The user turns it back on and goes on using it: not again in this period.
    EXPECT_TRUE(PlanActionsRunner::turnBackOn(t.env).ok);
    EXPECT_EQ(wwan(*nm), "(<true>,)");
    use(1000);
    use(1000);
    EXPECT_EQ(wwan(*nm), "(<true>,)");
    EXPECT_EQ(cutoffNotices().size(), 1u);

    // A new billing period does not turn it on by itself but allows the cut-off again.
    t.clock.set(localDate(2026, 4, 1, 9));
    use(400'000);
    EXPECT_EQ(wwan(*nm), "(<true>,)");
    use(700'000);
    EXPECT_EQ(wwan(*nm), "(<false>,)");
    EXPECT_EQ(cutoffNotices().size(), 2u);
}

TEST_F(PlanActionsBusTest, ALargerPlanAllowsItAgainInTheSamePeriod)
{
    auto nm = MockService::networkManager(true);
    m->setCutoffAtPlan(true);
    use(1'000'000);
    EXPECT_EQ(wwan(*nm), "(<false>,)");
    EXPECT_TRUE(PlanActionsRunner::turnBackOn(t.env).ok);

    m->setNewPlanValue(2'000'000);
    use(900'000);
    EXPECT_EQ(wwan(*nm), "(<true>,)");
    use(100'000);
    EXPECT_EQ(wwan(*nm), "(<false>,)");
    EXPECT_EQ(cutoffNotices().size(), 2u);
}

TEST_F(PlanActionsBusTest, ARefusalIsSaidOnceAndNotTriedAgain)
{
    auto nm = MockService::networkManager(true);
    connectAll(*nm);
    nm->control(kNetworkManagerPath, "AddMethod",
                "('org.freedesktop.NetworkManager', 'DeactivateConnection', 'o', '',"
                " 'raise dbus.exceptions.DBusException(\"Not authorized to deactivate connections\","
                " name=\"org.freedesktop.NetworkManager.PermissionDenied\")')");
    m->setCutoffAtPlan(true);
    use(1'500'000);
    use(1000);
    use(1000);

    ASSERT_EQ(cutoffNotices().size(), 1u);
    EXPECT_EQ(cutoffNotices()[0].title, "Mobile Data Not Turned Off");
    EXPECT_EQ(cutoffNotices()[0].body,
              "The plan of 1 MB is used up, but mobile data could not be turned off: "
              "org.freedesktop.NetworkManager.PermissionDenied: Not authorized to deactivate connections; "
              "org.freedesktop.NetworkManager.PermissionDenied: Not authorized to deactivate connections");
    EXPECT_EQ(cutoffNotices()[0].buttonLabel, "");
    // One attempt for each of the two connections, at the one cut-off of the period.
    const std::string calls = nm->control(kNetworkManagerPath, "GetMethodCalls", "('DeactivateConnection',)");
    std::size_t count = 0;
    for (std::size_t at = calls.find("ActiveConnection/"); at != std::string::npos;
         at = calls.find("ActiveConnection/", at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 2u) << calls;
}

TEST_F(PlanActionsBusTest, EachSimsPlanAlertsAndCutsOffOnlyItsOwnConnection)
{
    auto nm = MockService::networkManager(true);
    connectAll(*nm);
    auto mm = test::startModemManager();
    test::addSim(*mm, 0, "8949020000001234567", "262011234567890", "Tele Nord");
    test::addSlottedModem(*mm, test::kModem0, {test::simPath(0)}, 1, "wwan0");
    ModemSimDirectory sims;
    t.env.sims = &sims;
    use(0);     // each link's own baseline
    use(1000);  // the SIM is seen, and its bytes are its own
    ASSERT_EQ(m->knownSims().entries().size(), 1u);
    m->knownSims().markSetUp(0);
    CTrafficManager& sim = *m->knownSims().entries()[0].plan;
    sim.setNewPlanValue(500'000);
    sim.setCutoffAtPlan(true);
    m->setCutoffAtPlan(true);

    use(600'000);  // past the SIM's plan, far below the device's
    EXPECT_EQ(wwan(*nm), "(<true>,)") << "the other modems keep mobile broadband";
    const std::string left = activeConnections(*nm);
    EXPECT_EQ(left.find("ActiveConnection/mobile"), std::string::npos) << left;
    EXPECT_NE(left.find("ActiveConnection/dongle"), std::string::npos) << left;
    ASSERT_EQ(cutoffNotices().size(), 1u);
    EXPECT_EQ(cutoffNotices()[0].body,
              "The plan of 500 KB is used up. Mobile data stays off until you turn it back on.");
    const auto alerts = [&] {
        std::vector<std::string> titles;
        for (const LocalNotification& n : t.notifier.posted) {
            if (n.type == "NotificationDataChanged") {
                titles.push_back(n.title);
            }
        }
        return titles;
    };
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0], "Monthly Data Usage \u2014 Tele Nord") << "the SIM's alert names it, not its ICCID";
    EXPECT_EQ(m->getDataUsed(), 0u) << "the device's plan carried none of it";

    // The alert history is the SIM's, kept with it in the state: not said again after a restart.
    std::unique_ptr<CTrafficManager> again = CTrafficManager::decode(t.env, m->encode());
    m = std::move(again);
    use(1000);
    EXPECT_EQ(alerts().size(), 1u);
    EXPECT_EQ(cutoffNotices().size(), 1u);
    EXPECT_EQ(m->knownSims().entries()[0].plan->getMonthPlan(), 500'000u);
    EXPECT_TRUE(m->knownSims().entries()[0].plan->cutoffAtPlan());
    EXPECT_EQ(m->knownSims().entries()[0].plan->getDataUsed(), 602'000u);
}

TEST_F(PlanActionsBusTest, WhenTheModemManagerGoesItsBytesAreThisDevicesSaidOnce)
{
    auto mm = test::startModemManager();
    test::addSim(*mm, 0, "8949020000001234567", "262011234567890", "Tele Nord");
    test::addSlottedModem(*mm, test::kModem0, {test::simPath(0)}, 1, "wwan0");
    ModemSimDirectory sims;
    t.env.sims = &sims;
    m->knownSims().askEachSample(true);  // as a sampler that hears no signals
    use(0);
    use(1000);
    ASSERT_EQ(m->knownSims().entries().size(), 1u);
    EXPECT_EQ(m->knownSims().entries()[0].history().countedBytes(), 1000u);

    std::vector<std::string> said;
    const Log::Sink old = Log::setSink([&](const std::string& line) { said.push_back(line); });
    mm.reset();
    use(500);
    use(700);
    // Another process (the next one-shot command) reads that it was said.
    std::unique_ptr<CTrafficManager> next = CTrafficManager::decode(t.env, m->encode());
    m = std::move(next);
    m->knownSims().askEachSample(true);
    use(300);
    Log::setSink(old);
    EXPECT_EQ(m->knownSims().entries()[0].history().countedBytes(), 1000u);
    EXPECT_EQ(m->getDataUsed(), 1500u) << "counting goes on, for This device";
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0], "the modem manager does not answer; traffic is counted for This device until it does");
}

TEST_F(PlanActionsBusTest, WithoutNetworkManagerTheSwitchSaysWhy)
{
    EXPECT_EQ(mobileData.unavailable(), "NetworkManager is not running");
    auto nm = MockService::networkManager(true);
    EXPECT_EQ(mobileData.unavailable(), std::nullopt);
}

class RoamingBusTest : public PlanActionsBusTest {
protected:
    void SetUp() override
    {
        mm = test::startModemManager();
        test::addModem(*mm, test::kModem0, 1, "Tele Nord");
        source = ModemRoamingSource::start(ModemRegistrationWatch::Dispatch::OwnContext);
        ASSERT_NE(source, nullptr);
        t.env.roaming = source.get();
        // As the resident sampler does: what was used before a change is booked under the old state.
        source->setBeforeChange([this] { m->updateTrafficInformation(false); });
        m->setNewPlanValue(1'000'000'000);
        use(0);
    }
    void registration(std::uint32_t state)
    {
        test::setRegistration(*mm, test::kModem0, state);
        source->watch().dispatchUntil([&] { return source->watch().modems()[0].registrationState == state; });
    }
    std::uint64_t roamingToday() const { return m->history().getRoamingTrafficToday(); }

    std::unique_ptr<MockService> mm;
    std::unique_ptr<ModemRoamingSource> source;
};

TEST_F(RoamingBusTest, BytesBookedWhileRoamingCountApart)
{
    EXPECT_EQ(source->operatorName(), "Tele Nord");
    std::uint64_t roaming = 0;
    for (std::uint32_t state : {5u, 1u, 7u, 2u, 10u, 1u}) {
        registration(state);
        use(1000);
        if (state == 5 || state == 7 || state == 10) {
            roaming += 1000;
        }
        EXPECT_EQ(roamingToday(), roaming) << "registration " << state;
    }
    EXPECT_EQ(m->history().getTrafficTodayCount(), 6000u);
    EXPECT_EQ(m->getRoamingUsed(), 3000u);
}

TEST_F(RoamingBusTest, AChangeSplitsTheIntervalBetweenSamples)
{
    registration(5);
    counter += 4000;  // used abroad, not yet sampled
    t.counters.set("wwan0", counter, 0);
    registration(1);  // home again: the change books the 4000 first
    use(600);
    EXPECT_EQ(roamingToday(), 4000u);
    EXPECT_EQ(m->history().getTrafficTodayCount(), 4600u);
}

}  // namespace
}  // namespace quorvel
