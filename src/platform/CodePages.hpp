// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// The resident pages of Quorvel's own code and constants in a process that lives for days but
// works only for moments: the watcher runs its start-up once and a sample now and then, and
// every page it ever ran would stay mapped between them. Unmapped, they stay in the page cache
// (the next wake-up maps them again without reading the disk), but the kernel may reclaim what
// no process maps, and the process holds only what it runs.
// Only the segments that nothing ever writes are unmapped (code, constants, symbol tables): their
// pages are the file's. The data and the relocated constants are the process's own and stay.
class CodePages {
public:
    // Unmaps the resident pages of the program's and of its loaded modules' read-only segments.
    // Nothing is done while a debugger is attached (its breakpoints live in those pages) or
    // for an object with text relocations. Returns how many bytes of address space were handed
    // back.
    static unsigned long releaseOwn();

    // The same for the one loaded object whose segments contain `address`.
    static unsigned long releaseObjectAt(const void* address);
};

}  // namespace quorvel
