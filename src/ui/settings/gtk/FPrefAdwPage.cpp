// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefAdwPage.hpp"

#include <adwaita.h>

namespace quorvel {

namespace {
constexpr int kMaximumWidth = 600;
}

FPrefAdwPage::FPrefAdwPage()
{
    scroller_.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    scroller_.set_vexpand(true);
    column_ = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 24);
    column_->add_css_class("qv-connections");  // switches in the settings' green
    column_->set_margin_top(12);
    column_->set_margin_bottom(20);
    column_->set_margin_start(12);
    column_->set_margin_end(12);
    GtkWidget* clamp = adw_clamp_new();
    adw_clamp_set_maximum_size(ADW_CLAMP(clamp), kMaximumWidth);
    adw_clamp_set_child(ADW_CLAMP(clamp), GTK_WIDGET(column_->gobj()));
    scroller_.set_child(*Gtk::manage(Glib::wrap(clamp)));
}

AdwPreferencesGroup* FPrefAdwPage::addGroup(const char* title, const char* description)
{
    GtkWidget* group = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(group), title);
    adw_preferences_group_set_description(ADW_PREFERENCES_GROUP(group), description);
    column_->append(*Gtk::manage(Glib::wrap(group)));
    return ADW_PREFERENCES_GROUP(group);
}

AdwActionRow* FPrefAdwPage::switchRow(const std::string& title, const std::string& subtitle, Gtk::Switch& toggle)
{
    AdwActionRow* row = ADW_ACTION_ROW(adw_action_row_new());
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), title.c_str());
    // Titles may be the kernel's interface names, never markup.
    adw_preferences_row_set_use_markup(ADW_PREFERENCES_ROW(row), FALSE);
    adw_action_row_set_subtitle(row, subtitle.c_str());
    toggle.set_valign(Gtk::Align::CENTER);
    adw_action_row_add_suffix(row, GTK_WIDGET(toggle.gobj()));
    adw_action_row_set_activatable_widget(row, GTK_WIDGET(toggle.gobj()));
    return row;
}

AdwEntryRow* FPrefAdwPage::entryRow(AdwPreferencesGroup* group, const char* title)
{
    AdwEntryRow* row = ADW_ENTRY_ROW(adw_entry_row_new());
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), title);
    adw_preferences_group_add(group, GTK_WIDGET(row));
    return row;
}

std::string FPrefAdwPage::text(AdwEntryRow* row)
{
    const char* t = gtk_editable_get_text(GTK_EDITABLE(row));
    return t != nullptr ? t : "";
}

void FPrefAdwPage::setText(AdwEntryRow* row, const std::string& text)
{
    gtk_editable_set_text(GTK_EDITABLE(row), text.c_str());
}

Gtk::Button& FPrefAdwPage::addAction(const char* label, std::function<void()> clicked)
{
    auto* button = Gtk::make_managed<Gtk::Button>(label);
    button->add_css_class("suggested-action");
    button->add_css_class("pill");
    button->set_halign(Gtk::Align::CENTER);
    button->signal_clicked().connect(std::move(clicked));
    column_->append(*button);
    return *button;
}

Gtk::Label& FPrefAdwPage::addRefusal()
{
    auto* label = Gtk::make_managed<Gtk::Label>();
    label->add_css_class("error");
    label->set_wrap(true);
    label->set_xalign(0.0f);
    label->set_visible(false);
    column_->append(*label);
    return *label;
}

void FPrefAdwPage::tell(Gtk::Label& refusal, const std::string& why)
{
    refusal.set_text(why);
    refusal.set_visible(!why.empty());
}

}  // namespace quorvel
