// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>

#include <glibmm/extraclassinit.h>
#include <gtkmm/widget.h>

namespace quorvel {

class CODialog;

// A dialog button: its face is drawn by the dialog, highlighted when it is the dialog's default
// button and darkened while pressed. A click, Enter or Space runs its action.
class CODialogButton : public Glib::ExtraClassInit, public Gtk::Widget {
public:
    using Action = std::function<void()>;

    CODialogButton(CODialog& dialog, std::string title, Action action, int index);

    const std::string& title() const { return title_; }
    int index() const { return index_; }
    const Action& action() const { return action_; }
    bool isDown() const { return down_; }
    // Runs the action the way a click on the button does.
    void click();

protected:
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

private:
    void setDown(bool down);

    CODialog& dialog_;
    std::string title_;
    Action action_;
    int index_;
    bool down_ = false;
};

}  // namespace quorvel
