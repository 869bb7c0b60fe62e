#include "cli/CtlChartProgram.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>

namespace quorvel {

int CtlChartProgram::exec(const std::vector<std::string>& arguments, std::ostream& err)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path program = (ec ? std::filesystem::path() : self.parent_path()) / kName;
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
