// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace quorvel {

// One resident program of a kind per user: an exclusive advisory lock (flock) on a lock file,
// taken without waiting and held for the object's lifetime. The kernel releases it when the
// process ends, however it ends, so a crashed holder never blocks the next one.
class InstanceLock {
public:
    enum class State { Held, HeldElsewhere, Unavailable };

    explicit InstanceLock(const std::filesystem::path& lockFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Unavailable: the lock file cannot be opened, or is not a regular file (problem() says why,
    // with the path).
    State state() const { return state_; }
    const std::string& problem() const { return problem_; }
    // Held: writes this process's id into the lock file, so that it can be told to stop.
    void recordHolder() const;
    // The process that holds the lock of `lockFile` and recorded itself; nothing when the lock is
    // free (a recorded id left by an ended holder is not believed) or the file cannot be read.
    static std::optional<pid_t> holder(const std::filesystem::path& lockFile);

private:
    int fd_ = -1;
    State state_ = State::Unavailable;
    std::string problem_;
};

}  // namespace quorvel
