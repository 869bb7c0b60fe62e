// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include <gtkmm/entry.h>

namespace quorvel {

class CODialog;

// A single-line numeric entry inside the dialog. The dialog draws its white frame; the theme's
// entry look is switched off so that only the text, caret and selection come from GTK.
class CODialogTextField : public Gtk::Entry {
public:
    // What Enter does: move on to the next field, or end editing on the last one.
    enum class ReturnKey { Next, Done };

    CODialogTextField(CODialog& dialog, const std::string& placeholder, bool secure);

    CODialog& dialog() { return dialog_; }
    ReturnKey returnKey() const { return returnKey_; }
    void setReturnKey(ReturnKey key) { returnKey_ = key; }

protected:
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

private:
    static void installStyle();

    CODialog& dialog_;
    ReturnKey returnKey_ = ReturnKey::Done;
};

}  // namespace quorvel
