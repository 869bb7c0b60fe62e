// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// The command line of quorvelctl, split into a command, its words and its options, and checked
// against what each command accepts. Values are not interpreted here.
struct CtlArguments {
    std::string command;                        // "status", "set", ...
    std::vector<std::string> words;             // "plan", "500" for `set plan 500`
    std::map<std::string, std::string> options; // "--plan" -> "500"; flags map to ""
    // `--sim ID`, anywhere on the line: the SIM whose plan the command acts on.
    std::optional<std::string> sim = {};

    bool has(const std::string& option) const { return options.count(option) != 0; }
    std::optional<std::string> value(const std::string& option) const;

    // The parsed command line, or an error text for the usage message.
    struct Parsed;
    static Parsed parse(const std::vector<std::string>& argv);
    static std::string usage();
};

struct CtlArguments::Parsed {
    std::optional<CtlArguments> arguments;
    std::string error;
};

}  // namespace quorvel
