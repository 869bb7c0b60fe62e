// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <string>
#include <vector>

#include "cli/QuorvelCtl.hpp"
#include "cli/chart/CtlChart.hpp"

// `quorvelctl chart ...` runs here: the same command line, with the page renderer.
int main(int argc, char** argv)
{
    quorvel::QuorvelCtl ctl(quorvel::Paths::fromEnvironment(), std::cout, std::cerr,
                            [] { return std::make_unique<quorvel::CtlChart>(); });
    return ctl.run(std::vector<std::string>(argv + 1, argv + argc));
}
