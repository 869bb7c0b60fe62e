// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <ostream>
#include <string_view>

namespace quorvel {

// What went wrong, said the way command-line tools say it: one line on standard error, after the
// program's name, so that a script's log tells which program spoke. Flushed at once: the watcher's
// standard error is a journal that should show the line when it happens.
class CtlProblem {
public:
    static void say(std::ostream& err, std::string_view text) { err << "quorvelctl: " << text << std::endl; }
    // The same for a command refused before it changed anything; its exit code (1).
    static int refuse(std::ostream& err, std::string_view text)
    {
        say(err, text);
        return kRefused;
    }
    static constexpr int kRefused = 1;
};

}  // namespace quorvel
