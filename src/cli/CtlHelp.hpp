// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct CtlArguments;

// The one description of quorvelctl's commands: `--help`, `help COMMAND` and the manual pages
// (CtlManPage) are all printed from these tables, so they cannot drift apart.
class CtlHelp {
public:
    struct Option {
        std::string name;      // "--plan"
        std::string argument;  // "MB", empty for a flag
        std::string text;
    };
    struct Command {
        std::string name;
        std::vector<std::string> synopsis;  // each a way to call it, without the program name
        std::string summary;                // one line for the overview
        std::string description;            // a paragraph, wrapped when printed
        std::vector<Option> options;
    };
    struct Entry {  // an exit code, a file or an environment variable
        std::string name;
        std::string text;
    };

    static const std::vector<Command>& commands();
    static const Command* find(std::string_view name);
    static const std::vector<Entry>& exitCodes();
    static const std::vector<Entry>& files();
    static const std::vector<Entry>& environment();
    static const char* version();  // the project's version, "0.1.0"

    // The overview for `quorvelctl --help`, and one command's help.
    static std::string usage();
    static std::string commandHelp(const Command& c);
    // Answers `help [COMMAND]` and `--version`: the exit code.
    static int answer(const CtlArguments& a, std::ostream& out, std::ostream& err);

    // `text` broken into lines of at most `width` columns, each begun by `indent` spaces.
    static std::string wrap(std::string_view text, std::size_t indent, std::size_t width = 79);
    // The columns `text` takes on a terminal: its UTF-8 code points, so that an accented
    // letter counts once.
    static std::size_t columns(std::string_view text);
};

}  // namespace quorvel
