// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace quorvel {

// Hands `quorvelctl chart ...` to the chart renderer program beside the running one.
class CtlChartProgram {
public:
    static constexpr const char* kName = "quorvelctl-chart";
    // Replaces this process by the renderer with the same arguments; returns 1 (after one line on
    // `err`) only when the renderer cannot be started.
    static int exec(const std::vector<std::string>& arguments, std::ostream& err);
};

}  // namespace quorvel
