// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>

namespace quorvel {

// Starts the background watcher (`program watch`) for a window when none runs for the user. Where
// the user has a service manager (systemd --user) the watcher runs as a service of it,
// "quorvel-watch-window.service": it outlives the window, not the user's session, and
// `systemctl --user` shows and stops it. Without one it is detached in a session of its own, with
// its output discarded; init reaps it.
class WatcherLauncher {
public:
    enum class Outcome { Started, AlreadyRunning, Failed };
    static constexpr const char* kUnit = "quorvel-watch-window";
    // `watchLock` is the lock the running watcher holds.
    static Outcome startIfNone(const std::filesystem::path& watchLock, const std::filesystem::path& program);
};

}  // namespace quorvel
