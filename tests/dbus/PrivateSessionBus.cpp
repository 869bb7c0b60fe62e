// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateSessionBus.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace quorvel::test {

namespace {

using Text = std::unique_ptr<gchar, decltype(&g_free)>;

// RequestName's and ReleaseName's answers that say it was done.
constexpr guint32 kPrimaryOwner = 1;
constexpr guint32 kReleased = 1;
constexpr guint32 kDoNotQueue = 4;

}  // namespace

PrivateSessionBus& PrivateSessionBus::instance()
{
    static PrivateSessionBus bus;
    return bus;
}

PrivateSessionBus::PrivateSessionBus()
{
    Text dir(g_dir_make_tmp("quorvel-session-XXXXXX", nullptr), g_free);
    directory_ = dir.get();
    connection_.reset(startBus({"dbus-daemon", "--session", "--address=unix:dir=" + directory_}, daemon_, address_));
}

PrivateSessionBus::~PrivateSessionBus()
{
    connection_.reset();
    stop(daemon_.get());
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void PrivateSessionBus::own(const std::string& name)
{
    EXPECT_EQ(call("RequestName", g_variant_new("(su)", name.c_str(), kDoNotQueue)), kPrimaryOwner) << name;
}

void PrivateSessionBus::release(const std::string& name)
{
    EXPECT_EQ(call("ReleaseName", g_variant_new("(s)", name.c_str())), kReleased) << name;
}

guint32 PrivateSessionBus::call(const char* method, GVariant* parameters)
{
    GError* raw = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(connection_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", method, parameters, G_VARIANT_TYPE("(u)"),
                                                  G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &raw);
    if (reply == nullptr) {
        ADD_FAILURE() << method << ": " << raw->message;
        g_error_free(raw);
        return 0;
    }
    guint32 code = 0;
    g_variant_get(reply, "(u)", &code);
    g_variant_unref(reply);
    return code;
}

}  // namespace quorvel::test
