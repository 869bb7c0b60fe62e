// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CodePages.hpp"

#include <elf.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/LoadableModule.hpp"

namespace quorvel {

namespace {

struct Search {
    std::uintptr_t address = 0;
    bool program = false;  // the main program, which dl_iterate_phdr names first
    unsigned long released = 0;
};

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

// Whole pages only, rounded inwards: where a kernel's pages are larger than the file's alignment,
// a segment's edge page can be shared with the written data next to it.
unsigned long releaseReadOnly(const dl_phdr_info* info)
{
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    unsigned long released = 0;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& p = info->dlpi_phdr[i];
        if (p.p_type != PT_LOAD || (p.p_flags & PF_W) != 0) {
            continue;
        }
        const std::uintptr_t start = info->dlpi_addr + p.p_vaddr;
        const std::uintptr_t begin = (start + page - 1) & ~(page - 1);
        const std::uintptr_t end = (start + p.p_memsz) & ~(page - 1);
        if (end > begin && ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED) == 0) {
            released += end - begin;
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
        search->released = releaseReadOnly(info);
    }
    return 1;  // the first object is the program; an address lies in one object only
}

bool traced()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("TracerPid:")) {
            return line.find_first_not_of(" \t0", 10) != std::string::npos;
        }
    }
    return false;
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
    unsigned long released = release(Search{.program = true});
    for (const void* entry : LoadableModule::loadedEntries()) {
        released += release(Search{.address = reinterpret_cast<std::uintptr_t>(entry)});
    }
    return released;
}

unsigned long CodePages::releaseObjectAt(const void* address)
{
    return traced() ? 0 : release(Search{.address = reinterpret_cast<std::uintptr_t>(address)});
}

}  // namespace quorvel
