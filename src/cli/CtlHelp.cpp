// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlHelp.hpp"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <utility>

#include "cli/CtlArguments.hpp"
#include "cli/CtlColumns.hpp"
#include "cli/CtlProblem.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

// Built on first use: only help and the manual read it, not every command. The tables hold the
// English texts, which the manual pages print as they are; help translates them as it prints.
const std::vector<CtlHelp::Command>& commandsTable()
{
    static const std::vector<CtlHelp::Command> table = {
        {"setup",
         {"setup --plan MB --start-day DAY [--used MB]"},
         // Translators: the help of quorvelctl. Keep option names (--plan), command names
         // (setup, watch), upper-case placeholders (MB, DAY, ID, NAME, FILE, YYYY-MM-DD) and
         // file names as they are. An exit code's text keeps its first ';', ':' or '(': the
         // overview shows the text up to it.
         N_("the first-start set-up: plan, start day, data used so far"),
         N_("Sets the monthly data plan, the day each billing month begins on and the data already used in the "
         "current billing month, and starts counting. Nothing is sampled before the set-up has run; running it "
         "again sets all three anew."),
         {{"--plan", "MB", N_("the monthly data plan in megabytes (1 MB is 1,000,000 bytes)")},
          {"--start-day", "DAY", N_("the day of the month, 1 to 31, on which each billing month begins")},
          {"--used", "MB", N_("data already used in this billing month, in megabytes (at the first set-up 0 when "
                           "left out; run again without it, the used data stays as it is)")}}},
        {"status",
         {"status [--json] [--at LAT,LON]", "status --oneline|--waybar [--watch] [--at LAT,LON]"},
         N_("sample the counters and show the billing month"),
         N_("Samples the counters of the counted interfaces, books their growth and shows the current billing "
         "month: plan, data used and left, today's use, the average per day, the allowance per remaining day, "
         "the days passed and left, and the estimate for the whole month."),
         {{"--json", "", N_("print every figure, the billing months and the places as one JSON object; roaming is "
                         "the part of the month's use booked while the modem was roaming")},
          {"--oneline", "", N_("print one line for scripts and status bars, such as "
                            "\"1.75 GB of 2 GB (87%) \u00B7 250 MB left \u00B7 6 days left\"; an alert raised by "
                            "the sample goes to standard error")},
          {"--waybar", "", N_("print one JSON object in the format of waybar's custom modules: text, tooltip, "
                           "class (normal, warning from 90% of the plan, critical from 100%) and percentage")},
          {"--watch", "", N_("with --oneline or --waybar: keep running and print a new line whenever the stored "
                          "figures change, for example after a sample by another process; ends on SIGTERM or "
                          "SIGINT with exit code 0")},
          {"--at", "LAT,LON", N_("report the device's location (degrees) first, so that the traffic is attributed "
                              "to that place")}}},
        {"sample",
         {"sample [--json] [--at LAT,LON] [--notify]"},
         N_("one background sample"),
         N_("Samples the counters once, as the background timer does, and says whether traffic was booked. An "
         "alert raised by the sample is printed first."),
         {{"--json", "", N_("print the figures as one JSON object")},
          {"--at", "LAT,LON", N_("report the device's location (degrees) first")},
          {"--notify", "", N_("also send a raised alert as a desktop notification of Quorvel")}}},
        {"set",
         {"set plan MB", "set start-day DAY", "set used MB"},
         N_("change the plan, the start day or the data used this month"),
         N_("Changes one value of the set-up: the monthly plan in megabytes, the day (1 to 31) each billing month "
         "begins on, or the data used in the current billing month in megabytes. The used data never rewrites a "
         "measured day: while nothing of the billing month was measured it is spread over its days, otherwise "
         "the difference to what was counted is kept as the month's one correction, dated today (a later one "
         "replaces it; entering what was counted removes it). Refused while the clock stands before the days "
         "already counted."),
         {}},
        {"plan",
         {"plan [--json]", "plan --monthly --start-day DAY [--size MB]", "plan --every N --from YYYY-MM-DD [--size MB]",
          "plan --daily [--size MB]", "plan --prepaid --from YYYY-MM-DD --until YYYY-MM-DD [--size MB]",
          "plan --rollover on|off", "plan --free-hours HH:MM-HH:MM|off"},
         N_("show or change the plan's shape, rollover and free hours"),
         N_("Shows the plan, its billing period, the packs on top, rollover and free hours, or changes them. A plan "
         "renews every month from a start day (the default), every N days from a first date, every day, or not "
         "at all (prepaid, from a first to a last date; after its last day nothing is left until a new plan is "
         "set, and counting goes on). Every figure, alert, chart page and the cut-off follow the period. "
         "Options given together change all at once or, when one is refused, nothing."),
         {{"--json", "", N_("print the plan as one JSON object")},
          {"--monthly", "", N_("renew every month on the start day")},
          {"--start-day", "DAY", N_("with --monthly: the day of the month, 1 to 31")},
          {"--every", "N", N_("renew every N days (1 to 366) from the --from date")},
          {"--daily", "", N_("renew every day at midnight")},
          {"--prepaid", "", N_("one period from --from until --until, no renewal")},
          {"--from", "YYYY-MM-DD", N_("the first day of the first period")},
          {"--until", "YYYY-MM-DD", N_("with --prepaid: the last day")},
          {"--size", "MB", N_("the plan's size per period in megabytes")},
          {"--rollover", "on|off", N_("add what the plan itself left unused at the end of a period (at most one "
                                   "plan) to the next period only, used after its packs and before its plan; the "
                                   "first period to give rollover is the current one")},
          {"--free-hours", "HH:MM-HH:MM|off", N_("a daily window, which may cross midnight, whose traffic the "
                                              "carrier does not charge: booked apart and not counted as used. "
                                              "watch samples at its start and end, so its split is exact; a "
                                              "single sample counts its whole interval as free or not by the "
                                              "time at which it runs")}}},
        {"addon",
         {"addon add --size MB --days N [--from YYYY-MM-DD]", "addon list [--json]", "addon remove INDEX"},
         N_("add, list or remove data packs bought on top of the plan"),
         N_("A pack of N days from a date (today when left out) is valid from that day to the day N - 1 after it. "
         "Packs are used before the rollover and the plan, the one that expires first before the others; what "
         "a pack has not used when it expires is gone. The list numbers the packs from 1, with what each has "
         "left and until when."),
         {{"--size", "MB", N_("the pack's size in megabytes")},
          {"--days", "N", N_("how many days the pack is valid, 1 to 3660")},
          {"--from", "YYYY-MM-DD", N_("the pack's first day (today when left out)")},
          {"--json", "", N_("with list: print the packs as JSON")}}},
        {"sims",
         {"sims [--json]", "sims --name ID NAME", "sims --forget ID", "sims --take-over ID"},
         N_("list, name, forget the SIMs this device has seen, or give one the plan so far"),
         N_("Lists every SIM the modem manager reports, in any slot, and every SIM seen before, with its operator, "
         "whether it is the active one, when it was last seen and its plan. ID is a SIM's ICCID, its last four "
         "digits when no other SIM ends so, or its name. An empty NAME gives the SIM its operator's name again. "
         "Each SIM has a plan and a history of its own; traffic no SIM carries is This device's, which is the "
         "plan every command uses before any SIM is set up. Any other command acts on one SIM's plan with "
         "--sim ID (anywhere on the line; --sim device for This device's); without it, on the active SIM's when "
         "it is set up, else on This device's. A SIM that is not set up keeps what is counted for it until "
         "quorvelctl --sim ID setup gives it a plan."),
         {{"--json", "", N_("print the SIMs as JSON")},
          {"--name", "ID", N_("give the SIM ID the name NAME")},
          {"--forget", "ID", N_("forget the SIM ID, and its history with it")},
          {"--take-over", "ID", N_("This device's plan and history go to the SIM ID, which has no plan yet; This "
                                "device starts afresh")}}},
        {"reset",
         {"reset locations", "reset previous-months"},
         N_("forget the places or the previous months"),
         N_("Forgets the places where data was used, or the day records of every month before the current one "
         "and the totals kept of older months."),
         {}},
        {"limits",
         {"limits [--day on|off] [--month on|off] [--overbound on|off] [--cutoff on|off] [--places on|off]"},
         N_("switch the usage alerts, or list the limits"),
         // xgettext:no-c-format
         N_("Switches the alerts raised when a day uses more than its share of the plan, when 90% of the plan is "
         "used and when the plan is exceeded, whether mobile data is turned off at the plan, and whether the "
         "places of use are recorded. Without options, shows the switches and the levels of the limits."),
         {{"--day", "on|off", N_("the alert for a day above its share of the plan")},
          // xgettext:no-c-format
          {"--month", "on|off", N_("the alert at 90% of the plan")},
          {"--overbound", "on|off", N_("the alert when the plan is exceeded")},
          {"--cutoff", "on|off", N_("turn mobile data off through NetworkManager once the plan is used up, at most once "
                                 "per billing month (it stays off until you turn it back on); exits with 1 and the "
                                 "reason when NetworkManager is not there")},
          {"--places", "on|off", N_("record where data is used (on by default): the watcher and the window follow "
                                 "GeoClue; off asks for no location and books new traffic to no place, keeping the "
                                 "places already recorded")}}},
        {"interfaces",
         {"interfaces [--json]", "interfaces --count NAME | --ignore NAME | --auto NAME",
          "interfaces --metered on|off"},
         N_("list the network interfaces and choose the counted ones"),
         N_("Lists the network interfaces with their counters and whether each is counted. By default Quorvel "
         "counts the modems NetworkManager knows and, without NetworkManager, interfaces named like cellular "
         "ones; a choice made here comes first."),
         {{"--json", "", N_("print the list as JSON")},
          {"--count", "NAME", N_("always count the interface NAME")},
          {"--ignore", "NAME", N_("never count the interface NAME")},
          {"--auto", "NAME", N_("forget the choice about NAME and decide as by default")},
          {"--metered", "on|off", N_("also count every interface of a connection marked as metered")}}},
        {"watch",
         {"watch [--autostart on|off]", "watch --stop"},
         N_("stay resident and sample when the network changes"),
         N_("Keeps running and samples whenever a counted interface appears, goes or changes, and every 15 "
         "minutes. While places are recorded it follows GeoClue's significant location changes (500 m, at "
         "most once a minute): each new location is where the traffic since the previous sample is booked. "
         "Without GeoClue, or when GeoClue refuses, it says why once and counts as before, asking again when "
         "GeoClue starts. One runs per user; the application's window leaves the sampling to it."),
         {{"--autostart", "on|off", N_("start it with each desktop session (an XDG autostart entry), or stop "
                                    "doing so, and exit")},
          {"--stop", "", N_("end the running watcher of this user after its last sample, and exit")}}},
        {"chart",
         {"chart [--month INDEX] [--graph cumulative|daily|both] [--size WxH] [--scale S] "
          "[--idiom phone|tablet] --output FILE",
          "chart --year [--size WxH] [--scale S] [--idiom phone|tablet] --output FILE"},
         N_("draw the chart page of a billing month, or the year page"),
         N_("Draws the chart page of a billing month, as the window shows it, into a PNG, SVG or PDF file chosen "
         "by the file name's ending. The drawing is done by the chart module, quorvel-chart.so, installed "
         "with the other modules."),
         {{"--month", "INDEX", N_("the billing month, 0 being the oldest kept (the current one when left out)")},
          {"--year", "", N_("the year page instead: the last twelve calendar months' used data as bars")},
          {"--graph", "cumulative|daily|both", N_("which graphs to draw (both when left out)")},
          {"--size", "WxH", N_("the page size in pixels, 100 to 10000 each")},
          {"--scale", "S", N_("pixels per page pixel, above 0 and at most 8")},
          {"--idiom", "phone|tablet", N_("the layout of a phone or a tablet")},
          {"--output", "FILE", N_("the file to write, ending in .png, .svg or .pdf")}}},
        {"export",
         {"export [--csv|--json]"},
         N_("print the stored day records"),
         N_("Prints the day records of the calendar months kept (the current one and up to two before it). CSV, "
         "the default, has a header line and the columns date (the local calendar day, YYYY-MM-DD), "
         "cellular_bytes (the bytes received and sent over the counted interfaces that day), kind (day, or "
         "correction for a correction of the used data, whose bytes may be negative) and free_bytes (the part "
         "of the day's bytes used in the plan's free hours)."),
         {{"--csv", "", N_("comma-separated values (the default)")},
          {"--json", "", N_("one JSON object with the months, their plans, their days (bytes, wifi_bytes, "
                         "roaming_bytes, the part used while roaming, entered_bytes, the part entered as used "
                         "data rather than measured, and free_bytes, the part used in free hours) and their "
                         "corrections (date, bytes)")}}},
        {"import",
         {"import FILE [--dry-run] [--settings]", "import --csv FILE [--dry-run]",
          "import --vnstat [DATABASE] [--interface NAME] [--dry-run]"},
         N_("bring a history in: a backup, a CSV export or vnStat's days"),
         N_("Merges the day records, corrections, places and old months' totals of a file written by export --json "
         "(any version) into the stored history, in one change: a day present in both keeps the larger measured "
         "amount, and each such day is listed with the amount kept and the one it was kept over; nothing is "
         "counted twice. Months older than the three calendar months of day records are kept as month totals. "
         "A file that is cut short or altered, a date in the future or an amount that is negative or above 2^53 "
         "refuses the whole import (exit 1) and nothing is changed."),
         {{"--dry-run", "", N_("say what would change, change nothing")},
          {"--settings", "", N_("also take the backup's plan, its shape and packs and the alert switches")},
          {"--csv", "", N_("FILE has the columns of export --csv (date,cellular_bytes and the newer ones)")},
          {"--vnstat", "", N_("read the days of vnStat's database, DATABASE or /var/lib/vnstat/vnstat.db, "
                           "read-only: received and sent bytes of a day are its cellular bytes")},
          {"--interface", "NAME", N_("with --vnstat: the interface whose days are read; needed when the "
                                  "database counts more than one")}}},
        {"help",
         {"help [COMMAND]"},
         N_("show the commands, or one command's options"),
         N_("Shows the overview of the commands, or the options of one command; COMMAND --help does the same."),
         {}},
    };
    return table;
}

const std::vector<CtlHelp::Entry>& exitCodesTable()
{
    static const std::vector<CtlHelp::Entry> table = {
        {"0", N_("done")},
        {"1", N_("a value was refused; nothing was changed")},
        {"2", N_("usage error: an unknown command or option, or a missing value")},
        {"3", N_("Quorvel is not set up yet (see setup)")},
        {"4", N_("a file cannot be opened or saved")},
    };
    return table;
}

const std::vector<CtlHelp::Entry>& filesTable()
{
    static const std::vector<CtlHelp::Entry> table = {
        {"$XDG_DATA_HOME/quorvel/statestg",
         N_("the day records, places, plan, start day and limits (JSON, replaced atomically, mode 0600)")},
        {"$XDG_DATA_HOME/quorvel/statestg.lock",
         N_("lets one process at a time change the state; refused (exit 4) when it is a symbolic link or not a "
         "regular file")},
        {"$XDG_CONFIG_HOME/quorvel/defaults.json", N_("preferences and the history of raised alerts")},
        {"$XDG_STATE_HOME/quorvel/bglog", N_("the debug log, kept empty")},
        {"NAME.unreadable-TIME", N_("a file that could not be read, moved aside; Quorvel then starts from defaults")},
    };
    return table;
}

const std::vector<CtlHelp::Entry>& environmentTable()
{
    static const std::vector<CtlHelp::Entry> table = {
        {"XDG_DATA_HOME", N_("where the state is kept; $HOME/.local/share when unset or not an absolute path")},
        {"XDG_CONFIG_HOME", N_("where the preferences are kept; $HOME/.config when unset")},
        {"XDG_STATE_HOME", N_("where the debug log is kept; $HOME/.local/state when unset")},
        {"HOME", N_("the base of the three above")},
        {"TZ", N_("the time zone in which days and billing months begin and end")},
        {"QUORVEL_IDIOM", N_("phone or tablet: forces the layout of the window and of the charts")},
        {"QUORVEL_COUNTERS",
         N_("a file to read the interface counters from instead of the kernel, one line NAME RECEIVED SENT per "
         "interface; for trying Quorvel out")},
        {"DBUS_SESSION_BUS_ADDRESS", N_("the session bus that sample --notify sends its notification on")},
        {"QUORVEL_MODULE_DIR",
         N_("the folder of quorvel-bus.so and quorvel-numbers.so, loaded when a command needs them; the "
         "quorvel folder of the installation's library directory when unset")},
    };
    return table;
}

constexpr std::size_t kOptionColumn = 24;

void printOption(std::ostringstream& out, const CtlHelp::Option& o)
{
    const std::string text = Translation::tr(o.text);
    std::string head = "  " + o.name + (o.argument.empty() ? "" : " " + o.argument);
    if (head.size() + 2 > kOptionColumn) {
        out << head << "\n" << CtlHelp::wrap(text, kOptionColumn);
        return;
    }
    head.resize(kOptionColumn, ' ');
    out << head << CtlHelp::wrap(text, kOptionColumn).substr(kOptionColumn);
}

constexpr char kGlue = '\x1F';  // a space that wrap() does not break at and prints as a space

// One way to call a command, after `lead` ("usage: quorvelctl ", or the overview's indent). A
// long one is broken only between words outside brackets, so "[--graph cumulative|daily|both]"
// stays whole, and its further lines begin under the first word after the command's name.
std::string synopsisLines(const std::string& lead, std::string_view synopsis)
{
    const std::size_t space = synopsis.find(' ');
    if (space == std::string_view::npos) {
        return lead + std::string(synopsis) + "\n";
    }
    const std::string head = lead + std::string(synopsis.substr(0, space + 1));
    std::string words(synopsis.substr(space + 1));
    int depth = 0;
    for (char& c : words) {
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        if (c == ' ' && depth > 0) {
            c = kGlue;
        }
    }
    const std::size_t indent = CtlColumns::characters(head);
    return CtlHelp::wrap(words, indent).replace(0, indent, head);
}

// `text` without its trailing spaces, the no-break ones too: French puts one before a colon.
void trimEnd(std::string& text)
{
    for (;;) {
        if (!text.empty() && text.back() == ' ') {
            text.pop_back();
        } else if (text.ends_with("\u00A0")) {
            text.resize(text.size() - 2);
        } else {
            return;
        }
    }
}

// "usage: " in the user's language, and the spaces that line up the lines below it.
std::pair<std::string, std::string> usageLead()
{
    // Translators: begins the lines that show how quorvelctl is called.
    std::string word = _("usage:");
    word += " ";
    return {word, std::string(CtlColumns::characters(word), ' ')};
}

}  // namespace

const std::vector<CtlHelp::Command>& CtlHelp::commands()
{
    return commandsTable();
}

const CtlHelp::Command* CtlHelp::find(std::string_view name)
{
    for (const Command& c : commandsTable()) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

const std::vector<CtlHelp::Entry>& CtlHelp::exitCodes()
{
    return exitCodesTable();
}

const std::vector<CtlHelp::Entry>& CtlHelp::files()
{
    return filesTable();
}

const std::vector<CtlHelp::Entry>& CtlHelp::environment()
{
    return environmentTable();
}

const char* CtlHelp::version()
{
    return QUORVEL_VERSION;
}

std::string CtlHelp::wrap(std::string_view text, std::size_t indent, std::size_t width)
{
    std::string out;
    std::string line(indent, ' ');
    std::size_t used = indent;
    std::istringstream words{std::string(text)};
    std::string word;
    bool empty = true;
    while (words >> word) {
        const std::size_t w = CtlColumns::characters(word);
        if (!empty && used + 1 + w > width) {
            out += line + "\n";
            line.assign(indent, ' ');
            used = indent;
            empty = true;
        }
        std::replace(word.begin(), word.end(), kGlue, ' ');
        line += (empty ? "" : " ") + word;
        used += (empty ? 0 : 1) + w;
        empty = false;
    }
    return out + line + "\n";
}

std::string CtlHelp::usage()
{
    const auto [usageWord, under] = usageLead();
    std::ostringstream out;
    out << usageWord << "quorvelctl [--sim ID] COMMAND [OPTIONS]\n"
        << under << "quorvelctl help [COMMAND] | --help | --version\n\n"
        << wrap(_("Shows and changes what Quorvel counts, on the same files as its window."), 0) << "\n";
    for (const Command& c : commandsTable()) {
        for (const std::string& s : c.synopsis) {
            out << synopsisLines("  ", s);
        }
        out << wrap(Translation::tr(c.summary), 8);
    }
    std::string codes = _("Exit codes:");
    for (const Entry& e : exitCodesTable()) {
        const std::string text = Translation::tr(e.text);
        std::string brief = text.substr(0, text.find_first_of(";:("));
        trimEnd(brief);
        // A code stays on the line of its text's first word.
        codes += " " + e.name + kGlue + brief + (&e == &exitCodesTable().back() ? "." : ",");
    }
    out << "\n" << wrap(_("Run 'quorvelctl COMMAND --help' for a command's options."), 0) << wrap(codes, 0);
    return out.str();
}

std::string CtlHelp::commandHelp(const Command& c)
{
    const auto [usageWord, under] = usageLead();
    std::ostringstream out;
    for (std::size_t i = 0; i < c.synopsis.size(); ++i) {
        out << synopsisLines((i == 0 ? usageWord : under) + "quorvelctl ", c.synopsis[i]);
    }
    out << "\n" << wrap(Translation::tr(c.description), 0);
    if (!c.options.empty()) {
        out << "\n" << _("Options:") << "\n";
        for (const Option& o : c.options) {
            printOption(out, o);
        }
    }
    return out.str();
}

int CtlHelp::answer(const CtlArguments& a, std::ostream& out, std::ostream& err)
{
    if (a.command == "version") {
        out << "quorvelctl " << version() << "\n";
        return 0;
    }
    if (a.words.empty()) {
        out << usage();
        return 0;
    }
    const Command* c = find(a.words[0]);
    if (c == nullptr) {
        CtlProblem::say(err, Translation::fill(_("unknown command '%s'"), {a.words[0]}));
        err << usage();
        return 2;
    }
    out << commandHelp(*c);
    return 0;
}

}  // namespace quorvel
