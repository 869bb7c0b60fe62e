#include "platform/AutostartEntry.hpp"

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
    return StoredFile(file_).write(contents(program));
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
