// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>

namespace quorvel {

// The user's XDG autostart entry that starts the background watcher at every login, in any
// session that follows the autostart rules (GNOME, Phosh, Plasma Mobile; with or without
// systemd). Its presence is the setting "Count in the Background".
class AutostartEntry {
public:
    explicit AutostartEntry(std::filesystem::path file) : file_(std::move(file)) {}

    bool present() const;
    // Writes the entry (atomically, replacing an older one) so that it runs `program watch`, by
    // the program's bare name when this process's PATH finds that very program (an installed one):
    // the entry then outlives a reinstall elsewhere on the PATH and never names a build tree.
    // False when it cannot be written; the reason is logged.
    bool install(const std::filesystem::path& program) const;
    // False when an entry exists and cannot be removed; the reason is logged.
    bool remove() const;

    // The desktop file that runs `program watch`.
    static std::string contents(const std::filesystem::path& program);
    // `program`'s file name when the first match of that name in the colon-separated
    // `searchPath` is the same file, otherwise `program` itself.
    static std::filesystem::path launchName(const std::filesystem::path& program, const char* searchPath);
    // One word of an Exec line: quoted and escaped as the desktop entry rules require, so any
    // path comes back as the same single argument.
    static std::string execWord(const std::string& word);

private:
    std::filesystem::path file_;
};

}  // namespace quorvel
