// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StoredFile.hpp"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>
#include <utility>

#include "platform/Fd.hpp"
#include "platform/Log.hpp"
#include "platform/Paths.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

StoredFile::Identity identityOf(const struct stat& st)
{
    return StoredFile::Identity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                                static_cast<std::int64_t>(st.st_size),
                                static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

bool writeAll(int fd, const std::string& bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

StoredFile::StoredFile(std::filesystem::path path) : path_(std::move(path)) {}

bool StoredFile::exists() const
{
    struct stat st{};
    return ::stat(path_.c_str(), &st) == 0;
}

std::optional<StoredFile::Identity> StoredFile::currentIdentity() const
{
    struct stat st{};
    if (::stat(path_.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return identityOf(st);
}

std::optional<std::string> StoredFile::read()
{
    // Without blocking: a FIFO in the file's place would otherwise wait for a writer for ever.
    Fd fd(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        forget();
        if (errno == ENOENT) {
            blocked_ = false;  // only a missing file means starting fresh
            problem_.reset();
            return std::nullopt;
        }
        blocked_ = true;
        reportFailure(_("cannot read %s: %s"), errno);
        return std::nullopt;
    }
    return readOpened(fd.get());
}

std::optional<std::string> StoredFile::readOpened(int fd)
{
    struct stat st{};
    const int error = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    if (error != 0 || !S_ISREG(st.st_mode)) {
        forget();
        blocked_ = true;
        reportFailure(_("cannot read %s: %s"), error != 0 ? std::strerror(error) : _("not a regular file"));
        return std::nullopt;
    }
    // Worded only when it is so: every status bar's call reads this file.
    const auto tooLarge = [] { return Translation::fill(_("larger than %s KiB"), {std::to_string(kMaxBytes / 1024)}); };
    if (st.st_size > kMaxBytes) {
        moveAside(tooLarge());
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            forget();
            blocked_ = true;
            reportFailure(_("cannot read %s: %s"), errno);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buf, static_cast<std::size_t>(n));
        if (bytes.size() > static_cast<std::size_t>(kMaxBytes)) {  // it grew while being read
            moveAside(tooLarge());
            return std::nullopt;
        }
    }
    lastSync_ = identityOf(st);  // of the very version just read, even if it was replaced meanwhile
    lastBytes_ = bytes;
    succeeded();
    return bytes;
}

void StoredFile::forget()
{
    lastSync_.reset();
    lastBytes_.reset();
}

void StoredFile::succeeded()
{
    failing_ = false;
    blocked_ = false;
    problem_.reset();
}

bool StoredFile::holds(const std::string& bytes) const
{
    struct stat st{};
    return lastSync_ && lastBytes_ == bytes && ::stat(path_.c_str(), &st) == 0 && identityOf(st) == *lastSync_ &&
           (st.st_mode & 07777) == 0600;
}

bool StoredFile::write(const std::string& bytes)
{
    if (refusal_) {
        reportFailure(_("cannot write %s: %s"), *refusal_);
        return false;
    }
    if (blocked_) {
        return false;  // what is there could not be read: it is kept, never replaced unseen
    }
    if (holds(bytes)) {
        succeeded();  // a sample that changed nothing costs no disk write and no fsync
        return true;
    }
    if (bytes.size() > static_cast<std::size_t>(kMaxBytes)) {
        // Written, it would be moved aside as damaged at the next start: the old file is kept.
        reportFailure(_("cannot write %s: %s"), EFBIG);
        return false;
    }
    std::error_code ec;
    Paths::createPrivateFolders(path_.parent_path(), ec);
    std::string tmp;
    Fd fd(createTemporary(tmp));
    if (fd.get() < 0) {
        reportFailure(_("cannot write %s: %s"), errno);
        return false;
    }
    // The temporary file stays open, and so locked, until it has its final name.
    const bool ok = ::fchmod(fd.get(), 0600) == 0 && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 &&
                    ::rename(tmp.c_str(), path_.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        ::unlink(tmp.c_str());
        reportFailure(_("cannot write %s: %s"), error);
        return false;
    }
    // Make the rename itself durable.
    Fd dir(::open(path_.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        ::fsync(dir.get());
    }
    lastSync_ = currentIdentity();
    lastBytes_ = bytes;
    succeeded();
    sweepTemporaries();
    return true;
}

int StoredFile::createTemporary(std::string& name) const
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        name = path_.string() + kTemporaryInfix + "XXXXXX";
        Fd fd(::mkostemp(name.data(), O_CLOEXEC));
        if (fd.get() < 0) {
            return -1;
        }
        if (::flock(fd.get(), LOCK_EX) != 0) {
            const int error = errno;
            ::unlink(name.c_str());
            errno = error;
            return -1;
        }
        // A sweep may have taken it between its creation and the lock: then take another.
        struct stat byName{};
        struct stat byFd{};
        if (::stat(name.c_str(), &byName) == 0 && ::fstat(fd.get(), &byFd) == 0 && byName.st_ino == byFd.st_ino &&
            byName.st_dev == byFd.st_dev) {
            return fd.release();
        }
    }
    errno = EAGAIN;
    return -1;
}

void StoredFile::sweepTemporaries() const
{
    // A writer killed between creating its temporary file and renaming it leaves the file
    // behind. A live writer holds the lock of its temporary file until the rename, whichever
    // process it is, so one that can be locked belongs to nobody.
    const std::string prefix = path_.filename().string() + kTemporaryInfix;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path_.parent_path(), ec)) {
        if (!entry.path().filename().string().starts_with(prefix)) {
            continue;
        }
        Fd fd(::open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st{};
        if (fd.get() >= 0 && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlink(entry.path().c_str());
        }
    }
}

void StoredFile::refuseWrites(std::optional<std::string> why)
{
    refusal_ = std::move(why);
}

bool StoredFile::changedSinceLastSync() const
{
    return currentIdentity() != lastSync_;
}

void StoredFile::moveAside(const std::string& why)
{
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%S", &tm);
    std::filesystem::path aside = path_.string() + ".unreadable-" + stamp;
    for (int i = 1; std::filesystem::exists(aside); ++i) {
        aside = path_.string() + ".unreadable-" + stamp + "-" + std::to_string(i);
    }
    if (::rename(path_.c_str(), aside.c_str()) != 0) {
        // Kept where it is, and not written over: the damaged bytes may still be all there is.
        blocked_ = true;
        const std::string error = std::strerror(errno);
        problem_ = Translation::fill(_("%s is unreadable (%s) and could not be moved aside (%s)"),
                                     {path_.string(), why, error});
        Log::line(*problem_ + "; starting with defaults");
        return;
    }
    forget();
    Log::line(path_.string() + " is unreadable (" + why + "); moved it to " + aside.string() +
              " and started with defaults");
}

void StoredFile::reportFailure(const std::string& what, int error)
{
    reportFailure(what, std::strerror(error));
}

void StoredFile::reportFailure(const std::string& what, const std::string& why)
{
    problem_ = Translation::fill(what.c_str(), {path_.string(), why});
    if (!failing_) {
        Log::line(*problem_);
    }
    failing_ = true;
}

}  // namespace quorvel
