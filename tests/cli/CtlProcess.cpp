// SPDX-License-Identifier: GPL-3.0-or-later
// Starting programs from the command-line tests: quorvelctl on a home directory of its own, and
// `ip` for the network namespaces. Each test file declares the few functions it uses.
//
// A home directory holds everything one quorvelctl installation reads and writes:
//   <home>/data/quorvel/statestg     (XDG_DATA_HOME=<home>/data)
//   <home>/config/quorvel/defaults.json
//   <home>/state/quorvel/bglog
//   <home>/counters                  the interface counters it samples (QUORVEL_COUNTERS)
//   <home>/boot_id                   the boot it runs in (QUORVEL_BOOT_ID_FILE); none: unknown
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <thread>
#include <filesystem>
#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "CtlProcess.hpp"

extern char** environ;

namespace quorvel::clitest {

namespace {

// The test's own environment without the variables that choose quorvelctl's files and counters,
// plus `extra` ("NAME=value"), so that no run ever touches the real user's files.
std::vector<std::string> childEnvironment(const std::vector<std::string>& extra)
{
    static const std::array<std::string, 7> kReplaced = {"HOME=", "XDG_DATA_HOME=", "XDG_CONFIG_HOME=",
                                                          "XDG_STATE_HOME=", "QUORVEL_COUNTERS=",
                                                          "QUORVEL_BOOT_ID_FILE=", "DBUS_SYSTEM_BUS_ADDRESS="};
    std::vector<std::string> out;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& prefix : kReplaced) {
            replaced = replaced || entry.starts_with(prefix);
        }
        if (!replaced) {
            out.push_back(entry);
        }
    }
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> out;
    for (std::string& s : strings) {
        out.push_back(s.data());
    }
    out.push_back(nullptr);
    return out;
}

int exitCode(int status)
{
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

}  // namespace

// Runs a program to its end (looked up in PATH when the name has no slash). Returns its exit code,
// 128 + the signal when a signal ended it, or -1 when it could not be started.
int runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env, std::string& out,
               std::string& err)
{
    out.clear();
    err.clear();
    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0) {
        return -1;
    }
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    std::vector<std::string> args = argv;
    std::vector<std::string> envs = childEnvironment(env);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, pointers(args).data(), pointers(envs).data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);

    // Both pipes are drained together, so that a child filling one never blocks on it.
    std::array<pollfd, 2> fds = {pollfd{outPipe[0], POLLIN, 0}, pollfd{errPipe[0], POLLIN, 0}};
    std::array<std::string*, 2> sinks = {&out, &err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buf[4096];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd& p : fds) {
        if (p.fd >= 0) {
            ::close(p.fd);
        }
    }
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return exitCode(status);
}

// Starts a program with its standard output and error written to two files ("/dev/null" discards)
// and returns its process id (-1 on failure); the caller waits for it or kills it.
pid_t startProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   const std::string& outFile, const std::string& errFile)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> args = argv;
    std::vector<std::string> envs = childEnvironment(env);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, pointers(args).data(), pointers(envs).data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

// Waits for a started program; the same codes as runProcess.
int waitForProcess(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return exitCode(status);
}

std::vector<std::string> ctlEnvironment(const std::filesystem::path& home)
{
    return {"HOME=" + home.string(), "XDG_DATA_HOME=" + (home / "data").string(),
            "XDG_CONFIG_HOME=" + (home / "config").string(), "XDG_STATE_HOME=" + (home / "state").string(),
            "QUORVEL_COUNTERS=" + (home / "counters").string(),
            "QUORVEL_BOOT_ID_FILE=" + (home / "boot_id").string(),
            // No system bus: the machine's NetworkManager and ModemManager stay out of the tests.
            "DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + (home / "no-system-bus").string()};
}

// quorvelctl on the files and counters of `home`.
int runCtl(const std::filesystem::path& home, const std::vector<std::string>& args, std::string& out,
           std::string& err)
{
    std::vector<std::string> argv = {QUORVEL_CTL};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProcess(argv, ctlEnvironment(home), out, err);
}

pid_t startCtl(const std::filesystem::path& home, const std::vector<std::string>& args, const std::string& outFile,
               const std::string& errFile)
{
    std::vector<std::string> argv = {QUORVEL_CTL};
    argv.insert(argv.end(), args.begin(), args.end());
    return startProcess(argv, ctlEnvironment(home), outFile, errFile);
}

// quorvelctl on `home` with its standard output on a pipe; `outFd` receives the pipe's reading end,
// which the caller closes. Standard error goes to <home>/stderr.
pid_t startCtlPiped(const std::filesystem::path& home, const std::vector<std::string>& args, int& outFd)
{
    int fds[2];
    outFd = -1;
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, (home / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> argv = {QUORVEL_CTL};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envs = childEnvironment(ctlEnvironment(home));
    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers(argv).data(), pointers(envs).data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return -1;
    }
    outFd = fds[0];
    return pid;
}

::testing::AssertionResult waitForText(const std::filesystem::path& file, const std::string& text)
{
    for (int i = 0; i < 2000; ++i) {
        if (readFile(file).find(text) != std::string::npos) {
            return ::testing::AssertionSuccess();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return ::testing::AssertionFailure() << "no \"" << text << "\" in " << file << ": " << readFile(file);
}

}  // namespace quorvel::clitest
