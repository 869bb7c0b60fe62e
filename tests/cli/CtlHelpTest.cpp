// SPDX-License-Identifier: GPL-3.0-or-later
// What quorvelctl says about itself: --version, the overview, each command's help and the manual
// pages written from the same tables. The real binary runs on a temporary home directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestEnv.hpp"
#include "cli/CtlColumns.hpp"
#include "cli/CtlHelp.hpp"

#include "CtlProcess.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::CtlColumns;
using quorvel::CtlHelp;
using quorvel::test::TempDir;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

Outcome ctl(const fs::path& home, const std::vector<std::string>& args)
{
    Outcome r;
    r.code = quorvel::clitest::runCtl(home, args, r.out, r.err);
    return r;
}

// Whitespace of any kind and length as one space, so that texts can be found in filled output.
std::string collapsed(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\t';
        if (!space) {
            out += c;
        } else if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    return out;
}

TEST(CtlHelp, VersionAndHelpGoToStandardOutputWithExit0AndTouchNoFile)
{
    TempDir home;
    for (const char* flag : {"--version", "-V"}) {
        const Outcome r = ctl(home.path(), {flag});
        EXPECT_EQ(r.code, 0) << flag;
        EXPECT_EQ(r.out, std::string("quorvelctl ") + QUORVEL_VERSION + "\n");
        EXPECT_EQ(r.err, "");
    }
    const Outcome overview = ctl(home.path(), {"--help"});
    EXPECT_EQ(overview.code, 0);
    EXPECT_EQ(overview.err, "");
    EXPECT_THAT(overview.out, StartsWith("usage: quorvelctl [--sim ID] COMMAND [OPTIONS]\n"));
    for (const auto& args : std::vector<std::vector<std::string>>{{"-h"}, {"help"}}) {
        const Outcome r = ctl(home.path(), args);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, overview.out) << args[0];
    }
    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        EXPECT_THAT(overview.out, HasSubstr("\n  " + c.name)) << "the overview leaves out " << c.name;
    }
    for (const CtlHelp::Entry& e : CtlHelp::exitCodes()) {
        EXPECT_THAT(overview.out, HasSubstr(" " + e.name + " ")) << "exit code " << e.name;
    }
    EXPECT_FALSE(fs::exists(home.path() / "data"));
    EXPECT_FALSE(fs::exists(home.path() / "config"));
}

TEST(CtlHelp, EveryCommandHasItsOwnHelpWhateverElseIsOnTheLine)
{
    TempDir home;
    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        SCOPED_TRACE(c.name);
        const Outcome asked = ctl(home.path(), {"help", c.name});
        EXPECT_EQ(asked.code, 0);
        EXPECT_EQ(asked.err, "");
        EXPECT_THAT(asked.out, StartsWith("usage: quorvelctl " + c.name));
        for (const CtlHelp::Option& o : c.options) {
            EXPECT_THAT(asked.out, HasSubstr("\n  " + o.name)) << "its help leaves out " << o.name;
        }
        for (const char* flag : {"--help", "-h"}) {
            const Outcome r = ctl(home.path(), {c.name, flag});
            EXPECT_EQ(r.code, 0) << flag;
            EXPECT_EQ(r.out, asked.out) << flag;
            EXPECT_EQ(r.err, "");
        }
    }
    // Help wins over values that are missing, refused or would change something.
    for (const auto& args : std::vector<std::vector<std::string>>{{"setup", "--plan", "0", "--help"},
                                                                   {"set", "plan", "--help"},
                                                                   {"status", "--watch", "--help"},
                                                                   {"chart", "--help", "--output"}}) {
        const Outcome r = ctl(home.path(), args);
        EXPECT_EQ(r.code, 0) << ::testing::PrintToString(args) << r.err;
        EXPECT_THAT(r.out, StartsWith("usage: quorvelctl " + args[0]));
    }
    EXPECT_FALSE(fs::exists(home.path() / "data")) << "a help run touched the files";
    EXPECT_FALSE(fs::exists(home.path() / "config")) << "a help run touched the files";

}

// Each line of `text` that is wider than 79 columns or breaks a bracketed group apart.
std::vector<std::string> badLines(const std::string& text)
{
    std::vector<std::string> bad;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        const auto open = std::count(line.begin(), line.end(), '[');
        if (CtlColumns::characters(line) > 79 || open != std::count(line.begin(), line.end(), ']')) {
            bad.push_back(line);
        }
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return bad;
}

TEST(CtlHelp, LongSynopsesWrapWithinTheLineAndKeepEveryWord)
{
    TempDir home;
    const std::string overview = ctl(home.path(), {"--help"}).out;
    EXPECT_THAT(badLines(overview), ::testing::IsEmpty());
    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        SCOPED_TRACE(c.name);
        const std::string help = ctl(home.path(), {"help", c.name}).out;
        EXPECT_THAT(badLines(help), ::testing::IsEmpty());
        for (const std::string& s : c.synopsis) {
            EXPECT_THAT(collapsed(help), HasSubstr(collapsed("quorvelctl " + s)));
            EXPECT_THAT(collapsed(overview), HasSubstr(collapsed(s)));
        }
    }
    // The lines after the first line up under the first word after the command's name.
    const std::string chart = ctl(home.path(), {"chart", "--help"}).out;
    EXPECT_THAT(chart, StartsWith("usage: quorvelctl chart [--month INDEX] [--graph cumulative|daily|both]\n"
                                  "                        [--size WxH]"));
}

TEST(CtlHelp, WithoutACommandOrWithAnUnknownTopicTheUsageGoesToStandardErrorWithExit2)
{
    TempDir home;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"help", "frobnicate"}, {"--version", "status"}, {"help", "status", "sample"}, {"frobnicate", "--help"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome r = ctl(home.path(), args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_THAT(r.err, StartsWith("quorvelctl: "));
        EXPECT_THAT(r.err, HasSubstr("usage: quorvelctl [--sim ID] COMMAND"));
    }
    EXPECT_THAT(ctl(home.path(), {"help", "frobnicate"}).err, HasSubstr("'frobnicate'"));
}

TEST(CtlHelp, WrappingKeepsEveryWordAndIndents)
{
    struct Case {
        std::string text;
        std::size_t indent;
        std::size_t width;
        std::string wrapped;
    };
    const std::vector<Case> cases = {
        {"one two three", 0, 80, "one two three\n"},
        {"one two three", 2, 9, "  one two\n  three\n"},
        {"  spaced   out\nwords ", 1, 80, " spaced out words\n"},
        {"averyveryverylongword x", 4, 10, "    averyveryverylongword\n    x\n"},
        // An accented letter is one column, however many bytes it takes: each line is full.
        {"\u00FCber f\u00FCnf \u00E9t\u00E9", 0, 9, "\u00FCber f\u00FCnf\n\u00E9t\u00E9\n"},
        {"d\u00E9j\u00E0 \u00E7a l\u00E0", 2, 9, "  d\u00E9j\u00E0 \u00E7a\n  l\u00E0\n"},
        {"\u00B7 \u00B7 \u00B7 \u00B7", 0, 3, "\u00B7 \u00B7\n\u00B7 \u00B7\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CtlHelp::wrap(c.text, c.indent, c.width), c.wrapped) << c.text;
    }
    EXPECT_EQ(CtlColumns::characters("Einstellungen"), 13u);
    EXPECT_EQ(CtlColumns::characters("\u00DCbertrag \u00B7 r\u00E9initialis\u00E9"), 23u);
    EXPECT_EQ(CtlColumns::characters(""), 0u);
}

// The pages as man shows them, with groff's warnings on; nothing may be warned about.
std::string rendered(const std::string& page)
{
    const std::string path = std::string(QUORVEL_MAN_DIR) + "/" + page;
    std::string out;
    std::string err;
    const int code = quorvel::clitest::runProcess({"groff", "-ww", "-man", "-Tutf8", "-P-bcou", "-rLL=200n", path}, {}, out, err);
    EXPECT_EQ(code, 0) << page;
    EXPECT_EQ(err, "") << page;
    std::string warnings;
    const int manCode = quorvel::clitest::runProcess({"man", "--warnings", "-l", path}, {"MANPAGER=cat", "MANWIDTH=80"},
                                                     warnings, err);
    EXPECT_TRUE(manCode == 0 || manCode == -1) << page;
    EXPECT_EQ(err, "") << page;
    return collapsed(out);
}

TEST(CtlManPages, RenderWithoutWarningsAndDocumentCommandsExitCodesFilesAndEnvironment)
{
    const std::string ctlPage = rendered("quorvelctl.1");
    const std::string appPage = rendered("quorvel.1");
    ASSERT_THAT(ctlPage, HasSubstr("QUORVELCTL(1)"));
    ASSERT_THAT(appPage, HasSubstr("QUORVEL(1)"));
    EXPECT_THAT(ctlPage, HasSubstr(std::string("Quorvel ") + QUORVEL_VERSION));

    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        for (const std::string& s : c.synopsis) {
            EXPECT_THAT(ctlPage, HasSubstr(collapsed("quorvelctl " + s))) << "synopsis of " << c.name;
        }
        for (const CtlHelp::Option& o : c.options) {
            EXPECT_THAT(ctlPage, HasSubstr(collapsed(o.text))) << c.name << " " << o.name;
        }
    }
    for (const CtlHelp::Entry& e : CtlHelp::exitCodes()) {
        EXPECT_THAT(ctlPage, HasSubstr(e.name + " " + collapsed(e.text))) << "exit code " << e.name;
    }
    for (const std::string* page : {&ctlPage, &appPage}) {
        for (const auto* list : {&CtlHelp::files(), &CtlHelp::environment()}) {
            for (const CtlHelp::Entry& e : *list) {
                EXPECT_THAT(*page, HasSubstr(e.name + " " + collapsed(e.text)));
            }
        }
    }
    EXPECT_THAT(ctlPage, HasSubstr("\"exec\": \"quorvelctl status --waybar --watch\""));
    EXPECT_THAT(appPage, HasSubstr("quorvelctl(1)"));
}

}  // namespace
