// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel {

// What `quorvel` answers on its own, before any display, bus or file is touched: `--version`
// and `--help`. Anything else is the application's to take.
class AppCommandLine {
public:
    // The exit code when the arguments were answered here, else nothing.
    static std::optional<int> answer(const std::vector<std::string>& args, std::ostream& out);
    static std::string versionText();
    static std::string helpText();
};

}  // namespace quorvel
