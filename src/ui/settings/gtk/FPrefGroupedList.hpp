// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/listbox.h>
#include <gtkmm/scrolledwindow.h>

#include "ui/settings/gtk/FPrefTableRow.hpp"

namespace quorvel {

// A grouped list in the application's dark look: sections with a caption above, a group of rows
// and a note below, scrolled, as wide as a phone screen allows and no wider than the tablet row
// pictures. Row positions are (section, row).
class FPrefGroupedList {
public:
    enum class Header { Settings, Reset, None };

    explicit FPrefGroupedList(bool tablet);
    FPrefGroupedList(const FPrefGroupedList&) = delete;
    FPrefGroupedList& operator=(const FPrefGroupedList&) = delete;

    Gtk::Widget& widget() { return scroller_; }

    // Adds a section; returns its number.
    int addSection(const std::string& header, Header style, const std::string& footer, int footerHeight);
    // Adds a row at the end of a section (the list owns it) and gives the section's rows their
    // pictures by position.
    FPrefTableRow& addRow(int section, const std::string& text, const std::string& icon,
                          FPrefTableRow::Accessory accessory);
    FPrefTableRow& row(int section, int row);
    int rowCount(int section) const;
    int sectionCount() const { return static_cast<int>(sections_.size()); }

    // Chosen with a click, a tap or the keyboard.
    std::function<void(int section, int row)> onSelect;
    // Marks one row chosen (its title in the accent, as a click does) without acting on it.
    void selectRow(int section, int row);
    std::optional<std::pair<int, int>> selectedRow() const { return selected_; }
    void deselectAll();
    // Every caption, row title and note, top to bottom.
    std::vector<std::string> texts() const;

private:
    struct Section {
        Gtk::Box* box = nullptr;
        Gtk::Label* header = nullptr;
        Gtk::ListBox* list = nullptr;
        Gtk::Label* footer = nullptr;
        std::vector<FPrefTableRow*> rows;  // owned by their list box
    };
    void activated(int section, Gtk::ListBoxRow* row);

    bool tablet_;
    Gtk::ScrolledWindow scroller_;
    Gtk::Box* column_ = nullptr;  // inside the clamp, which owns it
    std::vector<Section> sections_;
    std::optional<std::pair<int, int>> selected_;
};

}  // namespace quorvel
