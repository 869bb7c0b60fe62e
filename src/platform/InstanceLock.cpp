// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstanceLock.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/FileLock.hpp"

namespace quorvel {

InstanceLock::InstanceLock(const std::filesystem::path& lockFile)
{
    std::optional<std::string> refused;
    fd_ = FileLock::openLockFile(lockFile, refused);
    if (fd_ < 0) {
        problem_ = refused.value_or("cannot open " + lockFile.string() + ": " + std::strerror(errno));
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
        problem_ = "cannot lock " + lockFile.string() + ": " + std::strerror(error);
    }
}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0) {
        ::close(fd_);  // closing the last descriptor releases the lock
    }
}

}  // namespace quorvel
