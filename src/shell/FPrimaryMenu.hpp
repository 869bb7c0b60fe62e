// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtkmm/application.h>
#include <gtkmm/applicationwindow.h>
#include <gtkmm/menubutton.h>

namespace quorvel {

// The window's primary menu, as every GNOME application has it at the end of its header bar:
// Keyboard Shortcuts (also Ctrl+? and F1) and About Quorvel.
class FPrimaryMenu {
public:
    FPrimaryMenu(Gtk::Application& app, Gtk::ApplicationWindow& window);

    Gtk::MenuButton& button() { return button_; }
    // The About window, made anew each time it is asked for; tests read it.
    static GtkWidget* makeAboutWindow(Gtk::Window& parent);
    // The shortcuts window the window's help overlay shows.
    static Gtk::ShortcutsWindow* makeShortcutsWindow();

private:
    Gtk::MenuButton button_;
};

}  // namespace quorvel
