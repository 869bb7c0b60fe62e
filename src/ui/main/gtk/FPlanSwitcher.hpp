// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <vector>

#include <gtkmm/box.h>
#include <gtkmm/dropdown.h>
#include <gtkmm/label.h>
#include <gtkmm/stringlist.h>

#include "engine/AppActions.hpp"

namespace quorvel {

// Which plan the screens show, as the header bar's title: This device's and each set-up SIM's,
// by the names people know them by. Only when there is more than one plan to show does the
// choice take the title's place; choosing one updates every screen with its figures.
class FPlanSwitcher {
public:
    explicit FPlanSwitcher(AppActions& app);
    FPlanSwitcher(const FPlanSwitcher&) = delete;
    FPlanSwitcher& operator=(const FPlanSwitcher&) = delete;

    // The header bar's title: the application's name, or the choice.
    Gtk::Widget& titleWidget() { return box_; }
    Gtk::DropDown& widget() { return dropDown_; }
    // Reads the plans anew (a SIM set up, renamed or forgotten meanwhile) and the one shown.
    void refresh();
    // The names offered, in order; for tests and the screen reader's view.
    const std::vector<AppActions::PlanChoice>& choices() const { return choices_; }
    void choose(std::size_t index);

private:
    void chosen();

    AppActions& app_;
    Glib::RefPtr<Gtk::StringList> names_;
    Gtk::Box box_;
    Gtk::Label title_;
    Gtk::DropDown dropDown_;
    std::vector<AppActions::PlanChoice> choices_;
    bool refreshing_ = false;
};

}  // namespace quorvel
