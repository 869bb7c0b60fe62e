// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefSimsViewController.hpp"

#include <cstring>

#include <adwaita.h>
#include <gtkmm/button.h>
#include <gtkmm/window.h>

#include "model/FileSize.hpp"
#include "model/LocalDay.hpp"
#include "model/Messages.hpp"

namespace quorvel {

namespace {

constexpr const char* kCancel = "cancel";
constexpr const char* kRename = "rename";

Gtk::Button* iconButton(const char* icon, const std::string& label)
{
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_icon_name(icon);
    button->add_css_class("flat");
    button->set_valign(Gtk::Align::CENTER);
    button->set_tooltip_text(label);
    gtk_accessible_update_property(GTK_ACCESSIBLE(button->gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, label.c_str(), -1);
    return button;
}

void renameResponded(AdwMessageDialog*, const char* response, gpointer self)
{
    auto* page = static_cast<FPrefSimsViewController*>(self);
    if (std::strcmp(response, kRename) != 0) {
        page->renameAnswered(std::nullopt);
        return;
    }
    GtkWidget* entry = adw_message_dialog_get_extra_child(page->renameDialog());
    page->renameAnswered(std::string(gtk_editable_get_text(GTK_EDITABLE(entry))));
}

}  // namespace

FPrefSimsViewController::FPrefSimsViewController(ScreenContext& context) : context_(context)
{
    group_ = page_.addGroup("Known SIMs",
                            "Each SIM keeps its own plan and history. Traffic that no SIM carries is counted for This "
                            "device.");
    reloadData();
    dataChanged_ = context_.center.addObserver(std::string(messages::kDataUsageWasChanged),
                                               [this](const Notification&) { reloadData(); });
}

FPrefSimsViewController::~FPrefSimsViewController()
{
    if (rename_) {
        g_signal_handlers_disconnect_by_data(rename_.get(), this);
        gtk_window_destroy(GTK_WINDOW(rename_.get()));
    }
}

std::string FPrefSimsViewController::subtitle(const SimRecord& sim, const std::optional<std::uint64_t>& plan)
{
    std::string text = "…" + sim.shortKey();
    if (!sim.operatorName().empty() && sim.operatorName() != sim.displayName()) {
        text += " · " + sim.operatorName();
    }
    text += " · last seen " + (sim.lastSeen() ? LocalDay::of(*sim.lastSeen()).text() : std::string("never"));
    if (plan) {
        std::string size = FileSize::formatMemoryStringDot1(*plan);
        for (std::size_t at = size.find(' '); at != std::string::npos; at = size.find(' ', at)) {
            size.replace(at, 1, "\u00a0");  // "5 GB" is not broken across lines
        }
        text += " · plan " + size;
    } else {
        text += " · not set up";
    }
    return text;
}

void FPrefSimsViewController::reloadData()
{
    shown_ = context_.app.knownSims();
    rebuildRows();
}

void FPrefSimsViewController::rebuildRows()
{
    for (AdwActionRow* row : rows_) {
        adw_preferences_group_remove(group_, GTK_WIDGET(row));
    }
    rows_.clear();
    if (empty_ != nullptr) {
        adw_preferences_group_remove(group_, GTK_WIDGET(empty_));
        empty_ = nullptr;
    }
    if (shown_.empty()) {
        empty_ = ADW_ACTION_ROW(adw_action_row_new());
        adw_preferences_row_set_title(ADW_PREFERENCES_ROW(empty_), "No SIM is known");
        adw_preferences_group_add(group_, GTK_WIDGET(empty_));
    }
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        const SimRecord& sim = shown_[i].record;
        AdwActionRow* row = ADW_ACTION_ROW(adw_action_row_new());
        adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), sim.displayName().c_str());
        adw_preferences_row_set_use_markup(ADW_PREFERENCES_ROW(row), FALSE);
        adw_action_row_set_subtitle(row, subtitle(sim, shown_[i].plan).c_str());
        Gtk::Button* rename = iconButton("document-edit-symbolic", "Rename " + sim.displayName());
        rename->signal_clicked().connect([this, i] { renameSelected(i); });
        adw_action_row_add_suffix(row, GTK_WIDGET(rename->gobj()));
        Gtk::Button* forget = iconButton("user-trash-symbolic", "Forget " + sim.displayName());
        forget->signal_clicked().connect([this, i] { forgetSelected(i); });
        adw_action_row_add_suffix(row, GTK_WIDGET(forget->gobj()));
        adw_preferences_group_add(group_, GTK_WIDGET(row));
        rows_.push_back(row);
    }
}

void FPrefSimsViewController::renameSelected(std::size_t index)
{
    if (index >= shown_.size() || rename_) {
        return;
    }
    const SimRecord& sim = shown_[index].record;
    renaming_ = sim.key();
    GtkWidget* dialog = adw_message_dialog_new(context_.window ? GTK_WINDOW(context_.window()->gobj()) : nullptr,
                                               "Rename SIM", ("The SIM …" + sim.shortKey() + " is called").c_str());
    rename_.reset(ADW_MESSAGE_DIALOG(g_object_ref(dialog)));
    GtkWidget* entry = gtk_entry_new();
    gtk_editable_set_text(GTK_EDITABLE(entry), sim.displayName().c_str());
    gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
    gtk_accessible_update_property(GTK_ACCESSIBLE(entry), GTK_ACCESSIBLE_PROPERTY_LABEL, "Name", -1);
    adw_message_dialog_set_extra_child(rename_.get(), entry);
    adw_message_dialog_add_responses(rename_.get(), kCancel, "Cancel", kRename, "Rename", nullptr);
    adw_message_dialog_set_response_appearance(rename_.get(), kRename, ADW_RESPONSE_SUGGESTED);
    adw_message_dialog_set_default_response(rename_.get(), kRename);
    adw_message_dialog_set_close_response(rename_.get(), kCancel);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    g_signal_connect(dialog, "response", G_CALLBACK(renameResponded), this);
    gtk_window_present(GTK_WINDOW(dialog));
}

void FPrefSimsViewController::renameAnswered(const std::optional<std::string>& name)
{
    if (rename_) {
        g_signal_handlers_disconnect_by_data(rename_.get(), this);
        rename_.reset();  // the dialog closes itself after answering
    }
    if (name && !context_.app.renameSim(renaming_, *name)) {
        return;  // a name the record refuses: the old one stays, as the row shows
    }
    reloadData();
}

void FPrefSimsViewController::forgetSelected(std::size_t index)
{
    if (index >= shown_.size()) {
        return;
    }
    const SimRecord sim = shown_[index].record;
    forget_.open(
        context_.window ? context_.window() : nullptr, "Forget the SIM \"" + sim.displayName() + "\"?",
        "Its plan and every day counted for it are deleted. Traffic it carries later is counted as for a new SIM.",
        [this, key = sim.key()](int answer) {
            if (answer == 1) {
                context_.app.forgetSim(key);
                reloadData();
            }
        },
        "Forget");
}

}  // namespace quorvel
