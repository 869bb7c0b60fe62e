// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CodePages.hpp"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "platform/LoadableModule.hpp"

// The program's span of waiting code, where its link gathered one (no symbol otherwise).
extern "C" {
extern const char quorvel_waiting_text_begin[] __attribute__((weak, visibility("hidden")));
extern const char quorvel_waiting_text_end[] __attribute__((weak, visibility("hidden")));
}

namespace quorvel {

namespace {

struct Search {
    std::uintptr_t address = 0;
    bool program = false;  // the main program, which dl_iterate_phdr names first
    CodePages::Span kept;
    unsigned long released = 0;
};

std::uintptr_t at(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}

bool contains(const dl_phdr_info* info, std::uintptr_t address)
{
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& p = info->dlpi_phdr[i];
        const std::uintptr_t start = info->dlpi_addr + p.p_vaddr;
        if (p.p_type == PT_LOAD && address >= start && address - start < p.p_memsz) {
            return true;
        }
    }
    return false;
}

// Text relocations would have written into code pages; unmapping them would undo the writes.
bool hasTextRelocations(const dl_phdr_info* info)
{
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type != PT_DYNAMIC) {
            continue;
        }
        const auto* d = reinterpret_cast<const ElfW(Dyn)*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
        for (; d->d_tag != DT_NULL; ++d) {
            if (d->d_tag == DT_TEXTREL || (d->d_tag == DT_FLAGS && (d->d_un.d_val & DF_TEXTREL) != 0)) {
                return true;
            }
        }
    }
    return false;
}

unsigned long releaseReadOnly(const dl_phdr_info* info, CodePages::Span kept)
{
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    unsigned long released = 0;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& p = info->dlpi_phdr[i];
        if (p.p_type != PT_LOAD || (p.p_flags & PF_W) != 0) {
            continue;
        }
        const std::uintptr_t start = info->dlpi_addr + p.p_vaddr;
        for (const CodePages::Span& s : CodePages::releasable({start, start + p.p_memsz}, kept, page)) {
            if (::madvise(reinterpret_cast<void*>(s.begin), s.end - s.begin, MADV_DONTNEED) == 0) {
                released += s.end - s.begin;
            }
        }
    }
    return released;
}

int releaseMatching(dl_phdr_info* info, std::size_t, void* data)
{
    auto* search = static_cast<Search*>(data);
    const bool match = search->program ? true : contains(info, search->address);
    if (!match) {
        return 0;
    }
    if (!hasTextRelocations(info)) {
        search->released = releaseReadOnly(info, search->kept);
    }
    return 1;  // the first object is the program; an address lies in one object only
}

// Read with plain calls: a stream's code is large, and it would all be mapped again at every
// hand-back. A function of its own: tools/hot-layout cuts the watcher's profile after it.
[[gnu::noinline]] bool traced()
{
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char text[4096];
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    text[got > 0 ? got : 0] = '\0';
    const char* line = std::strstr(text, "\nTracerPid:");
    if (line == nullptr) {
        return false;
    }
    line += std::strlen("\nTracerPid:");
    line += std::strspn(line, " \t");
    return *line != '0' && *line != '\n' && *line != '\0';
}

unsigned long release(Search search)
{
    ::dl_iterate_phdr(releaseMatching, &search);
    return search.released;
}

}  // namespace

unsigned long CodePages::releaseOwn()
{
    if (traced()) {
        return 0;
    }
    unsigned long released =
        release(Search{.program = true, .kept = {at(quorvel_waiting_text_begin), at(quorvel_waiting_text_end)}});
    for (const LoadableModule::Loaded& m : LoadableModule::loaded()) {
        released += release(Search{.address = at(m.entry), .kept = {at(m.waitingBegin), at(m.waitingEnd)}});
    }
    return released;
}

unsigned long CodePages::releaseObjectAt(const void* address)
{
    return traced() ? 0 : release(Search{.address = at(address), .kept = {}});
}

std::vector<CodePages::Span> CodePages::releasable(Span segment, Span kept, std::uintptr_t page)
{
    const std::uintptr_t begin = (segment.begin + page - 1) & ~(page - 1);
    const std::uintptr_t end = segment.end & ~(page - 1);
    if (end <= begin) {
        return {};
    }
    if (kept.end <= kept.begin || kept.end <= begin || kept.begin >= end) {
        return {{begin, end}};
    }
    const std::uintptr_t keptBegin = kept.begin & ~(page - 1);
    const std::uintptr_t keptEnd = (kept.end + page - 1) & ~(page - 1);
    std::vector<Span> spans;
    if (keptBegin > begin) {
        spans.push_back({begin, keptBegin});
    }
    if (keptEnd < end) {
        spans.push_back({keptEnd, end});
    }
    return spans;
}

}  // namespace quorvel
