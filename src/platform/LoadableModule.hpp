// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

namespace quorvel {

// A shared module of Quorvel's own, loaded on first use so that the commands which never need
// its libraries (GIO, ICU) do not pay for loading them. Installed modules live in the
// library directory's quorvel/ folder, found relative to the program (/proc/self/exe), so a moved
// prefix keeps working; QUORVEL_MODULE_DIR names another folder, and programs of the build tree
// find them where the build puts them.
// A module stays loaded until the process ends: the libraries it pulls in keep threads and
// type registrations that must not be unloaded.
class LoadableModule {
public:
    // Loads `fileName` and returns its entry point `entry`; nullptr with the reason in `why`.
    static void* entryPoint(const char* fileName, const char* entry, std::string& why);
    // A loaded module as the code that hands its pages back sees it: an address inside it (its
    // entry point), and the span of its code that runs while its process waits, which its link
    // gathers between the symbols below (both null when it gathered none).
    struct Loaded {
        const void* entry = nullptr;
        const void* waitingBegin = nullptr;
        const void* waitingEnd = nullptr;
    };
    static constexpr const char* kWaitingBegin = "quorvel_waiting_text_begin";
    static constexpr const char* kWaitingEnd = "quorvel_waiting_text_end";
    // The modules loaded so far, one entry each.
    static std::vector<Loaded> loaded();
};

}  // namespace quorvel
