// SPDX-License-Identifier: GPL-3.0-or-later
// The application program as a user starts it from a terminal: `--version` and `--help` answer
// without a display, a bus or a home of their own; its window starts without WebKit, which only
// the reference page needs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <glib.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
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

// What a command prints on its standard output.
std::string outputOf(const std::string& commandLine)
{
    gchar* out = nullptr;
    int status = -1;
    EXPECT_TRUE(g_spawn_command_line_sync(commandLine.c_str(), &out, nullptr, &status, nullptr)) << commandLine;
    std::string text = out != nullptr ? out : "";
    g_free(out);
    return text;
}

std::string readAll(const std::filesystem::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(AppProgram, LinksNoWebEngine)
{
    const std::string libraries = outputOf(std::string("ldd ") + QUORVEL_APP);
    ASSERT_THAT(libraries, HasSubstr("libgtk-4"));
    EXPECT_THAT(libraries, ::testing::Not(HasSubstr("libwebkit"))) << libraries;
    EXPECT_THAT(libraries, ::testing::Not(HasSubstr("libjavascriptcore"))) << libraries;
}

TEST(AppProgram, TheWindowIsShownWithoutLoadingTheWebEngine)
{
    // The program on this test's display and session bus, with files of its own.
    char pattern[] = "/tmp/quorvel-app-XXXXXX";
    const std::filesystem::path home = ::mkdtemp(pattern);
    std::ofstream(home / "counters") << "wwan0 0 0\n";
    std::vector<std::string> env{"HOME=" + home.string(), "XDG_DATA_HOME=" + (home / "data").string(),
                                 "XDG_CONFIG_HOME=" + (home / "config").string(),
                                 "XDG_STATE_HOME=" + (home / "state").string(),
                                 "XDG_CACHE_HOME=" + (home / "cache").string(), "GSETTINGS_BACKEND=memory",
                                 "QUORVEL_COUNTERS=" + (home / "counters").string(), "LANG=C.UTF-8",
                                 "GDK_BACKEND=x11", "GSK_RENDERER=cairo", "GTK_A11Y=none", "NO_AT_BRIDGE=1"};
    for (const char* name : {"DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "PATH", "TZ"}) {
        if (const char* value = std::getenv(name)) {
            env.push_back(std::string(name) + "=" + value);
        }
    }
    std::vector<char*> envp;
    for (auto& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::string program = QUORVEL_APP;
    char* argv[] = {program.data(), nullptr};
    GPid pid = 0;
    ASSERT_TRUE(g_spawn_async(nullptr, argv, envp.data(), G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, nullptr));

    // Its window on the display: a readiness check, the bound only keeps a broken start from hanging.
    const std::string tree = "xwininfo -root -tree";
    bool shown = false;
    for (int i = 0; i < 600 && !shown; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        shown = outputOf(tree).find("(\"quorvel\"") != std::string::npos;
    }
    const std::string maps = readAll("/proc/" + std::to_string(pid) + "/maps");
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    g_spawn_close_pid(pid);
    std::filesystem::remove_all(home);

    ASSERT_TRUE(shown) << outputOf(tree);
    ASSERT_THAT(maps, HasSubstr("libgtk-4"));
    EXPECT_THAT(maps, ::testing::Not(HasSubstr("libwebkit")));
    EXPECT_THAT(maps, ::testing::Not(HasSubstr("quorvel-reference.so")));
}

}  // namespace
