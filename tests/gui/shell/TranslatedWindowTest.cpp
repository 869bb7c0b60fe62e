// SPDX-License-Identifier: GPL-3.0-or-later
// The window in German, from the catalogues the build compiled, and with GNOME's large text: the
// texts are the translations, and either picture differs from the English one below the title.
#include "ShellTestSupport.hpp"

#include <clocale>
#include <ctime>
#include <set>
#include <string>

#include <gtkmm/label.h>
#include <gtkmm/settings.h>

#include "platform/Translation.hpp"

namespace quorvel::guitest {
namespace {

// Today as the main screen heads it in the time locale set now: "10. Dezember" in German.
std::string todayInLocale()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char month[64] = {};
    std::strftime(month, sizeof month, "%B", &local);
    return std::to_string(local.tm_mday) + ". " + month;
}

class TranslatedWindow : public ShellTest {
protected:
    void TearDown() override
    {
        ShellTest::TearDown();
        std::setlocale(LC_MESSAGES, "C");
        std::setlocale(LC_TIME, "C");
        Gtk::Settings::get_default()->reset_property("gtk-xft-dpi");
    }
    Cairo::RefPtr<Cairo::ImageSurface> mainScreen(const std::string& name, std::set<std::string>& texts)
    {
        demoState();
        FAppDelegate& d = launch();
        Gtk::Window& window = *d.window();
        EXPECT_TRUE(runUntil([&] { return window.get_width() == 360 && window.get_height() == 720; }));
        waitFrames(window, 3);
        settle(30);
        for (const std::string& text : labelTexts(window)) {
            texts.insert(text);
        }
        auto image = picture(window);
        keepScreenshot(image, name);
        return image;
    }
};

TEST_F(TranslatedWindow, TheMainScreenSpeaksGermanAndFollowsLargeText)
{
    std::set<std::string> english;
    const auto inEnglish = mainScreen("main-en-phone", english);
    EXPECT_TRUE(english.count("TODAY"));
    TearDown();
    SetUp();

    // Texts and dates, as a German user's locale gives both.
    ASSERT_NE(std::setlocale(LC_MESSAGES, "de_DE.UTF-8"), nullptr) << "tools/dev bootstrap makes the German locale";
    ASSERT_NE(std::setlocale(LC_TIME, "de_DE.UTF-8"), nullptr);
    bindtextdomain(Translation::kDomain, QUORVEL_LOCALE_DIR);
    bind_textdomain_codeset(Translation::kDomain, "UTF-8");
    textdomain(Translation::kDomain);
    std::set<std::string> german;
    const auto inGerman = mainScreen("main-de-phone", german);
    for (const std::string& text :
         {std::string("HEUTE"), todayInLocale(), std::string("DES DATENVOLUMENS VERBRAUCHT"), std::string("Datenvolumen"),
          std::string("Verbraucht"), std::string("Übrig")}) {
        EXPECT_TRUE(german.count(text)) << text;
    }
    EXPECT_FALSE(german.count("TODAY"));
    EXPECT_TRUE(differ(inEnglish, inGerman));
    TearDown();
    SetUp();

    // GNOME's "Large Text": a text scaling factor of 1.5.
    std::setlocale(LC_MESSAGES, "C");
    std::setlocale(LC_TIME, "C");
    Gtk::Settings::get_default()->property_gtk_xft_dpi() = 96 * 1024 * 3 / 2;
    std::set<std::string> large;
    const auto inLargeText = mainScreen("main-large-text-phone", large);
    EXPECT_TRUE(differ(inEnglish, inLargeText, 60)) << "the screen's own texts follow the text scaling";
}

}  // namespace
}  // namespace quorvel::guitest
