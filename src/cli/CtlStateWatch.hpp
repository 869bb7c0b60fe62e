// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>

#include "platform/SignalReader.hpp"

namespace quorvel {

// Waits for the state file to be replaced (it is saved by renaming a new file over it) or for
// SIGTERM/SIGINT, without polling: inotify on the state's folder and a signalfd. While a watch
// exists, those two signals are blocked and only end the wait.
class CtlStateWatch {
public:
    enum class Event { Changed, Stopped, Failed };

    explicit CtlStateWatch(const std::filesystem::path& stateFile);
    ~CtlStateWatch();
    CtlStateWatch(const CtlStateWatch&) = delete;
    CtlStateWatch& operator=(const CtlStateWatch&) = delete;

    // Empty when the watch is set up; otherwise why it could not be.
    const std::string& error() const { return error_; }
    // Blocks until the next change of the state file, a stopping signal, or a failure (error()
    // then says what failed, for instance the folder was removed).
    Event next();

private:
    bool changedIn(const char* events, std::size_t size);

    std::string name_;
    std::string error_;
    SignalReader signals_;
    int inotify_ = -1;
};

}  // namespace quorvel
