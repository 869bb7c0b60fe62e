// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileLock.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

#include "platform/Fd.hpp"
#include "platform/Paths.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

int FileLock::openLockFile(const std::filesystem::path& lockFile, std::optional<std::string>& refused)
{
    std::error_code ec;
    Paths::createPrivateFolders(lockFile.parent_path(), ec);
    // Another user who can write the folder must not make us lock (or create) a file elsewhere.
    Fd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (fd.get() < 0 && errno == ELOOP) {
        refused = Translation::fill(_("cannot lock %s: a symbolic link, not a lock file"), {lockFile.string()});
        return -1;
    }
    if (fd.get() < 0 && errno == EISDIR) {
        refused = Translation::fill(_("cannot lock %s: %s"), {lockFile.string(), std::strerror(EISDIR)});
        return -1;
    }
    struct stat st{};
    if (fd.get() >= 0 && (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))) {
        refused = Translation::fill(_("cannot lock %s: not a regular file"), {lockFile.string()});
        return -1;
    }
    return fd.release();
}

FileLock::FileLock(const std::filesystem::path& lockFile)
{
    fd_ = openLockFile(lockFile, problem_);
    if (fd_ < 0) {
        return;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
}

FileLock::~FileLock()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

}  // namespace quorvel
