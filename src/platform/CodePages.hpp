// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

namespace quorvel {

// The resident pages of Quorvel's own code and constants in a process that lives for days but
// works only for moments: the watcher runs its start-up once and a sample now and then, and
// every page it ever ran would stay mapped between them. Unmapped, they stay in the page cache
// (the next wake-up maps them again without reading the disk), but the kernel may reclaim what
// no process maps, and the process holds only what it runs.
// Only the segments that nothing ever writes are unmapped (code, constants, symbol tables): their
// pages are the file's. The data and the relocated constants are the process's own and stay.
// What runs while the process waits stays mapped too: the return into it, unmapped, would map
// its neighbours again with it. The link gathers that code between two symbols (the program's
// own, and each module's as LoadableModule names them).
class CodePages {
public:
    struct Span {
        std::uintptr_t begin = 0;
        std::uintptr_t end = 0;
        bool operator==(const Span&) const = default;
    };

    // Unmaps the resident pages of the program's and of its loaded modules' read-only segments.
    // Nothing is done while a debugger is attached (its breakpoints live in those pages) or
    // for an object with text relocations. Returns how many bytes of address space were handed
    // back.
    static unsigned long releaseOwn();

    // The same for the one loaded object whose segments contain `address`.
    static unsigned long releaseObjectAt(const void* address);

    // What of `segment` may be unmapped: its whole pages (rounded inwards, where a kernel's pages
    // are larger than the file's alignment an edge page can be shared with written data next to
    // it) but the pages that `kept` touches. None, one or two spans; `page` a power of two.
    static std::vector<Span> releasable(Span segment, Span kept, std::uintptr_t page);
};

}  // namespace quorvel
