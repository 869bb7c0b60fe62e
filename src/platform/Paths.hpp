// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <system_error>

namespace quorvel {

// Where Quorvel keeps its files, after the XDG base directories.
struct Paths {
    std::filesystem::path stateFile;     // $XDG_DATA_HOME/quorvel/statestg
    std::filesystem::path stateLock;     // beside it: the one-writer lock
    std::filesystem::path defaultsFile;  // $XDG_CONFIG_HOME/quorvel/defaults.json
    std::filesystem::path debugLog;      // $XDG_STATE_HOME/quorvel/bglog
    std::filesystem::path watchLock;     // beside the state: one background watcher per user
    std::filesystem::path autostartEntry;  // $XDG_CONFIG_HOME/autostart/<id>.Watch.desktop

    static constexpr const char* kAutostartFileName = "org.quorvel.Quorvel.Watch.desktop";

    static Paths fromEnvironment();
    // All files inside one directory, for tests.
    static Paths inDirectory(const std::filesystem::path& dir);

    // Creates `dir` and whatever is missing above it with mode 0700, whatever the umask: no
    // other local user may plant or swap a file in them. Folders that exist are left alone.
    static bool createPrivateFolders(const std::filesystem::path& dir, std::error_code& ec);
};

}  // namespace quorvel
