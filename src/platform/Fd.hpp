// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <unistd.h>

#include <utility>

namespace quorvel {

// Closes a file descriptor on every path out of its scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

}  // namespace quorvel
