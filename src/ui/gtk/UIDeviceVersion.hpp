// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace quorvel {

// The device and system tests the screens make. The system version text is the GTK runtime
// version (so a "4." version selects the self-drawn dialog prompts); the idiom is the window's
// form: a tablet when the window is at least 768 logical pixels wide. Tests and QUORVEL_IDIOM
// may set both.
class UIDeviceVersion {
public:
    enum class Idiom { Phone, Tablet };

    // The major version for texts beginning "3." to "8."; 0 for any other.
    static int sysVersion();
    static int sysVersion(const std::string& versionText);
    static bool isVersion5more() { return sysVersion() > 4; }
    static bool isPadInterface() { return idiom() == Idiom::Tablet; }
    static bool isPhoneInterface() { return !isPadInterface(); }

    static const std::string& systemVersionText();
    static void setSystemVersionText(std::string text);
    static Idiom idiom();
    static void setIdiom(Idiom idiom);
    // The idiom for a window (or, before there is one, a monitor) of that logical width, unless
    // QUORVEL_IDIOM says otherwise.
    static Idiom idiomForWindowWidth(int logicalWidth);
    // Whether this orientation may be shown (portrait upside-down only on tablets).
    static bool shouldAutorotateToUpsideDown() { return isPadInterface(); }
};

}  // namespace quorvel
