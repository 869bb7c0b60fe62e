// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/gtk/UIDeviceVersion.hpp"

#include <cstdlib>
#include <cstring>

#include <gtk/gtk.h>

namespace quorvel {

namespace {

std::string& versionText()
{
    static std::string text = std::to_string(gtk_get_major_version()) + "." + std::to_string(gtk_get_minor_version()) +
                              "." + std::to_string(gtk_get_micro_version());
    return text;
}

UIDeviceVersion::Idiom& currentIdiom()
{
    static UIDeviceVersion::Idiom idiom = UIDeviceVersion::idiomForWindowWidth(0);
    return idiom;
}

}  // namespace

int UIDeviceVersion::sysVersion(const std::string& text)
{
    for (int major = 3; major <= 8; ++major) {
        if (text.starts_with(std::to_string(major) + ".")) {
            return major;
        }
    }
    return 0;
}

int UIDeviceVersion::sysVersion()
{
    return sysVersion(versionText());
}

const std::string& UIDeviceVersion::systemVersionText()
{
    return versionText();
}

void UIDeviceVersion::setSystemVersionText(std::string text)
{
    versionText() = std::move(text);
}

UIDeviceVersion::Idiom UIDeviceVersion::idiom()
{
    return currentIdiom();
}

void UIDeviceVersion::setIdiom(Idiom idiom)
{
    currentIdiom() = idiom;
}

UIDeviceVersion::Idiom UIDeviceVersion::idiomForWindowWidth(int logicalWidth)
{
    if (const char* forced = std::getenv("QUORVEL_IDIOM")) {
        if (std::strcmp(forced, "tablet") == 0) {
            return Idiom::Tablet;
        }
        if (std::strcmp(forced, "phone") == 0) {
            return Idiom::Phone;
        }
    }
    return logicalWidth >= 768 ? Idiom::Tablet : Idiom::Phone;
}

}  // namespace quorvel
