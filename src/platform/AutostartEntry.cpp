// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AutostartEntry.hpp"

#include <cstdlib>
#include <sstream>
#include <string_view>
#include <system_error>

#include "platform/Log.hpp"
#include "platform/StoredFile.hpp"

namespace quorvel {

namespace {

// Characters that make an Exec argument need quotes.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

// A desktop entry's string values escape the backslash and control characters.
std::string escapeValue(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

}  // namespace

bool AutostartEntry::present() const
{
    std::error_code ec;
    return std::filesystem::exists(file_, ec);
}

bool AutostartEntry::install(const std::filesystem::path& program) const
{
    return StoredFile(file_).write(contents(launchName(program, std::getenv("PATH"))));
}

bool AutostartEntry::remove() const
{
    std::error_code ec;
    std::filesystem::remove(file_, ec);  // an entry that is already gone is what was asked for
    if (ec) {
        Log::line("cannot remove " + file_.string() + ": " + ec.message());
        return false;
    }
    return true;
}

std::filesystem::path AutostartEntry::launchName(const std::filesystem::path& program, const char* searchPath)
{
    if (searchPath == nullptr || program.empty()) {
        return program;
    }
    std::istringstream folders(searchPath);
    for (std::string folder; std::getline(folders, folder, ':');) {
        std::error_code ec;
        const std::filesystem::path candidate = std::filesystem::path(folder) / program.filename();
        if (folder.empty() || !std::filesystem::exists(candidate, ec)) {
            continue;  // an empty entry means the working directory, which a login does not share
        }
        return std::filesystem::equivalent(candidate, program, ec) ? program.filename() : program;
    }
    return program;
}

std::string AutostartEntry::contents(const std::filesystem::path& program)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quorvel\n"
           "Comment=Counts mobile data in the background\n"
           "Exec=" +
           escapeValue(execWord(program.string()) + " watch") +
           "\n"
           "Icon=org.quorvel.Quorvel\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string AutostartEntry::execWord(const std::string& word)
{
    std::string out;
    const bool quote = word.empty() || word.find_first_of(kReserved) != std::string::npos;
    for (const char c : word) {
        if (c == '%') {
            out += "%%";  // a lone % would be a field code
        } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return quote ? '"' + out + '"' : out;
}

}  // namespace quorvel
