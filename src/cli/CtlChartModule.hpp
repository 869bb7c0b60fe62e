// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Paths.hpp"

namespace quorvel {

// Runs `quorvelctl chart ...` in the chart module (quorvel-chart.so), loaded only by that command:
// the module holds the page renderer with its text and drawing libraries (Cairo, Pango,
// fontconfig), which the sampling commands, run every few minutes in the background, never load.
// The module runs the whole command on the same files, as its own command line.
class CtlChartModule {
public:
    using Entry = int (*)(const Paths& paths, const std::vector<std::string>& arguments, std::ostream& out,
                          std::ostream& err);
    static constexpr const char* kFile = "quorvel-chart.so";
    static constexpr const char* kEntry = "quorvel_chart_run";

    // The command's exit code; 1 (after one line on `err`) when the module cannot be loaded.
    static int run(const Paths& paths, const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err);
};

}  // namespace quorvel
