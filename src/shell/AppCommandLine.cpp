// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/AppCommandLine.hpp"

#include <algorithm>

#include "platform/Translation.hpp"

namespace quorvel {

std::optional<int> AppCommandLine::answer(const std::vector<std::string>& args, std::ostream& out)
{
    const auto given = [&](std::initializer_list<const char*> names) {
        return std::any_of(args.begin() + std::min<std::size_t>(1, args.size()), args.end(), [&](const std::string& a) {
            return std::find(names.begin(), names.end(), a) != names.end();
        });
    };
    if (given({"--help", "-h", "--help-all"})) {
        out << helpText();
        return 0;
    }
    if (given({"--version", "-v"})) {
        out << versionText() << "\n";
        return 0;
    }
    return std::nullopt;
}

std::string AppCommandLine::versionText()
{
    return std::string("quorvel ") + QUORVEL_VERSION;
}

std::string AppCommandLine::helpText()
{
    return _("Usage: quorvel [--version] [--help]\n"
           "\n"
           "Quorvel counts the mobile data this computer uses and shows it against your plan.\n"
           "Without options it opens the window (or brings the open one to the front).\n"
           "\n"
           "  --version  print the version and exit\n"
           "  --help     print this help and exit\n"
           "\n"
           "Everything the window does can also be done from a terminal with quorvelctl;\n"
           "see \"quorvelctl --help\" and the manual pages quorvel(1) and quorvelctl(1).\n");
}

}  // namespace quorvel
