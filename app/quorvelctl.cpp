// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <string>
#include <vector>

#include "cli/QuorvelCtl.hpp"
#include "platform/Translation.hpp"

int main(int argc, char** argv)
{
    quorvel::Translation::setUp();
    quorvel::QuorvelCtl ctl(quorvel::Paths::fromEnvironment(), std::cout, std::cerr);
    return ctl.run(std::vector<std::string>(argv + 1, argv + argc));
}
