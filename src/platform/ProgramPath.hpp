// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>

namespace quorvel {

// Where the running program is installed, for starting its companions by full path.
struct ProgramPath {
    // The running executable; empty when /proc is not mounted.
    static std::filesystem::path self();
    // `name` in the running program's directory (a bare name when that is unknown).
    static std::filesystem::path beside(const char* name);
};

}  // namespace quorvel
