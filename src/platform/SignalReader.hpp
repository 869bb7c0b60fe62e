// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <initializer_list>

#include <signal.h>

namespace quorvel {

// Turns stopping signals into readable data: blocks them for the process (before the descriptor
// exists, so that one arriving in between is queued, not lost) and reads them through a
// signalfd. The signals are unblocked again when the reader goes.
class SignalReader {
public:
    enum class Reads { Blocking, NonBlocking };

    SignalReader(std::initializer_list<int> signals, Reads reads);
    ~SignalReader();
    SignalReader(const SignalReader&) = delete;
    SignalReader& operator=(const SignalReader&) = delete;

    // The descriptor to poll; −1 when the signals could not be blocked or read.
    int fd() const { return fd_; }
    // Takes the signals waiting, so that they neither wake a poll again nor arrive at unblocking.
    void drain() const;

private:
    Reads reads_;
    sigset_t set_;
    bool blocked_ = false;
    int fd_ = -1;
};

}  // namespace quorvel
