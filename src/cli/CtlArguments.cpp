// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlArguments.hpp"

#include <algorithm>
#include <set>

#include "cli/CtlHelp.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

struct CommandShape {
    std::size_t words;                   // positional words after the command
    std::set<std::string> flags;         // options without a value
    std::set<std::string> valued;        // options with a value
    std::set<std::string> required;
    std::size_t moreWords = 0;           // words that may follow those
};

const std::map<std::string, CommandShape>& shapes()
{
    static const std::map<std::string, CommandShape> kShapes = {
        {"setup", {0, {}, {"--plan", "--start-day", "--used"}, {"--plan", "--start-day"}}},
        {"status", {0, {"--json", "--oneline", "--waybar", "--watch"}, {"--at"}, {}}},
        {"sample", {0, {"--json", "--notify"}, {"--at"}, {}}},
        {"set", {2, {}, {}, {}}},
        {"reset", {1, {}, {}, {}}},
        {"limits", {0, {}, {"--day", "--month", "--overbound", "--cutoff", "--places"}, {}}},
        {"export", {0, {"--json", "--csv"}, {}, {}}},
        {"import", {0, {"--csv", "--vnstat", "--dry-run", "--settings"}, {"--interface"}, {}, 1}},
        {"watch", {0, {"--stop"}, {"--autostart"}, {}}},
        {"interfaces", {0, {"--json"}, {"--count", "--ignore", "--auto", "--metered"}, {}}},
        {"plan", {0, {"--json", "--monthly", "--daily", "--prepaid"},
                  {"--start-day", "--every", "--from", "--until", "--size", "--rollover", "--free-hours"}, {}}},
        {"addon", {1, {"--json"}, {"--size", "--days", "--from"}, {}, 1}},
        {"sims", {0, {"--json"}, {"--name", "--forget", "--take-over"}, {}, 1}},
        {"chart", {0, {"--year"}, {"--month", "--graph", "--size", "--scale", "--idiom", "--output"}, {"--output"}}},
    };
    return kShapes;
}

bool wordsFit(const CtlArguments& a)
{
    if (a.command == "set") {
        static const std::set<std::string> kWhat = {"plan", "start-day", "used"};
        return kWhat.count(a.words[0]) != 0;
    }
    if (a.command == "reset") {
        return a.words[0] == "locations" || a.words[0] == "previous-months";
    }
    if (a.command == "sims") {
        // `--name ID NAME`: the new name is the one word; nothing else takes a word.
        return a.words.size() == (a.has("--name") ? 1U : 0U);
    }
    if (a.command == "import") {
        // A file to read; vnStat's database has a place of its own.
        return a.words.size() == 1 || a.has("--vnstat");
    }
    if (a.command == "addon") {
        return a.words[0] == "remove" ? a.words.size() == 2 : (a.words[0] == "add" || a.words[0] == "list") && a.words.size() == 1;
    }
    return true;
}

// `--version`, `--help`, `help [TOPIC]` and `COMMAND --help` (for any documented command): the
// command "version" or "help" with the topic as its word.
std::optional<CtlArguments> helpAsked(const std::vector<std::string>& argv)
{
    const std::string& first = argv[0];
    if ((first == "--version" || first == "-V") && argv.size() == 1) {
        return CtlArguments{"version", {}, {}};
    }
    const auto isHelp = [](const std::string& arg) { return arg == "--help" || arg == "-h"; };
    if ((isHelp(first) || first == "help") && argv.size() <= 2) {
        if (argv.size() == 2 && isHelp(argv[1])) {  // `help --help`
            return CtlArguments{"help", {"help"}, {}};
        }
        return CtlArguments{"help", {argv.begin() + 1, argv.end()}, {}};
    }
    const bool wantsHelp = std::any_of(argv.begin() + 1, argv.end(), isHelp);
    if (wantsHelp && CtlHelp::find(first) != nullptr) {
        return CtlArguments{"help", {first}, {}};
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CtlArguments::value(const std::string& option) const
{
    auto it = options.find(option);
    return it == options.end() ? std::nullopt : std::optional<std::string>(it->second);
}

CtlArguments::Parsed CtlArguments::parse(const std::vector<std::string>& given)
{
    std::optional<std::string> sim;
    std::vector<std::string> argv;
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (given[i] == "--sim" || given[i].starts_with("--sim=")) {
            if (sim) {
                return {std::nullopt, _("--sim given twice")};
            }
            if (given[i] == "--sim" && i + 1 >= given.size()) {
                return {std::nullopt, _("option --sim needs a value")};
            }
            sim = given[i] == "--sim" ? given[++i] : given[i].substr(6);
            continue;
        }
        argv.push_back(given[i]);
    }
    if (argv.empty()) {
        return {std::nullopt, _("no command given")};
    }
    if (auto asked = helpAsked(argv)) {
        return {std::move(*asked), {}};
    }
    // The SIMs, the counted interfaces and the resident counter are the device's, not a plan's.
    static const std::set<std::string> kDeviceWide = {"sims", "interfaces", "watch"};
    if (sim && kDeviceWide.count(argv[0]) != 0) {
        return {std::nullopt, Translation::fill(_("--sim does not go with %s"), {argv[0]})};
    }
    auto shape = shapes().find(argv[0]);
    if (shape == shapes().end()) {
        return {std::nullopt, Translation::fill(_("unknown command '%s'"), {argv[0]})};
    }
    CtlArguments a{argv[0], {}, {}};
    const CommandShape& s = shape->second;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        std::string arg = argv[i];
        if (!arg.starts_with("--")) {
            a.words.push_back(arg);
            continue;
        }
        std::optional<std::string> inlineValue;
        if (auto eq = arg.find('='); eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        if (s.flags.count(arg) != 0 && !inlineValue) {
            a.options[arg] = "";
        } else if (s.valued.count(arg) != 0) {
            if (!inlineValue && i + 1 >= argv.size()) {
                return {std::nullopt, Translation::fill(_("option %s needs a value"), {arg})};
            }
            a.options[arg] = inlineValue ? *inlineValue : argv[++i];
        } else {
            return {std::nullopt, Translation::fill(_("unknown option '%s' for %s"), {argv[i], a.command})};
        }
    }
    if (a.words.size() < s.words || a.words.size() > s.words + s.moreWords || !wordsFit(a)) {
        return {std::nullopt, Translation::fill(_("wrong arguments for %s"), {a.command})};
    }
    for (const std::string& r : s.required) {
        if (!a.has(r)) {
            return {std::nullopt, Translation::fill(_("%s needs %s"), {a.command, r})};
        }
    }
    if (int(a.has("--json")) + int(a.has("--name")) + int(a.has("--forget")) + int(a.has("--take-over")) > 1) {
        return {std::nullopt, _("choose one of --json, --name, --forget and --take-over")};
    }
    if (a.has("--json") && a.has("--csv")) {
        return {std::nullopt, _("choose one of --json and --csv")};
    }
    if (a.has("--year") && (a.has("--month") || a.has("--graph"))) {
        return {std::nullopt, _("--year draws the one year page: no --month, no --graph")};
    }
    if (a.has("--vnstat") && (a.has("--csv") || a.has("--settings"))) {
        return {std::nullopt, _("--vnstat reads a database: no --csv, no --settings")};
    }
    if (a.has("--interface") && !a.has("--vnstat")) {
        return {std::nullopt, _("--interface goes with --vnstat")};
    }
    if (a.has("--csv") && a.has("--settings")) {
        return {std::nullopt, _("--settings needs the JSON backup, not CSV")};
    }
    if (int(a.has("--json")) + int(a.has("--oneline")) + int(a.has("--waybar")) > 1) {
        return {std::nullopt, _("choose one of --json, --oneline and --waybar")};
    }
    if (a.has("--watch") && !a.has("--oneline") && !a.has("--waybar")) {
        return {std::nullopt, _("--watch needs --oneline or --waybar")};
    }
    a.sim = std::move(sim);
    return {std::move(a), {}};
}

std::string CtlArguments::usage()
{
    return CtlHelp::usage();
}

}  // namespace quorvel
