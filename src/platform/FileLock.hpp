#pragma once
#include <filesystem>

namespace quorvel {

// An exclusive advisory lock (flock) on a lock file, held for the object's lifetime. It is the
// one-writer rule across processes: the GUI and a background sample never update at once.
class FileLock {
public:
    // Blocks until the lock is held. When the lock file cannot be opened the lock is not held
    // (held() is false) and the caller proceeds alone, as a program without a writable data
    // directory has nothing to protect.
    explicit FileLock(const std::filesystem::path& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace quorvel
