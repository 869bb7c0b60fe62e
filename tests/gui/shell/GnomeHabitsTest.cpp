// SPDX-License-Identifier: GPL-3.0-or-later
// What a GNOME user expects of any window: tabs switched from the keyboard, the shortcuts window
// on Ctrl+? and F1, a primary menu with About, and the window opening again as it was left.
// Keys go through the X server.
#include "ShellTestSupport.hpp"

#include <X11/keysym.h>

#include <gtkmm/shortcutswindow.h>

#include "RealInput.hpp"
#include "model/DefaultsKeys.hpp"
#include "platform/UserDefaults.hpp"
#include "shell/FPrimaryMenu.hpp"

namespace quorvel::guitest {
namespace {

class GnomeHabits : public ShellTest {
protected:
    Gtk::Window& window() { return *delegate_->window(); }
    void start()
    {
        demoState();
        launch();
        waitFrames(window());
    }
    // The window the help overlay shows, when it is on screen.
    static bool shortcutsShown(Gtk::Window& w)
    {
        for (Gtk::Window* shown : Gtk::Window::list_toplevels()) {
            if (dynamic_cast<Gtk::ShortcutsWindow*>(shown) != nullptr && shown->get_visible() &&
                shown->get_transient_for() == &w) {
                return true;
            }
        }
        return false;
    }
    static void hideShortcuts()
    {
        for (Gtk::Window* shown : Gtk::Window::list_toplevels()) {
            if (dynamic_cast<Gtk::ShortcutsWindow*>(shown) != nullptr) {
                shown->hide();
            }
        }
    }
};

TEST_F(GnomeHabits, AltNumbersAndCtrlPageKeysSwitchTabs)
{
    start();
    FTabInterface& tabs = *delegate_->tabs();
    const unsigned digits[4] = {XK_1, XK_2, XK_3, XK_4};
    for (int tab : {3, 1, 2, 0}) {
        pressKey(window(), digits[tab], {XK_Alt_L});
        EXPECT_TRUE(runUntil([&] { return tabs.selectedTab() == tab; })) << "Alt+" << tab + 1;
    }
    pressKey(window(), XK_Page_Up, {XK_Control_L});
    EXPECT_TRUE(runUntil([&] { return tabs.selectedTab() == 3; })) << "before the first comes the last";
    pressKey(window(), XK_Page_Down, {XK_Control_L});
    EXPECT_TRUE(runUntil([&] { return tabs.selectedTab() == 0; })) << "after the last comes the first";
    pressKey(window(), XK_Page_Down, {XK_Control_L});
    EXPECT_TRUE(runUntil([&] { return tabs.selectedTab() == 1; }));
}

TEST_F(GnomeHabits, CtrlQuestionMarkAndF1ShowTheShortcuts)
{
    start();
    pressKey(window(), XK_F1);
    EXPECT_TRUE(runUntil([&] { return shortcutsShown(window()); })) << "F1";
    hideShortcuts();
    settle(5);
    pressKey(window(), XK_question, {XK_Control_L, XK_Shift_L});
    EXPECT_TRUE(runUntil([&] { return shortcutsShown(window()); })) << "Ctrl+?";
    hideShortcuts();
}

TEST_F(GnomeHabits, ThePrimaryMenuOffersShortcutsAndAbout)
{
    start();
    GMenuModel* menu = gtk_menu_button_get_menu_model(delegate_->tabs()->primaryMenu().button().gobj());
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> actions;
    for (int i = 0; i < g_menu_model_get_n_items(menu); ++i) {
        gchar* action = nullptr;
        g_menu_model_get_item_attribute(menu, i, G_MENU_ATTRIBUTE_ACTION, "s", &action);
        actions.emplace_back(action != nullptr ? action : "");
        g_free(action);
    }
    EXPECT_EQ(actions, (std::vector<std::string>{"win.show-help-overlay", "app.about"}));
    EXPECT_TRUE(app_->has_action("about"));

    GtkWidget* about = FPrimaryMenu::makeAboutWindow(window());
    AdwAboutWindow* w = ADW_ABOUT_WINDOW(about);
    EXPECT_STREQ(adw_about_window_get_application_name(w), "Quorvel");
    EXPECT_STREQ(adw_about_window_get_version(w), QUORVEL_VERSION);
    EXPECT_EQ(adw_about_window_get_license_type(w), GTK_LICENSE_GPL_3_0);
    EXPECT_STREQ(adw_about_window_get_website(w), "https://quorvel.org/");
    EXPECT_NE(adw_about_window_get_issue_url(w), nullptr);
    EXPECT_NE(adw_about_window_get_developers(w), nullptr);
    gtk_window_present(GTK_WINDOW(about));
    waitFrames(*Glib::wrap(GTK_WINDOW(about)), 3);
    settle(20);
    keepScreenshot(picture(*Glib::wrap(GTK_WINDOW(about))), "about-window");
    gtk_window_destroy(GTK_WINDOW(about));
}

TEST_F(GnomeHabits, TheWindowOpensAgainAtTheSizeItWasClosedIn)
{
    ::unsetenv("QUORVEL_IDIOM");
    start();
    ASSERT_TRUE(resizeWindow(window(), 420, 640));
    settle(10);
    window().close();
    settle(10);
    UserDefaults stored(Paths::fromEnvironment().defaultsFile);
    EXPECT_EQ(stored.unsigned64ForKey(DefaultsKeys::kWindowWidth), 420u);
    EXPECT_EQ(stored.unsigned64ForKey(DefaultsKeys::kWindowHeight), 640u);
    EXPECT_EQ(stored.boolForKey(DefaultsKeys::kWindowMaximized), false);
    delegate_.reset();
    app_.reset();

    launch();
    waitFrames(window());
    EXPECT_TRUE(runUntil([&] { return window().get_width() == 420 && window().get_height() == 640; }))
        << window().get_width() << "x" << window().get_height();
    // (Maximising needs a window manager, which the test display has not.)
}

TEST_F(GnomeHabits, AStoredSizeBeyondReasonIsNotTakenBack)
{
    {
        demoState();
        UserDefaults stored(Paths::fromEnvironment().defaultsFile);
        stored.setObject(DefaultsKeys::kWindowWidth, 5);
        stored.setObject(DefaultsKeys::kWindowHeight, 100000);
        ASSERT_TRUE(stored.synchronize());
    }
    launch();
    waitFrames(window());
    EXPECT_TRUE(runUntil([&] { return window().get_width() == 360 && window().get_height() == 720; }))
        << window().get_width() << "x" << window().get_height();
}

}  // namespace
}  // namespace quorvel::guitest
