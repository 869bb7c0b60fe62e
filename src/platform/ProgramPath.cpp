// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProgramPath.hpp"

#include <system_error>

namespace quorvel {

std::filesystem::path ProgramPath::self()
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : p;
}

std::filesystem::path ProgramPath::beside(const char* name)
{
    return self().parent_path() / name;
}

}  // namespace quorvel
