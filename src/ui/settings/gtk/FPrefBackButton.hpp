// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtkmm/button.h>
#include <gtkmm/label.h>

namespace quorvel {

// The "Back" key of pushed pages: the arrow-shaped "button_back" picture, "button_back_a" while
// pressed, 90 points wide and as tall as the picture, its title light grey and the accent while
// pressed.
class FPrefBackButton final : public Gtk::Button {
public:
    FPrefBackButton();
    static constexpr int kWidth = 90;

protected:
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

private:
    Gtk::Label title_{"Back"};
};

}  // namespace quorvel
