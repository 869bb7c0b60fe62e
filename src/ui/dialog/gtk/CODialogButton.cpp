// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/gtk/CODialogButton.hpp"

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/snapshot.h>

#include "ui/dialog/gtk/CODialog.hpp"

namespace quorvel {

namespace {

void classInit(void* klass, void* /*data*/)
{
    auto* widgetClass = GTK_WIDGET_CLASS(klass);
    gtk_widget_class_set_accessible_role(widgetClass, GTK_ACCESSIBLE_ROLE_BUTTON);
    // Its own node name keeps the theme's button look away from a face drawn by hand.
    gtk_widget_class_set_css_name(widgetClass, "dialogbutton");
}

}  // namespace

CODialogButton::CODialogButton(CODialog& dialog, std::string title, Action action, int index)
    : Glib::ObjectBase("QuorvelCODialogButton"),
      Glib::ExtraClassInit(classInit),
      dialog_(dialog),
      title_(std::move(title)),
      action_(std::move(action)),
      index_(index)
{
    set_focusable(true);
    gtk_accessible_update_property(GTK_ACCESSIBLE(gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, title_.c_str(), -1);

    auto press = Gtk::GestureClick::create();
    press->set_button(GDK_BUTTON_PRIMARY);
    press->signal_pressed().connect([this](int, double, double) { setDown(true); });
    press->signal_released().connect([this](int, double x, double y) {
        setDown(false);
        if (contains(x, y)) {
            click();
        }
    });
    press->signal_stopped().connect([this] { setDown(false); });
    add_controller(press);

    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType) {
            if (key == GDK_KEY_Return || key == GDK_KEY_KP_Enter || key == GDK_KEY_ISO_Enter || key == GDK_KEY_space) {
                click();
                return true;
            }
            return false;
        },
        false);
    add_controller(keys);
    // The face is drawn by hand, so no style rule redraws it when the focus comes or goes.
    signal_state_flags_changed().connect([this](Gtk::StateFlags previous) {
        const auto focus = Gtk::StateFlags::FOCUSED | Gtk::StateFlags::FOCUS_VISIBLE;
        if (((previous ^ get_state_flags()) & focus) != Gtk::StateFlags{}) {
            queue_draw();
        }
    });
}

void CODialogButton::click()
{
    dialog_.performButtonAction(*this);
}

void CODialogButton::setDown(bool down)
{
    if (down_ != down) {
        down_ = down;
        queue_draw();
    }
}

void CODialogButton::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot)
{
    const int w = get_width();
    const int h = get_height();
    // One point more below for the light edge under the face.
    auto cr = snapshot->append_cairo(Gdk::Rectangle(0, 0, w, h + 1));
    const CODialogRect bounds{0, 0, static_cast<double>(w), static_cast<double>(h)};
    dialog_.drawButtonInRect(cr, bounds, title_, !down_ && index_ == dialog_.highlightedIndex(), down_);
    if (has_visible_focus()) {
        dialog_.drawFocusRingInRect(cr, bounds);
    }
}

}  // namespace quorvel
