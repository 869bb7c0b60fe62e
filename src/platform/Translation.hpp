// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include <libintl.h>

// The marks xgettext looks for: `_()` translates now, `N_()` only marks a text translated later.
#define _(text) ::gettext(text)
#define N_(text) text

namespace quorvel {

// The user's language for the programs' texts. Only the messages, dates and collation follow the
// locale: numbers keep the C locale everywhere, so that whatever a program writes for a machine
// (CSS, JSON, file names) and every size it shows keep a decimal point.
class Translation {
public:
    static constexpr const char* kDomain = "quorvel";

    // A text in the user's language; the empty text stays empty (gettext would give the header).
    static const char* tr(const char* text);
    static std::string tr(const std::string& text) { return tr(text.c_str()); }
    // A translated text with each "%s" replaced by the next of `values`, in order.
    static std::string fill(const char* translated, std::initializer_list<std::string> values);
    static std::string fill(const char* translated, const std::vector<std::string>& values);

    // Sets the locale from the environment and finds the catalogues relative to the running program.
    static void setUp();
    // Where the catalogues of a program in `programDir` are: share/locale beside an installed
    // program's bin/, the build tree's locale/ beside its app/ folder.
    static std::filesystem::path catalogueDirFor(const std::filesystem::path& programDir);
};

}  // namespace quorvel
