// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// The pages of the main thread's stack below the caller's frame, in a process that waits for
// hours between moments of work: a sample runs deep (the state's parser and writer), and every
// page it touched would stay resident, dirty, while nothing lives there. Unmapped, they come back
// zeroed when the stack grows again.
class StackPages {
public:
    // Unmaps the whole pages of the main thread's stack from its lowest mapped page up to a
    // margin below the caller's frame (for the calls it still makes).
    // Returns how many bytes were handed back; 0 on another thread or where the stack is not
    // found.
    static unsigned long releaseBelowCaller();
};

}  // namespace quorvel
