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
    // Writes the entry (atomically, replacing an older one) so that it runs `program watch`.
    // False when it cannot be written; the reason is logged.
    bool install(const std::filesystem::path& program) const;
    // False when an entry exists and cannot be removed; the reason is logged.
    bool remove() const;

    // The desktop file that runs `program watch`.
    static std::string contents(const std::filesystem::path& program);
    // One word of an Exec line: quoted and escaped as the desktop entry rules require, so any
    // path comes back as the same single argument.
    static std::string execWord(const std::string& word);

private:
    std::filesystem::path file_;
};

}  // namespace quorvel
