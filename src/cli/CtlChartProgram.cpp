// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlChartProgram.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "platform/ProgramPath.hpp"

namespace quorvel {

int CtlChartProgram::exec(const std::vector<std::string>& arguments, std::ostream& err)
{
    const std::filesystem::path program = ProgramPath::beside(kName);
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    err.flush();
    ::execv(argv[0], argv.data());
    err << "quorvelctl: cannot start " << program.string() << ": " << std::strerror(errno) << "\n";
    return 1;
}

}  // namespace quorvel
