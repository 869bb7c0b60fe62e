#include "cli/CtlArguments.hpp"

#include <algorithm>
#include <set>

namespace quorvel {

namespace {

struct CommandShape {
    std::size_t words;                   // positional words after the command
    std::set<std::string> flags;         // options without a value
    std::set<std::string> valued;        // options with a value
    std::set<std::string> required;
};

const std::map<std::string, CommandShape>& shapes()
{
    static const std::map<std::string, CommandShape> kShapes = {
        {"setup", {0, {}, {"--plan", "--start-day", "--used"}, {"--plan", "--start-day"}}},
        {"status", {0, {"--json"}, {"--at"}, {}}},
        {"sample", {0, {"--json", "--notify"}, {"--at"}, {}}},
        {"set", {2, {}, {}, {}}},
        {"reset", {1, {}, {}, {}}},
        {"limits", {0, {}, {"--day", "--month", "--overbound"}, {}}},
        {"export", {0, {"--json", "--csv"}, {}, {}}},
        {"watch", {0, {}, {"--autostart"}, {}}},
        {"interfaces", {0, {"--json"}, {"--count", "--ignore", "--auto", "--metered"}, {}}},
        {"chart", {0, {}, {"--month", "--graph", "--size", "--scale", "--idiom", "--output"}, {"--output"}}},
        {"help", {0, {}, {}, {}}},
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
    return true;
}

}  // namespace

std::optional<std::string> CtlArguments::value(const std::string& option) const
{
    auto it = options.find(option);
    return it == options.end() ? std::nullopt : std::optional<std::string>(it->second);
}

CtlArguments::Parsed CtlArguments::parse(const std::vector<std::string>& argv)
{
    if (argv.empty() || argv[0] == "--help" || argv[0] == "-h") {
        return {CtlArguments{"help", {}, {}}, {}};
    }
    auto shape = shapes().find(argv[0]);
    if (shape == shapes().end()) {
        return {std::nullopt, "unknown command '" + argv[0] + "'"};
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
                return {std::nullopt, "option " + arg + " needs a value"};
            }
            a.options[arg] = inlineValue ? *inlineValue : argv[++i];
        } else {
            return {std::nullopt, "unknown option '" + argv[i] + "' for " + a.command};
        }
    }
    if (a.words.size() != s.words || !wordsFit(a)) {
        return {std::nullopt, "wrong arguments for " + a.command};
    }
    for (const std::string& r : s.required) {
        if (!a.has(r)) {
            return {std::nullopt, a.command + " needs " + r};
        }
    }
    if (a.has("--json") && a.has("--csv")) {
        return {std::nullopt, "choose one of --json and --csv"};
    }
    return {std::move(a), {}};
}

const char* CtlArguments::usage()
{
    return "usage: quorvelctl COMMAND [OPTIONS]\n"
           "\n"
           "  setup --plan MB --start-day DAY [--used MB]\n"
           "                      the first-start set-up: monthly plan in megabytes, the day (1-31)\n"
           "                      each billing month starts on, data already used this month\n"
           "  status [--json] [--at LAT,LON]\n"
           "                      sample the counters and show the billing month\n"
           "  sample [--json] [--at LAT,LON] [--notify]\n"
           "                      one background sample; says whether traffic was booked;\n"
           "                      --notify also sends an alert as a desktop notification\n"
           "  set plan MB | set start-day DAY | set used MB\n"
           "  reset locations | reset previous-months\n"
           "  limits [--day on|off] [--month on|off] [--overbound on|off]\n"
           "                      switch the usage alerts; without options, list the limits\n"
           "  export [--json|--csv] the stored day records of the calendar months\n"
           "  watch [--autostart on|off]\n"
           "                      count in the background: stays running, books a link that goes\n"
           "                      away at once and samples every 15 minutes (one per user);\n"
           "                      --autostart adds or removes the entry that starts it at login\n"
           "  interfaces [--json] [--count NAME] [--ignore NAME] [--auto NAME] [--metered on|off]\n"
           "                      list the interfaces, whether each is counted and why; count or\n"
           "                      ignore one, or leave it to detection again\n"
           "  chart [--month INDEX] [--graph cumulative|daily|both] [--size WxH] [--scale S]\n"
           "        [--idiom phone|tablet] --output FILE.png|FILE.svg|FILE.pdf\n"
           "                      draw the chart page of a billing month (0 is the oldest)\n"
           "\n"
           "--at LAT,LON reports a device location before the update, so that the traffic is\n"
           "attributed to that place.\n"
           "Exit codes: 0 done, 1 value refused, 2 usage error, 3 not set up yet, 4 file cannot be opened or saved.\n";
}

}  // namespace quorvel
