// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much of a span of this process's memory is mapped, from /proc/self/pagemap: for the tests
// of what hands pages back.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

namespace quorvel::test {

// How many of the pages wholly inside [begin, end) are mapped in this process.
inline std::size_t mappedPages(std::uintptr_t begin, std::uintptr_t end)
{
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const int fd = ::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
    std::size_t mapped = 0;
    for (std::uintptr_t p = (begin + page - 1) / page; p < end / page; ++p) {
        std::uint64_t entry = 0;
        if (::pread(fd, &entry, sizeof entry, static_cast<off_t>(p * sizeof entry)) == sizeof entry) {
            mapped += (entry >> 63) & 1;
        }
    }
    ::close(fd);
    return mapped;
}

inline std::size_t mappedPages(const void* begin, const void* end)
{
    return mappedPages(reinterpret_cast<std::uintptr_t>(begin), reinterpret_cast<std::uintptr_t>(end));
}

}  // namespace quorvel::test
