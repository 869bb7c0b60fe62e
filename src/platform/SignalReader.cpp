// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SignalReader.hpp"

#include <sys/signalfd.h>
#include <unistd.h>

namespace quorvel {

SignalReader::SignalReader(std::initializer_list<int> signals, Reads reads) : reads_(reads)
{
    sigemptyset(&set_);
    for (const int s : signals) {
        sigaddset(&set_, s);
    }
    blocked_ = ::sigprocmask(SIG_BLOCK, &set_, nullptr) == 0;
    if (blocked_) {
        fd_ = ::signalfd(-1, &set_, SFD_CLOEXEC | (reads == Reads::NonBlocking ? SFD_NONBLOCK : 0));
    }
}

SignalReader::~SignalReader()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (blocked_) {
        ::sigprocmask(SIG_UNBLOCK, &set_, nullptr);
    }
}

void SignalReader::drain() const
{
    // One read takes one signal. A blocking descriptor is read once: poll said one is there,
    // and a second read could wait for ever.
    signalfd_siginfo taken;
    while (fd_ >= 0 && ::read(fd_, &taken, sizeof taken) == static_cast<ssize_t>(sizeof taken) &&
           reads_ == Reads::NonBlocking) {
    }
}

}  // namespace quorvel
