// SPDX-License-Identifier: GPL-3.0-or-later
#include <poll.h>

#include <csignal>

#include <gtest/gtest.h>

#include "platform/SignalReader.hpp"

namespace quorvel {
namespace {

bool blocked(int signal)
{
    sigset_t now;
    ::sigprocmask(SIG_BLOCK, nullptr, &now);
    return sigismember(&now, signal) == 1;
}

bool readable(int fd, int milliseconds)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, milliseconds) == 1;
}

TEST(SignalReader, ASignalWaitsAsDataUntilTakenAndIsUnblockedWhenTheReaderGoes)
{
    for (const auto reads : {SignalReader::Reads::Blocking, SignalReader::Reads::NonBlocking}) {
        {
            const SignalReader reader({SIGUSR1, SIGUSR2}, reads);
            ASSERT_GE(reader.fd(), 0);
            EXPECT_TRUE(blocked(SIGUSR1) && blocked(SIGUSR2));
            EXPECT_FALSE(readable(reader.fd(), 0));
            ::raise(SIGUSR2);  // would end the process if it were not blocked
            EXPECT_TRUE(readable(reader.fd(), 1000));
            reader.drain();
            EXPECT_FALSE(readable(reader.fd(), 0)) << "taken, so that unblocking does not deliver it";
        }
        EXPECT_FALSE(blocked(SIGUSR1) || blocked(SIGUSR2));
    }
}

}  // namespace
}  // namespace quorvel
