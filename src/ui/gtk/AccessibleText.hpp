// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include <gtkmm/widget.h>

namespace quorvel {

// What a screen reader says for a widget: its name (the words a person would use for it) and a
// description (the figures it shows). Without a name the toolkit falls back to the type name.
class AccessibleText {
public:
    static void name(Gtk::Widget& widget, const std::string& text);
    static void describe(Gtk::Widget& widget, const std::string& text);
    // The widget is named by the visible label beside it, and follows its changes.
    static void labelledBy(Gtk::Widget& widget, Gtk::Widget& label);
};

}  // namespace quorvel
