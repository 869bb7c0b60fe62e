// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvel {

// The I/O boundary for one persisted file (the state file, the user defaults): reads it whole,
// writes it atomically (temporary file, fsync, rename, mode 0600, in folders it creates 0700),
// remembers which version it last read or wrote so that a change by another process can be
// noticed, and moves an unparsable or oversized file aside instead of deleting it. A file that
// exists but cannot be opened, or is not a regular file, is never written over. Failures are
// logged once per streak and kept as problem() until a read or write succeeds; the caller keeps
// its data in memory and tries again later.
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

    // Far above the largest real state (about 10 KB): anything bigger is not ours, and is
    // refused before it is read into memory.
    static constexpr std::int64_t kMaxBytes = 1 << 20;

    explicit StoredFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // The whole file, or absent when it does not exist, cannot be opened or is not a regular
    // file (blocked() from then on), or is larger than kMaxBytes (moved aside).
    std::optional<std::string> read();
    // Atomic replace; false when it failed (logged once per streak) or the file is blocked. When
    // the file on disk is the version last read or written here and holds these very bytes, it
    // is left as it is.
    bool write(const std::string& bytes);
    // The file exists but the last read could not open it (permissions, a folder in its
    // place): it is left as it is and not written over until a read succeeds.
    bool blocked() const { return blocked_; }
    // Why the file could not be read or saved last time, with its path; absent once a read or
    // write went through.
    const std::optional<std::string>& problem() const { return problem_; }
    // Whether the file on disk is another version than the one last read or written here.
    bool changedSinceLastSync() const;
    // Renames an unreadable file to "<name>.unreadable-<time>" and logs why, once.
    void moveAside(const std::string& why);

    bool exists() const;

    // Refuses every write with `why` as the problem until called with nothing: what guards the
    // file (its one-writer lock) cannot be trusted.
    void refuseWrites(std::optional<std::string> why);

    // Beside the file, "<name>.tmp-XXXXXX" while a write is under way.
    static constexpr const char* kTemporaryInfix = ".tmp-";

private:
    std::optional<Identity> currentIdentity() const;
    // `what` is a translated text whose two "%s" take the path and the reason.
    void reportFailure(const std::string& what, int error);
    void reportFailure(const std::string& what, const std::string& why);
    void succeeded();
    void forget();
    // The file on disk is the version last read or written here, mode 0600, with these bytes.
    bool holds(const std::string& bytes) const;
    std::optional<std::string> readOpened(int fd);
    // A new temporary file beside the file, locked; -1 (errno set) when none can be made.
    int createTemporary(std::string& name) const;
    // Removes the temporary files that no writer holds any more.
    void sweepTemporaries() const;

    std::filesystem::path path_;
    std::optional<Identity> lastSync_;
    std::optional<std::string> lastBytes_;  // the contents of that version
    bool failing_ = false;
    bool blocked_ = false;
    std::optional<std::string> problem_;
    std::optional<std::string> refusal_;
};

}  // namespace quorvel
