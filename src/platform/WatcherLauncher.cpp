// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WatcherLauncher.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/InstanceLock.hpp"

namespace quorvel {

WatcherLauncher::Outcome WatcherLauncher::startIfNone(const std::filesystem::path& watchLock,
                                                      const std::filesystem::path& program)
{
    if (InstanceLock(watchLock).state() == InstanceLock::State::HeldElsewhere) {
        return Outcome::AlreadyRunning;
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
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return Outcome::Started;
}

}  // namespace quorvel
