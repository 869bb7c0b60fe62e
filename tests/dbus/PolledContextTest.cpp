// SPDX-License-Identifier: GPL-3.0-or-later
// A poll() loop that waits without a timeout of its own still ends a call that is never answered
// (NetworkManager played by dbusmock, stopped): the context's deadline wakes it through its
// descriptors; and a call that is answered wakes it with the reply.
#include <gtest/gtest.h>
#include <poll.h>

#include <optional>
#include <string>

#include "MockBus.hpp"
#include "platform/dbus/PolledContext.hpp"

namespace quorvel {
namespace {

using test::kNetworkManagerInterface;
using test::kNetworkManagerPath;
using test::MockService;

class PolledContextTest : public test::SystemBusTest {
protected:
    // Asks NetworkManager for a property from `context` and runs the loop until the call ends;
    // the error's message, or "" for a reply.
    std::string getProperty(PolledContext& context, int timeoutMs)
    {
        GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, nullptr);
        EXPECT_NE(bus, nullptr);
        std::optional<std::string> outcome;
        {
            const PolledContext::Default scope(context);
            g_dbus_connection_call(bus, kNetworkManagerInterface, kNetworkManagerPath,
                                   "org.freedesktop.DBus.Properties", "Get",
                                   g_variant_new("(ss)", kNetworkManagerInterface, "WwanEnabled"), nullptr,
                                   G_DBUS_CALL_FLAGS_NONE, timeoutMs, nullptr, &finished, &outcome);
        }
        std::vector<pollfd> fds = context.descriptors();
        while (!outcome) {
            // Bounded only so that a loop nothing wakes fails instead of hanging.
            const int ready = ::poll(fds.data(), fds.size(), 120'000);
            if (ready <= 0) {
                ADD_FAILURE() << "nothing woke the loop";
                break;
            }
            context.dispatch();
        }
        g_object_unref(bus);
        return outcome.value_or("");
    }
    static void finished(GObject* bus, GAsyncResult* result, gpointer data)
    {
        GError* error = nullptr;
        GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
        auto* outcome = static_cast<std::optional<std::string>*>(data);
        if (reply != nullptr) {
            g_variant_unref(reply);
            *outcome = "";
            return;
        }
        *outcome = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT) ? "timed out" : error->message;
        g_error_free(error);
    }
};

TEST_F(PolledContextTest, TheCallsTimeoutWakesALoopThatWaitsForEvents)
{
    auto nm = MockService::networkManager(true);
    PolledContext context;
    nm->freeze();
    EXPECT_EQ(getProperty(context, 200), "timed out");
    nm->thaw();
    EXPECT_EQ(getProperty(context, 60'000), "");
}

}  // namespace
}  // namespace quorvel
