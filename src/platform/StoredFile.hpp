#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvel {

// The I/O boundary for one persisted file (the state file, the user defaults): reads it whole,
// writes it atomically (temporary file, fsync, rename, mode 0600), remembers which version it
// last read or wrote so that a change by another process can be noticed, and moves an
// unreadable file aside instead of deleting it. Failures are logged once per streak; the caller
// keeps its data in memory and tries again later.
class StoredFile {
public:
    // Which version of the file is on disk: a rename gives a new inode, so any rewrite shows.
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t mtimeNs = 0;
        friend bool operator==(const Identity&, const Identity&) = default;
    };

    explicit StoredFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // The whole file, or absent when it does not exist or cannot be read.
    std::optional<std::string> read();
    // Atomic replace; false when it failed (logged once per streak).
    bool write(const std::string& bytes);
    // Whether the file on disk is another version than the one last read or written here.
    bool changedSinceLastSync() const;
    // Renames an unreadable file to "<name>.unreadable-<time>" and logs why, once.
    void moveAside(const std::string& why);

    bool exists() const;

private:
    std::optional<Identity> currentIdentity() const;
    void reportFailure(const std::string& what, int error);
    void sweepTemporaries();

    std::filesystem::path path_;
    std::optional<Identity> lastSync_;
    bool failing_ = false;
    bool sweptTemporaries_ = false;
};

}  // namespace quorvel
