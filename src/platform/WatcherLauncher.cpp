// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WatcherLauncher.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "platform/InstanceLock.hpp"

extern "C" char** environ;

namespace quorvel {

namespace {

int waitFor(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// The user's service manager runs the watcher as a transient service; false where there is none
// (no systemd, or no user instance of it: systemd-run then fails at once). The window starts it
// while it opens, so it waits only for the manager to take the job, not for the job to run.
bool startAsUserService(const std::string& program)
{
    std::vector<std::string> words = {"systemd-run", "--user", "--quiet", "--collect", "--no-block",
                                      std::string("--unit=") + WatcherLauncher::kUnit,
                                      "--description=Quorvel: count mobile data in the background",
                                      "--property=StandardOutput=null"};
    // The service manager's environment is not the window's: the watcher gets the window's
    // folders, language, time zone and Quorvel's own settings, so that it counts into the same files.
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        for (const std::string_view prefix : {"XDG_", "QUORVEL_", "LANG", "LC_", "TZ=", "HOME="}) {
            if (entry.starts_with(prefix)) {
                words.push_back("--setenv=" + std::string(entry));
                break;
            }
        }
    }
    words.push_back(program);
    words.push_back("watch");
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        return false;
    }
    const int status = waitFor(child);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

WatcherLauncher::Outcome WatcherLauncher::startIfNone(const std::filesystem::path& watchLock,
                                                      const std::filesystem::path& program)
{
    if (InstanceLock(watchLock).state() == InstanceLock::State::HeldElsewhere) {
        return Outcome::AlreadyRunning;
    }
    if (startAsUserService(program.string())) {
        return Outcome::Started;
    }
    // Everything the child needs is made before fork: after it, in a process with threads, only
    // async-signal-safe calls are allowed.
    std::string path = program.string();
    std::string word = "watch";
    char* const argv[] = {path.data(), word.data(), nullptr};
    const pid_t child = ::fork();
    if (child < 0) {
        return Outcome::Failed;
    }
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {  // the watcher: its parent ends at once, init adopts it
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                ::dup2(null, 0);
                ::dup2(null, 1);
                ::dup2(null, 2);
            }
            ::execv(path.c_str(), argv);
        }
        ::_exit(0);
    }
    waitFor(child);
    return Outcome::Started;
}

}  // namespace quorvel
