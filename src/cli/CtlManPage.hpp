// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace quorvel {

// The manual pages quorvelctl(1) and quorvel(1) in roff (man macros), written from the same
// tables as `quorvelctl --help` (CtlHelp). The build writes them with quorvel-manpages.
class CtlManPage {
public:
    static std::string quorvelctl();
    static std::string quorvel();

    // Text as roff input: backslashes kept, and a line that would start with a control
    // character or a quote made plain.
    static std::string escape(std::string_view text);
    // Options and commands: also every '-' as the minus sign, so that they can be copied.
    static std::string literal(std::string_view text);
};

}  // namespace quorvel
