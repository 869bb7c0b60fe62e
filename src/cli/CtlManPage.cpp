// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlManPage.hpp"

#include <cstdio>
#include <sstream>

#include "cli/CtlHelp.hpp"

namespace quorvel {

namespace {

// The title line; no date, so that a rebuild writes the same page. Words are not hyphenated:
// option names and file names must stay whole.
void header(std::ostringstream& out, const char* name, const char* upper)
{
    out << ".TH " << upper << " 1 \"\" \"Quorvel " << CtlHelp::version() << "\" \"User Commands\"\n"
        << ".nh\n"
        << ".SH NAME\n"
        << name << " \\- ";
}

void entries(std::ostringstream& out, const std::vector<CtlHelp::Entry>& list, bool literalNames)
{
    for (const CtlHelp::Entry& e : list) {
        out << ".TP\n"
            << (literalNames ? ".B " : ".I ") << CtlManPage::literal(e.name) << "\n"
            << CtlManPage::escape(e.text) << "\n";
    }
}

void shared(std::ostringstream& out)
{
    out << ".SH FILES\n";
    entries(out, CtlHelp::files(), false);
    out << ".SH ENVIRONMENT\n";
    entries(out, CtlHelp::environment(), true);
}

void command(std::ostringstream& out, const CtlHelp::Command& c)
{
    out << ".SS " << CtlManPage::literal(c.name) << "\n";
    for (const std::string& s : c.synopsis) {
        out << ".B quorvelctl " << CtlManPage::literal(s) << "\n.br\n";
    }
    out << ".PP\n" << CtlManPage::escape(c.description) << "\n";
    for (const CtlHelp::Option& o : c.options) {
        out << ".TP\n";
        if (o.argument.empty()) {
            out << ".B " << CtlManPage::literal(o.name) << "\n";
        } else {
            out << ".BI \"" << CtlManPage::literal(o.name) << " \" " << CtlManPage::literal(o.argument) << "\n";
        }
        out << CtlManPage::escape(o.text) << "\n";
    }
}

// The UTF-8 sequence at `i` as a groff character escape, since the page's input is read as ASCII;
// `i` moves to its last byte. A broken sequence becomes U+FFFD.
std::string unicode(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    unsigned long code = extra == 0 ? 0xFFFD : lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        if ((next & 0xC0) != 0x80) {
            i += k - 1;
            return "\\[uFFFD]";
        }
        code = (code << 6) | (next & 0x3F);
    }
    i += extra;
    char buf[16];
    std::snprintf(buf, sizeof buf, "\\[u%04lX]", code);
    return buf;
}

}  // namespace

std::string CtlManPage::escape(std::string_view text)
{
    std::string out;
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (lineStart && (c == '.' || c == '\'')) {
            out += "\\&";
        }
        lineStart = c == '\n';
        if (c == '\\') {
            out += "\\e";
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += unicode(text, i);
        }
    }
    return out;
}

std::string CtlManPage::literal(std::string_view text)
{
    std::string out;
    for (const char c : escape(text)) {
        out += c == '-' ? std::string("\\-") : std::string(1, c);
    }
    return out;
}

std::string CtlManPage::quorvelctl()
{
    std::ostringstream out;
    header(out, "quorvelctl", "QUORVELCTL");
    out << "the command line of the Quorvel mobile-data usage monitor\n"
        << ".SH SYNOPSIS\n";
    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        for (const std::string& s : c.synopsis) {
            out << ".B quorvelctl " << literal(s) << "\n.br\n";
        }
    }
    out << ".B quorvelctl \\-\\-sim\n.I ID COMMAND\n.RI [ OPTIONS ]\n.br\n"
        << ".B quorvelctl \\-\\-help\n.br\n.B quorvelctl \\-\\-version\n"
        << ".SH DESCRIPTION\n"
        << "Quorvel counts the data used over the cellular interfaces, books it into day records, keeps the "
           "last three calendar months and compares the current billing month with the monthly plan.\n"
        << ".B quorvelctl\n"
        << "works on the same files as the window,\n.BR quorvel (1),\n"
        << "and can run beside it: one process at a time changes the state.\n"
        << ".PP\nSizes are shown in decimal units: 1 KB is 1000 bytes, 1 MB is 1,000,000 bytes.\n"
        << "Every command takes\n.BR \\-\\-help .\n"
        << ".PP\nEach SIM has a plan and a history of its own.\n.BI \\-\\-sim \" ID\"\n"
        << "(anywhere on the line) makes any command but\n.BR sims ,\n.B interfaces\nand\n.B watch\n"
        << "act on that SIM's plan, and\n.B \\-\\-sim device\non This device's; without it the active SIM's plan "
           "is used when it is set up, else This device's.\n"
        << ".SH COMMANDS\n";
    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        command(out, c);
    }
    out << ".SH EXIT STATUS\n";
    entries(out, CtlHelp::exitCodes(), true);
    shared(out);
    out << ".SH EXAMPLES\n"
        << "A module of waybar that follows every change of the figures:\n"
        << ".PP\n.nf\n.RS\n"
        << "\"custom/quorvel\": {\n"
        << "    \"exec\": \"quorvelctl status \\-\\-waybar \\-\\-watch\",\n"
        << "    \"return\\-type\": \"json\"\n"
        << "}\n"
        << ".RE\n.fi\n"
        << ".SH SEE ALSO\n"
        << ".BR quorvel (1)\n";
    return out.str();
}

std::string CtlManPage::quorvel()
{
    std::ostringstream out;
    header(out, "quorvel", "QUORVEL");
    out << "a personal mobile-data usage monitor\n"
        << ".SH SYNOPSIS\n"
        << ".B quorvel\n"
        << "[\\fIGTK-OPTION\\fR]...\n"
        << ".SH DESCRIPTION\n"
        << ".B quorvel\n"
        << "shows how much of the monthly data plan is used over the cellular interfaces: the data used and "
           "left in the billing month, today's use, the average per day, the allowance per remaining day and "
           "the estimate for the month, charts of each billing month and a map of the places where data was "
           "used. It warns once when a day uses more than its share of the plan, when 90% of the plan is "
           "used and when the plan is exceeded. Nothing leaves the device.\n"
        << ".PP\n"
        << "At the first start it asks for the monthly plan in megabytes, the day each billing month begins "
           "on and the data already used; nothing is counted before. While the window is open it samples the "
           "counters every minute. The places come from GeoClue, asked by the window while it runs and by\n"
           ".B quorvelctl watch\n"
           "otherwise; \\(lqRecord Places\\(rq in the settings turns that off.\n"
        << ".SH OPTIONS\n"
        << "The options every GTK application takes;\n.B quorvel \\-\\-help\nlists them.\n";
    shared(out);
    out << ".SH SEE ALSO\n"
        << ".BR quorvelctl (1)\n";
    return out.str();
}

}  // namespace quorvel
