// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace quorvel {

// An exclusive advisory lock (flock) on a lock file, held for the object's lifetime. It is the
// one-writer rule across processes: the GUI and a background sample never update at once.
class FileLock {
public:
    // Blocks until the lock is held. When the lock file cannot be created or opened the lock is
    // not held (held() is false) and the caller proceeds alone, as a program without a writable
    // data directory has nothing to protect. A lock file that is not a regular file of its own
    // (a symbolic link, a FIFO, a folder) is refused: problem() says why.
    explicit FileLock(const std::filesystem::path& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return fd_ >= 0; }
    const std::optional<std::string>& problem() const { return problem_; }

    // Opens (creating it 0600, in private folders) a lock file without following a symbolic
    // link or blocking; -1 and `refused` set with the path and the reason when the file is not a
    // regular file, -1 alone (errno set) when it cannot be opened at all.
    static int openLockFile(const std::filesystem::path& lockFile, std::optional<std::string>& refused);

private:
    int fd_ = -1;
    std::optional<std::string> problem_;
};

}  // namespace quorvel
