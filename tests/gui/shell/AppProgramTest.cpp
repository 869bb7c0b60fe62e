// SPDX-License-Identifier: GPL-3.0-or-later
// The application program as a user starts it from a terminal: `--version` and `--help` answer
// without a display, a bus or a home of their own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <glib.h>

#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;

struct AppRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The program with nothing of a session: no display, no bus, a home that does not exist.
AppRun runApp(const std::string& option)
{
    std::vector<std::string> args{QUORVEL_APP, option};
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> env{"PATH=/usr/bin:/bin", "HOME=/nonexistent", "LANG=C.UTF-8"};
    std::vector<char*> envp;
    for (auto& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    AppRun r;
    gchar* out = nullptr;
    gchar* err = nullptr;
    GError* error = nullptr;
    const bool started = g_spawn_sync(nullptr, argv.data(), envp.data(), G_SPAWN_DEFAULT, nullptr, nullptr, &out,
                                      &err, &r.status, &error);
    EXPECT_TRUE(started) << (error != nullptr ? error->message : "");
    g_clear_error(&error);
    r.out = out != nullptr ? out : "";
    r.err = err != nullptr ? err : "";
    g_free(out);
    g_free(err);
    return r;
}

TEST(AppProgram, VersionAndHelpNeedNoDisplayAndNameTheCommandLine)
{
    const AppRun version = runApp("--version");
    EXPECT_TRUE(g_spawn_check_wait_status(version.status, nullptr)) << version.err;
    EXPECT_EQ(version.out, std::string("quorvel ") + QUORVEL_VERSION + "\n");
    EXPECT_EQ(version.err, "");

    const AppRun help = runApp("--help");
    EXPECT_TRUE(g_spawn_check_wait_status(help.status, nullptr)) << help.err;
    EXPECT_THAT(help.out, HasSubstr("Usage: quorvel"));
    EXPECT_THAT(help.out, HasSubstr("--version"));
    EXPECT_THAT(help.out, HasSubstr("quorvelctl --help"));
    EXPECT_EQ(help.err, "");
}

}  // namespace
