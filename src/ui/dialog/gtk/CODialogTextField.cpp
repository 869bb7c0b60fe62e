// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/gtk/CODialogTextField.hpp"

#include <gtk/gtk.h>

#include <gtkmm/cssprovider.h>
#include <gtkmm/snapshot.h>
#include <gtkmm/stylecontext.h>

#include "ui/dialog/gtk/CODialog.hpp"

namespace quorvel {

namespace {

// Black text on the white frame the dialog draws, 4 points in from its sides. The entry itself
// has no padding, so its bounds are the frame. Sizes in pt follow the user's text scaling
// (15.75 pt is 21 points at the standard resolution).
constexpr const char* kStyle = R"css(
entry.qv-dialog-field, entry.qv-dialog-field:focus-within {
  min-height: 0; margin: 0; padding: 0;
  border: none; border-radius: 0; outline: none; box-shadow: none; background: none;
  color: black; caret-color: black; font-size: 15.75pt; font-weight: normal;
}
entry.qv-dialog-field > text { margin: 0 4px; }
entry.qv-dialog-field > text > selection { background-color: rgba(153, 204, 51, 0.45); color: black; }
entry.qv-dialog-field > text > placeholder { color: rgba(0, 0, 0, 0.5); opacity: 1; }
.qv-dialog-accessory { color: white; }
)css";

}  // namespace

CODialogTextField::CODialogTextField(CODialog& dialog, const std::string& placeholder, bool secure)
    : Glib::ObjectBase("QuorvelCODialogTextField"), dialog_(dialog)
{
    installStyle();
    add_css_class("qv-dialog-field");
    set_has_frame(false);
    set_placeholder_text(placeholder);
    set_visibility(!secure);
    set_input_purpose(Gtk::InputPurpose::DIGITS);
    set_size_request(200, 29);
    signal_activate().connect([this] { dialog_.textFieldShouldReturn(*this); });
}

void CODialogTextField::installStyle()
{
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(kStyle);
    Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), provider,
                                                GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
}

void CODialogTextField::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const int w = get_width();
    const int h = get_height();
    // Room below for the frame's faint light edge.
    auto cr = snapshot->append_cairo(Gdk::Rectangle(0, 0, w, h + 1));
    dialog_.drawTextFieldInRect(cr, {0, 0, static_cast<double>(w), static_cast<double>(h)});
    Gtk::Entry::snapshot_vfunc(snapshot);
}

}  // namespace quorvel
