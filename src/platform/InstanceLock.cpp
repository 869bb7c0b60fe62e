// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstanceLock.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/FileLock.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

InstanceLock::InstanceLock(const std::filesystem::path& lockFile)
{
    std::optional<std::string> refused;
    fd_ = FileLock::openLockFile(lockFile, refused);
    if (fd_ < 0) {
        const std::string error = std::strerror(errno);
        problem_ = refused.value_or(Translation::fill(_("cannot open %s: %s"), {lockFile.string(), error}));
        return;
    }
    int r = 0;
    while ((r = ::flock(fd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (r == 0) {
        state_ = State::Held;
        return;
    }
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    state_ = error == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    if (state_ == State::Unavailable) {
        problem_ = Translation::fill(_("cannot lock %s: %s"), {lockFile.string(), std::strerror(error)});
    }
}

void InstanceLock::recordHolder() const
{
    if (state_ != State::Held) {
        return;
    }
    const std::string id = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) == 0) {
        // A lock file that cannot take the id only means `watch --stop` cannot find the holder.
        [[maybe_unused]] const ssize_t written = ::pwrite(fd_, id.data(), id.size(), 0);
    }
}

std::optional<pid_t> InstanceLock::holder(const std::filesystem::path& lockFile)
{
    const InstanceLock probe(lockFile);
    if (probe.state() != State::HeldElsewhere) {
        return std::nullopt;  // free (now held by the probe, for its lifetime), or unreadable
    }
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return std::nullopt;
    }
    char text[32] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    char* end = nullptr;
    const long id = n > 0 ? std::strtol(text, &end, 10) : 0;
    if (id <= 0 || end == text) {
        return std::nullopt;
    }
    return static_cast<pid_t>(id);
}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0) {
        ::close(fd_);  // closing the last descriptor releases the lock
    }
}

}  // namespace quorvel
