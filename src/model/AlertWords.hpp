// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace quorvel {

// The alerts' words in the user's language. Alerts are composed in English, which the alert
// history and `status --json` keep whatever the language; where a person reads one (the desktop
// notification, the window's alert, the command line's plain output) its title and body are
// recognised by their English pattern and written anew from the translated one, with the same
// figures. A text of no known pattern is looked up as it is, and kept when it has no translation.
class AlertWords {
public:
    static std::string translated(const std::string& english);
};

}  // namespace quorvel
