// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translation.hpp"

#include <clocale>
#include <system_error>

#include "platform/ProgramPath.hpp"

namespace quorvel {

void Translation::setUp()
{
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    const std::filesystem::path self = ProgramPath::self();
    if (!self.empty()) {
        const std::filesystem::path dir = catalogueDirFor(self.parent_path());
        bindtextdomain(kDomain, dir.c_str());
    }
    bind_textdomain_codeset(kDomain, "UTF-8");
    textdomain(kDomain);
}

const char* Translation::tr(const char* text)
{
    return text == nullptr || *text == '\0' ? "" : ::gettext(text);
}

std::string Translation::fill(const char* translated, std::initializer_list<std::string> values)
{
    return fill(translated, std::vector<std::string>(values));
}

std::string Translation::fill(const char* translated, const std::vector<std::string>& values)
{
    std::string out = translated;
    std::size_t at = 0;
    for (const std::string& value : values) {
        at = out.find("%s", at);
        if (at == std::string::npos) {
            break;
        }
        out.replace(at, 2, value);
        at += value.size();
    }
    return out;
}

std::filesystem::path Translation::catalogueDirFor(const std::filesystem::path& programDir)
{
    std::error_code ec;
    const std::filesystem::path built = programDir.parent_path() / "locale";
    if (std::filesystem::is_directory(built, ec)) {
        return built;
    }
    return programDir.parent_path() / "share" / "locale";
}

}  // namespace quorvel
