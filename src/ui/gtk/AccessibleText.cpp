// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/gtk/AccessibleText.hpp"

#include <gtk/gtk.h>

namespace quorvel {

void AccessibleText::name(Gtk::Widget& widget, const std::string& text)
{
    gtk_accessible_update_property(GTK_ACCESSIBLE(widget.gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, text.c_str(), -1);
}

void AccessibleText::describe(Gtk::Widget& widget, const std::string& text)
{
    gtk_accessible_update_property(GTK_ACCESSIBLE(widget.gobj()), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION, text.c_str(),
                                   -1);
}

void AccessibleText::labelledBy(Gtk::Widget& widget, Gtk::Widget& label)
{
    gtk_accessible_update_relation(GTK_ACCESSIBLE(widget.gobj()), GTK_ACCESSIBLE_RELATION_LABELLED_BY,
                                   label.gobj(), nullptr, -1);
}

}  // namespace quorvel
