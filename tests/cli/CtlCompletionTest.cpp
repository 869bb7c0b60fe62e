// SPDX-License-Identifier: GPL-3.0-or-later
// The shell completions of quorvelctl, loaded into real shells: each offers the commands and, per
// command, exactly the options its help documents, the on|off switches, the interface names of
// this machine and file names. zsh and fish are tried where installed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestEnv.hpp"
#include "cli/CtlHelp.hpp"

#include "CtlProcess.hpp"

namespace {

namespace fs = std::filesystem;
using quorvel::CtlHelp;
using quorvel::test::TempDir;
using Words = std::set<std::string>;

const std::string kScripts = QUORVEL_COMPLETIONS;

Words lines(const std::string& text, bool firstFieldOnly)
{
    Words out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (firstFieldOnly) {
            line = line.substr(0, line.find('\t'));
        }
        if (!line.empty()) {
            out.insert(line);
        }
    }
    return out;
}

bool installed(const std::string& shell)
{
    std::string out;
    std::string err;
    return quorvel::clitest::runProcess({shell, "-c", "exit 0"}, {}, out, err) == 0;
}

// What bash offers for the words typed so far (the last one is being completed), in `dir`.
Words bash(const std::vector<std::string>& typed, const fs::path& dir = fs::temp_directory_path())
{
    const std::string script = "cd \"$0\" || exit 9; source \"$1\" || exit 9; shift\n"
                               "registered=$(complete -p quorvelctl) || exit 8; fn=${registered#*-F }; fn=${fn%% *}\n"
                               "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}\n"
                               "$fn quorvelctl; printf '%s\\n' \"${COMPREPLY[@]}\"\n";
    std::vector<std::string> argv = {"bash", "--norc", "-c", script, dir.string(), kScripts + "/quorvelctl.bash"};
    argv.insert(argv.end(), typed.begin(), typed.end());
    std::string out;
    std::string err;
    EXPECT_EQ(quorvel::clitest::runProcess(argv, {}, out, err), 0) << err;
    EXPECT_EQ(err, "");
    return lines(out, false);
}

// What fish offers for a command line, in `dir`.
Words fish(const std::string& line, const fs::path& dir = fs::temp_directory_path())
{
    std::vector<std::string> argv = {"fish", "--no-config", "-c",
                                     "cd $argv[1]; and source $argv[2]; and complete -C $argv[3]", "--", dir.string(),
                                     kScripts + "/quorvelctl.fish", line};
    std::string out;
    std::string err;
    EXPECT_EQ(quorvel::clitest::runProcess(argv, {}, out, err), 0) << err;
    EXPECT_EQ(err, "");
    return lines(out, true);
}

Words commandNames()
{
    Words out;
    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        out.insert(c.name);
    }
    return out;
}

Words optionsOf(const CtlHelp::Command& c)
{
    Words out = {"--help"};
    for (const CtlHelp::Option& o : c.options) {
        out.insert(o.name);
    }
    return out;
}

Words interfaceNames()
{
    Words out;
    for (const auto& e : fs::directory_iterator("/sys/class/net")) {
        out.insert(e.path().filename().string());
    }
    return out;
}

// A folder with a few files to offer after --output.
struct Folder {
    TempDir dir;
    Folder()
    {
        for (const char* name : {"month.png", "month.svg", "notes.txt"}) {
            std::ofstream(dir.path() / name) << "x";
        }
    }
};

TEST(CtlCompletion, BashOffersCommandsTheDocumentedOptionsSwitchesInterfacesAndFiles)
{
    Words first = commandNames();
    first.insert({"--help", "--version"});
    EXPECT_EQ(bash({"quorvelctl", ""}), first);
    EXPECT_EQ(bash({"quorvelctl", "se"}), (Words{"setup", "set"}));
    EXPECT_EQ(bash({"quorvelctl", "help", ""}), commandNames());

    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        EXPECT_EQ(bash({"quorvelctl", c.name, "--"}), optionsOf(c)) << c.name;
    }
    EXPECT_EQ(bash({"quorvelctl", "set", ""}), (Words{"plan", "start-day", "used"}));
    EXPECT_EQ(bash({"quorvelctl", "reset", "p"}), (Words{"previous-months"}));
    for (const auto& [command, option] : std::vector<std::pair<std::string, std::string>>{
             {"limits", "--day"}, {"limits", "--overbound"}, {"interfaces", "--metered"}, {"watch", "--autostart"}}) {
        EXPECT_EQ(bash({"quorvelctl", command, option, ""}), (Words{"on", "off"})) << command << " " << option;
    }
    EXPECT_EQ(bash({"quorvelctl", "limits", "--month", "o"}), (Words{"on", "off"}));
    EXPECT_EQ(bash({"quorvelctl", "chart", "--month", ""}), Words{}) << "a chart's month is an index";
    for (const char* option : {"--count", "--ignore", "--auto"}) {
        EXPECT_EQ(bash({"quorvelctl", "interfaces", option, ""}), interfaceNames()) << option;
    }
    EXPECT_EQ(bash({"quorvelctl", "interfaces", "--count", "="}), interfaceNames()) << "--count=NAME";

    Folder f;
    EXPECT_EQ(bash({"quorvelctl", "chart", "--output", "month"}, f.dir.path()), (Words{"month.png", "month.svg"}));
    EXPECT_EQ(bash({"quorvelctl", "chart", "--graph", "d"}), (Words{"daily"}));
    EXPECT_EQ(bash({"quorvelctl", "frobnicate", ""}), Words{});
}

TEST(CtlCompletion, FishOffersCommandsTheDocumentedOptionsSwitchesInterfacesAndFiles)
{
    if (!installed("fish")) {
        GTEST_SKIP() << "fish is not installed";
    }
    Words first = commandNames();
    EXPECT_EQ(fish("quorvelctl "), first);
    EXPECT_EQ(fish("quorvelctl help "), commandNames());
    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        EXPECT_EQ(fish("quorvelctl " + c.name + " --"), optionsOf(c)) << c.name;
    }
    EXPECT_EQ(fish("quorvelctl set "), (Words{"plan", "start-day", "used"}));
    EXPECT_EQ(fish("quorvelctl limits --day "), (Words{"on", "off"}));
    EXPECT_EQ(fish("quorvelctl watch --autostart "), (Words{"on", "off"}));
    EXPECT_EQ(fish("quorvelctl interfaces --ignore "), interfaceNames());
    Folder f;
    EXPECT_EQ(fish("quorvelctl chart --output month", f.dir.path()), (Words{"month.png", "month.svg"}));
}

// What zsh offers for a command line: an interactive zsh on a pseudo-terminal runs the completion
// system with compadd reporting every match, then prints a marker that ends the reading. Keys are
// typed only once the line editor has the terminal, so the terminal's own line editing never
// sees them.
Words zsh(const std::string& line, const fs::path& scratch)
{
    const std::string driver = R"(zmodload zsh/zpty || exit 7
zpty z zsh -f -i
zpty -w z "PS1='' RPROMPT=''; fpath=(${(q)1} \$fpath); autoload -Uz compinit; compinit -u -d ${(q)2}/zcompdump"
zpty -w z "compadd() { local -a __m; builtin compadd -O __m \"\$@\"; print -rl -- '' \${^__m}'<<m>>' > /dev/tty }"
zpty -w z "zle-line-init() { print -rn -- '<<edi''ting>>' > /dev/tty }; zle -N zle-line-init"
zpty -r z line '*<<editing>>*'
zpty -w -n z "$3"$'\t\C-u'
zpty -w z "print -r -- '<<do''ne>>'"
zpty -r z out '*<<done>>*'
print -rl -- ${${(M)${(s: :)${out//[[:space:]]/ }}:#*<<m>>}%<<m>>}
zpty -d z
)";
    std::string out;
    std::string err;
    EXPECT_EQ(quorvel::clitest::runProcess({"zsh", "-f", "-c", driver, "zsh", kScripts, scratch.string(), line}, {},
                                           out, err),
              0)
        << err;
    return lines(out, false);
}

TEST(CtlCompletion, ZshOffersCommandsTheDocumentedOptionsSwitchesAndInterfaces)
{
    if (!installed("zsh")) {
        GTEST_SKIP() << "zsh is not installed";
    }
    TempDir scratch;
    EXPECT_EQ(zsh("quorvelctl ", scratch.path()), commandNames());
    EXPECT_EQ(zsh("quorvelctl help ", scratch.path()), commandNames());
    for (const CtlHelp::Command& c : CtlHelp::commands()) {
        if (!c.options.empty()) {
            EXPECT_EQ(zsh("quorvelctl " + c.name + " --", scratch.path()), optionsOf(c)) << c.name;
        }
    }
    EXPECT_EQ(zsh("quorvelctl reset ", scratch.path()), (Words{"locations", "previous-months"}));
    EXPECT_EQ(zsh("quorvelctl limits --overbound ", scratch.path()), (Words{"on", "off"}));
    EXPECT_EQ(zsh("quorvelctl interfaces --auto ", scratch.path()), interfaceNames());
}

}  // namespace
