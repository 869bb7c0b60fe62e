// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/switch.h>

typedef struct _AdwActionRow AdwActionRow;
typedef struct _AdwEntryRow AdwEntryRow;
typedef struct _AdwPreferencesGroup AdwPreferencesGroup;

namespace quorvel {

// The frame of the pushed settings pages built of preference groups: a scrolled column no wider
// than a readable line, centred in wide windows and down to a phone's 360 px, and the rows
// those pages are made of.
class FPrefAdwPage {
public:
    FPrefAdwPage();
    FPrefAdwPage(const FPrefAdwPage&) = delete;
    FPrefAdwPage& operator=(const FPrefAdwPage&) = delete;

    Gtk::Widget& widget() { return scroller_; }
    Gtk::Box& column() { return *column_; }

    AdwPreferencesGroup* addGroup(const char* title, const char* description);
    // A row whose switch a tap anywhere on the row toggles.
    static AdwActionRow* switchRow(const std::string& title, const std::string& subtitle, Gtk::Switch& toggle);
    static AdwEntryRow* entryRow(AdwPreferencesGroup* group, const char* title);
    static std::string text(AdwEntryRow* row);
    static void setText(AdwEntryRow* row, const std::string& text);
    // The page's one action under its fields, e.g. "Save Period".
    Gtk::Button& addAction(const char* label, std::function<void()> clicked);
    // Where a page tells what it refused, under the fields; hidden while empty.
    Gtk::Label& addRefusal();
    static void tell(Gtk::Label& refusal, const std::string& why);

private:
    Gtk::ScrolledWindow scroller_;
    Gtk::Box* column_ = nullptr;  // owned by the clamp in the scroller
};

}  // namespace quorvel
