// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StackPages.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace quorvel {

namespace {

// Beyond the frames of the calls made below the caller's while the pages go: the system calls'
// wrappers. (The watcher takes its signals through a descriptor: none lands on this stack.)
constexpr std::uintptr_t kMargin = 8 * 1024;

// The lowest address of the mapping named [stack] in /proc/self/maps, 0 if there is none. Read
// with plain calls into a buffer of the stack's own: this runs while the process waits.
std::uintptr_t stackBottom()
{
    const int fd = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    char buffer[4096];
    std::size_t kept = 0;
    std::uintptr_t bottom = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer + kept, sizeof buffer - 1 - kept);
        if (got <= 0) {
            break;
        }
        kept += static_cast<std::size_t>(got);
        buffer[kept] = '\0';
        char* line = buffer;
        for (char* end; (end = std::strchr(line, '\n')) != nullptr; line = end + 1) {
            *end = '\0';
            if (std::strstr(line, "[stack]") != nullptr) {
                bottom = std::strtoull(line, nullptr, 16);
            }
        }
        kept = static_cast<std::size_t>(buffer + kept - line);
        std::memmove(buffer, line, kept);  // the unfinished line, to be completed
    }
    ::close(fd);
    return bottom;
}

}  // namespace

unsigned long StackPages::releaseBelowCaller()
{
    if (::getpid() != ::gettid()) {
        return 0;  // another thread's stack is not [stack]
    }
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    const std::uintptr_t bottom = stackBottom();
    const std::uintptr_t end = (here - kMargin) & ~(page - 1);
    if (bottom == 0 || here < bottom + kMargin || end <= bottom) {
        return 0;
    }
    return ::madvise(reinterpret_cast<void*>(bottom), end - bottom, MADV_DONTNEED) == 0 ? end - bottom : 0;
}

}  // namespace quorvel
