// SPDX-License-Identifier: GPL-3.0-or-later
// ModemManager's registrations read through its object manager and followed through its
// signals (dbusmock on a private system bus): roaming for 5, 7 and 10, the operator's name.
#include <gtest/gtest.h>

#include <poll.h>

#include "ModemManagerMock.hpp"
#include "platform/dbus/ModemManagerClient.hpp"
#include "platform/dbus/ModemRegistrationWatch.hpp"

namespace quorvel {
namespace {

using test::MockService;

class ModemManagerClientTest : public test::SystemBusTest {};
class ModemRegistrationWatchTest : public test::SystemBusTest {};

constexpr const char* kRoot = test::kModemManagerRoot;
using test::addModem;
constexpr const char* k3gpp = test::kModem3gpp;
using test::kModem0;
using test::setRegistration;
using test::startModemManager;

TEST(ModemManagerClient, RoamingStates)
{
    // Idle, home, searching, denied, unknown, roaming, home SMS only, roaming SMS only,
    // emergency only, home CSFB not preferred, roaming CSFB not preferred, attached RLOS.
    for (std::uint32_t state = 0; state <= 11; ++state) {
        EXPECT_EQ(ModemManagerClient::isRoaming(state), state == 5 || state == 7 || state == 10) << state;
    }
    EXPECT_FALSE(ModemManagerClient::anyRoaming({}));
    EXPECT_FALSE(ModemManagerClient::anyRoaming({{"/m/0", std::nullopt, "Op"}, {"/m/1", 1u, std::nullopt}}));
    EXPECT_TRUE(ModemManagerClient::anyRoaming({{"/m/0", 1u, std::nullopt}, {"/m/1", 10u, std::nullopt}}));
}

TEST_F(ModemManagerClientTest, ReadsRegistrationAndOperatorOfEveryModem)
{
    EXPECT_EQ(ModemManagerClient::modems(), std::nullopt);

    auto mm = startModemManager();
    {
        const auto none = ModemManagerClient::modems();
        ASSERT_TRUE(none.has_value());
        EXPECT_TRUE(none->empty());
    }
    addModem(*mm, kModem0, 1, "Tele Nord");
    // A SIM beside the modem is no modem; a modem without 3GPP tells nothing of its registration.
    mm->control(kRoot, "AddObject",
                "('/org/freedesktop/ModemManager1/SIM/0', 'org.freedesktop.ModemManager1.Sim',"
                " {'OperatorName': <'SIM'>}, @a(ssss) [])");
    mm->control(kRoot, "AddObject",
                "('/org/freedesktop/ModemManager1/Modem/1', 'org.freedesktop.ModemManager1.Modem',"
                " {'State': <int32 8>}, @a(ssss) [])");

    for (std::uint32_t state : {5u, 7u, 10u, 1u}) {
        setRegistration(*mm, kModem0, state);
        const auto modems = ModemManagerClient::modems();
        ASSERT_TRUE(modems.has_value());
        ASSERT_EQ(modems->size(), 2u);
        EXPECT_EQ((*modems)[0].path, kModem0);
        EXPECT_EQ((*modems)[0].registrationState, state);
        EXPECT_EQ((*modems)[0].operatorName, "Tele Nord");
        EXPECT_EQ((*modems)[1].registrationState, std::nullopt);
        EXPECT_EQ((*modems)[1].operatorName, std::nullopt);
        EXPECT_EQ(ModemManagerClient::anyRoaming(*modems), state != 1) << state;
    }
}

// Waits on the watch's descriptors as a program with its own poll loop would, without a timeout:
// a signal that never wakes the loop hangs the test, which then fails by the test's time limit.
void pollUntil(ModemRegistrationWatch& watch, const std::function<bool()>& done)
{
    std::vector<pollfd> fds = watch.descriptors();
    ASSERT_FALSE(fds.empty());
    while (!done()) {
        ASSERT_GT(poll(fds.data(), fds.size(), -1), 0);
        watch.dispatch();
    }
    // Nothing left to read: a resident sampler must not wake up again and again for nothing.
    EXPECT_EQ(poll(fds.data(), fds.size(), 0), 0);
}

TEST_F(ModemRegistrationWatchTest, FollowsRegistrationChangesFromAPollLoop)
{
    auto mm = startModemManager();
    addModem(*mm, kModem0, 1, "Tele Nord");
    int changes = 0;
    auto watch = ModemRegistrationWatch::start(ModemRegistrationWatch::Dispatch::OwnContext, [&] { ++changes; });
    ASSERT_NE(watch, nullptr);
    ASSERT_EQ(watch->modems().size(), 1u);
    EXPECT_EQ(watch->modems()[0].operatorName, "Tele Nord");
    EXPECT_FALSE(watch->roaming());

    for (std::uint32_t state : {5u, 1u, 7u, 2u, 10u}) {
        setRegistration(*mm, kModem0, state);
        pollUntil(*watch, [&] { return watch->modems()[0].registrationState == state; });
        EXPECT_EQ(watch->roaming(), ModemManagerClient::isRoaming(state)) << state;
    }
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(watch->modems()[0].operatorName, "Tele Nord");  // a change of one field keeps the other
}

TEST_F(ModemRegistrationWatchTest, FollowsModemsAndModemManagerComingAndGoing)
{
    auto watch = ModemRegistrationWatch::start(ModemRegistrationWatch::Dispatch::OwnContext);
    ASSERT_NE(watch, nullptr);
    EXPECT_TRUE(watch->modems().empty());  // not running: nothing known, and no failure

    auto mm = startModemManager();
    addModem(*mm, kModem0, 5, "Roam Air");
    watch->dispatchUntil([&] { return watch->modems().size() == 1; });
    EXPECT_TRUE(watch->roaming());
    EXPECT_EQ(watch->modems()[0].operatorName, "Roam Air");

    mm->control(kRoot, "EmitSignal",
                "('org.freedesktop.DBus.ObjectManager', 'InterfacesRemoved', 'oas',"
                " [<objectpath '" + std::string(kModem0) + "'>, <['org.freedesktop.ModemManager1.Modem', '" +
                    k3gpp + "']>])");
    watch->dispatchUntil([&] { return watch->modems().empty(); });
    EXPECT_FALSE(watch->roaming());

    addModem(*mm, "/org/freedesktop/ModemManager1/Modem/1", 7, "Roam Air");
    watch->dispatchUntil([&] { return watch->roaming(); });
    mm.reset();  // ModemManager stops: what it said no longer holds
    watch->dispatchUntil([&] { return watch->modems().empty(); });
    EXPECT_FALSE(watch->roaming());
}

}  // namespace
}  // namespace quorvel
