// SPDX-License-Identifier: GPL-3.0-or-later
// The files of the background watcher: its login entry and its one-per-user lock.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TestEnv.hpp"
#include "platform/AutostartEntry.hpp"
#include "platform/InstanceLock.hpp"
#include "platform/StoredFile.hpp"
#include "platform/WatcherLauncher.hpp"

namespace {

using quorvel::AutostartEntry;
using quorvel::InstanceLock;
using quorvel::test::TempDir;

TEST(AutostartEntry, ExecWordsKeepAnyPathOneArgument)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/usr/bin/quorvelctl", "/usr/bin/quorvelctl"},
        {"/home/me/My Apps/quorvelctl", "\"/home/me/My Apps/quorvelctl\""},
        {"/opt/a\"b/q", "\"/opt/a\\\"b/q\""},
        {"/opt/$HOME/q", "\"/opt/\\$HOME/q\""},
        {"/opt/a\\b/q", "\"/opt/a\\\\b/q\""},
        {"/opt/`x`/q", "\"/opt/\\`x\\`/q\""},
        {"/opt/100%/q", "/opt/100%%/q"},  // a lone % would be a field code
        {"/opt/(x)/q", "\"/opt/(x)/q\""},
        {"", "\"\""},
    };
    for (const auto& [word, expected] : cases) {
        EXPECT_EQ(AutostartEntry::execWord(word), expected) << word;
    }
    // The file's own string escaping comes on top: a backslash is written twice again.
    EXPECT_NE(AutostartEntry::contents("/opt/a\\b/q").find("\nExec=\"/opt/a\\\\\\\\b/q\" watch\n"), std::string::npos);
}

TEST(AutostartEntry, NamesTheProgramByNameOnlyWhenThePathFindsThatVeryProgram)
{
    TempDir dir;
    const auto program = [&](const std::string& rel) {
        const std::filesystem::path p = dir.path() / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p) << "#!/bin/sh\n";
        return p;
    };
    const std::filesystem::path installed = program("usr/bin/quorvelctl");
    const std::filesystem::path build = program("build/app/quorvelctl");
    const std::string usrBin = (dir.path() / "usr/bin").string();
    const std::string buildApp = (dir.path() / "build/app").string();
    const std::string missing = (dir.path() / "none").string();

    EXPECT_EQ(AutostartEntry::launchName(installed, (missing + ":" + usrBin).c_str()), "quorvelctl");
    // A build tree's program keeps its path, also when an installed one of the same name is found.
    EXPECT_EQ(AutostartEntry::launchName(build, usrBin.c_str()), build);
    EXPECT_EQ(AutostartEntry::launchName(installed, (buildApp + ":" + usrBin).c_str()), installed);
    EXPECT_EQ(AutostartEntry::launchName(installed, nullptr), installed);
    EXPECT_EQ(AutostartEntry::launchName(installed, ""), installed);
    // A link on the PATH to the program is the same program.
    std::filesystem::create_directories(dir.path() / "links");
    std::filesystem::create_symlink(installed, dir.path() / "links/quorvelctl");
    EXPECT_EQ(AutostartEntry::launchName(installed, (dir.path() / "links").c_str()), "quorvelctl");
}

TEST(AutostartEntry, InstallAndRemoveAreIdempotent)
{
    TempDir dir;
    const AutostartEntry entry(dir.path() / "autostart" / "w.desktop");
    EXPECT_FALSE(entry.present());
    EXPECT_TRUE(entry.remove());
    ASSERT_TRUE(entry.install("/usr/bin/quorvelctl"));
    ASSERT_TRUE(entry.install("/usr/bin/quorvelctl"));
    EXPECT_TRUE(entry.present());
    EXPECT_EQ(quorvel::StoredFile(dir.path() / "autostart" / "w.desktop").read(),
              AutostartEntry::contents("/usr/bin/quorvelctl"));
    EXPECT_TRUE(entry.remove());
    EXPECT_FALSE(entry.present());
}

TEST(InstanceLock, OneHolderAtATimeAndFreedWithIt)
{
    TempDir dir;
    const auto file = dir.path() / "sub" / "watch.lock";
    {
        const InstanceLock first(file);
        EXPECT_EQ(first.state(), InstanceLock::State::Held);
        // A second open of the file is another holder, as another process would be.
        const InstanceLock second(file);
        EXPECT_EQ(second.state(), InstanceLock::State::HeldElsewhere);
    }
    const InstanceLock again(file);
    EXPECT_EQ(again.state(), InstanceLock::State::Held);

    // Below a plain file no lock file can be made: not mistaken for another holder.
    ASSERT_TRUE(quorvel::StoredFile(dir.path() / "plain").write("x"));
    const InstanceLock nowhere(dir.path() / "plain" / "watch.lock");
    EXPECT_EQ(nowhere.state(), InstanceLock::State::Unavailable);
}

TEST(WatcherLauncher, StartsTheWatcherOnlyWhenNoneHoldsTheLock)
{
    TempDir dir;
    const auto lock = dir.path() / "watch.lock";
    const auto ran = dir.path() / "ran";
    const auto program = dir.path() / "fake-ctl";
    // A stand-in program that notes how it was called and from which session.
    ASSERT_TRUE(quorvel::StoredFile(program).write("#!/bin/sh\necho \"$*\" $(ps -o sid= -p $$) > '" + ran.string() +
                                                   ".tmp' && mv '" + ran.string() + ".tmp' '" + ran.string() + "'\n"));
    std::filesystem::permissions(program, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    {
        const InstanceLock running(lock);
        EXPECT_EQ(quorvel::WatcherLauncher::startIfNone(lock, program),
                  quorvel::WatcherLauncher::Outcome::AlreadyRunning);
    }
    ASSERT_EQ(quorvel::WatcherLauncher::startIfNone(lock, program), quorvel::WatcherLauncher::Outcome::Started);
    for (int i = 0; i < 2000 && !std::filesystem::exists(ran); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));  // waits for the start, asserts no time
    }
    std::istringstream words(quorvel::StoredFile(ran).read().value_or(""));
    std::string argument;
    long session = 0;
    words >> argument >> session;
    EXPECT_EQ(argument, "watch");
    EXPECT_NE(session, static_cast<long>(::getsid(0))) << "the watcher runs in a session of its own";
}

// Where the user has a service manager, the watcher is its service, in the user's session's tree
// of processes rather than loose beside it.
TEST(WatcherLauncher, RunsAsTheUsersServiceWhereTheUserHasAServiceManager)
{
    const int probe = std::system("systemctl --user is-system-running >/dev/null 2>&1 || "
                                  "systemctl --user is-system-running 2>/dev/null | grep -q degraded");
    if (probe != 0) {
        GTEST_SKIP() << "no systemd --user instance here; the detached start is what runs";
    }
    TempDir dir;
    const auto lock = dir.path() / "watch.lock";
    const auto ran = dir.path() / "ran";
    const auto program = dir.path() / "fake-ctl";
    ASSERT_TRUE(quorvel::StoredFile(program).write("#!/bin/sh\ncat /proc/$$/cgroup > '" + ran.string() + ".tmp' && mv '" +
                                                   ran.string() + ".tmp' '" + ran.string() + "'\n"));
    std::filesystem::permissions(program, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    ASSERT_EQ(quorvel::WatcherLauncher::startIfNone(lock, program), quorvel::WatcherLauncher::Outcome::Started);
    for (int i = 0; i < 2000 && !std::filesystem::exists(ran); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));  // waits for the start, asserts no time
    }
    EXPECT_NE(quorvel::StoredFile(ran).read().value_or("").find(std::string(quorvel::WatcherLauncher::kUnit) + ".service"),
              std::string::npos);
}

}  // namespace
