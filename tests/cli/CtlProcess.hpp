// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting programs from the command-line tests (CtlProcess.cpp): quorvelctl on a home
// directory of its own, and `ip` for the network namespaces.
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace quorvel::clitest {

// Runs a program to its end (looked up in PATH when the name has no slash). Returns its exit
// code, 128 + the signal when a signal ended it, or -1 when it could not be started.
int runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env, std::string& out,
               std::string& err);
pid_t startProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   const std::string& outFile, const std::string& errFile);
int waitForProcess(pid_t pid);
// The variables that put quorvelctl's files and counters below `home`.
std::vector<std::string> ctlEnvironment(const std::filesystem::path& home);
// quorvelctl on the files and counters of `home`.
int runCtl(const std::filesystem::path& home, const std::vector<std::string>& args, std::string& out,
           std::string& err);
pid_t startCtl(const std::filesystem::path& home, const std::vector<std::string>& args, const std::string& outFile,
               const std::string& errFile);
// quorvelctl on `home`, its standard output read by the caller from `outFd`.
pid_t startCtlPiped(const std::filesystem::path& home, const std::vector<std::string>& args, int& outFd);

// Every byte the day records hold, from the output of `quorvelctl export --json`.
inline std::uint64_t exportedBytes(const nlohmann::json& exported)
{
    std::uint64_t sum = 0;
    for (const auto& month : exported.at("months")) {
        for (const auto& day : month.at("days")) {
            sum += day.at("bytes").get<std::uint64_t>();
        }
    }
    return sum;
}

// What `watch` says once its first sample is taken (a sample that books nothing saves nothing).
constexpr const char* kWatcherReady = "Watching the network links";

// Waits until a started program has written `text` to `file` (a readiness line, not a timing:
// the bound only keeps a broken program from hanging the test).
::testing::AssertionResult waitForText(const std::filesystem::path& file, const std::string& text);

inline std::string readFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace quorvel::clitest
