// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>

namespace quorvel {

struct Paths;

// The setting "Count in the Background": on while the user's login entry for the watcher
// exists. Turning it on writes the entry and starts a watcher when none runs; turning it off
// only removes the entry, and a running watcher stays until the session ends.
class BackgroundCounting {
public:
    // `program` is the command-line program whose `watch` counts in the background.
    BackgroundCounting(const Paths& paths, std::filesystem::path program);

    bool on() const;
    // Whether the setting is now as asked; a file that cannot be written or removed is logged
    // where it failed and leaves the setting as it was.
    bool setOn(bool on) const;

private:
    std::filesystem::path entry_;
    std::filesystem::path watchLock_;
    std::filesystem::path program_;
};

}  // namespace quorvel
