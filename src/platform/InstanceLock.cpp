#include "platform/InstanceLock.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <system_error>

namespace quorvel {

InstanceLock::InstanceLock(const std::filesystem::path& lockFile)
{
    std::error_code ec;
    std::filesystem::create_directories(lockFile.parent_path(), ec);
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
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
    errno = error;
}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0) {
        ::close(fd_);  // closing the last descriptor releases the lock
    }
}

}  // namespace quorvel
