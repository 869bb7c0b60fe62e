// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>

namespace quorvel {

// Starts the background watcher (`program watch`) for a window when none runs for the user:
// detached in a session of its own, so that it outlives the window and its terminal, with its
// output discarded; init reaps it.
class WatcherLauncher {
public:
    enum class Outcome { Started, AlreadyRunning, Failed };
    // `watchLock` is the lock the running watcher holds.
    static Outcome startIfNone(const std::filesystem::path& watchLock, const std::filesystem::path& program);
};

}  // namespace quorvel
