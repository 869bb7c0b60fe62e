// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the manual pages quorvelctl.1 and quorvel.1 into the folder given, at build time.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/CtlManPage.hpp"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: quorvel-manpages FOLDER\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "quorvelctl.1") << quorvel::CtlManPage::quorvelctl();
    std::ofstream(dir / "quorvel.1") << quorvel::CtlManPage::quorvel();
    for (const char* page : {"quorvelctl.1", "quorvel.1"}) {
        if (std::filesystem::file_size(dir / page) == 0) {
            std::cerr << "quorvel-manpages: cannot write " << (dir / page).string() << "\n";
            return 1;
        }
    }
    return 0;
}
