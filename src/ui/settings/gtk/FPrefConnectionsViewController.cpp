// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefConnectionsViewController.hpp"

#include <adwaita.h>

#include <glibmm/main.h>

#include "engine/AppActions.hpp"
#include "model/Messages.hpp"

namespace quorvel {

namespace {

constexpr int kMaximumWidth = 600;

AdwPreferencesGroup* addGroup(Gtk::Box& column, const char* title, const char* description)
{
    GtkWidget* group = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(group), title);
    adw_preferences_group_set_description(ADW_PREFERENCES_GROUP(group), description);
    column.append(*Gtk::manage(Glib::wrap(group)));
    return ADW_PREFERENCES_GROUP(group);
}

// A row whose switch a tap anywhere on the row toggles.
AdwActionRow* switchRow(const std::string& title, const std::string& subtitle, Gtk::Switch& toggle)
{
    AdwActionRow* row = ADW_ACTION_ROW(adw_action_row_new());
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), title.c_str());
    // Interface names are the kernel's, never markup.
    adw_preferences_row_set_use_markup(ADW_PREFERENCES_ROW(row), FALSE);
    adw_action_row_set_subtitle(row, subtitle.c_str());
    toggle.set_valign(Gtk::Align::CENTER);
    adw_action_row_add_suffix(row, GTK_WIDGET(toggle.gobj()));
    adw_action_row_set_activatable_widget(row, GTK_WIDGET(toggle.gobj()));
    return row;
}

}  // namespace

FPrefConnectionsViewController::FPrefConnectionsViewController(ScreenContext& context) : context_(context)
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

    interfaces_ = addGroup(*column_, ConnectionRows::kHeaderInterfaces, ConnectionRows::kFooterInterfaces);
    AdwPreferencesGroup* metered = addGroup(*column_, "", "");
    metered_ = Gtk::make_managed<Gtk::Switch>();
    adw_preferences_group_add(metered, GTK_WIDGET(switchRow(ConnectionRows::kRowMetered,
                                                            ConnectionRows::kMeteredSubtitle, *metered_)));
    metered_->property_active().signal_changed().connect([this] {
        if (!syncing_) {
            meteredToggled(metered_->get_active());
        }
    });

    reloadData();
    // A sample may find interfaces come or go.
    dataChanged_ = context_.center.addObserver(std::string(messages::kDataUsageWasChanged),
                                               [this](const Notification&) { reloadData(); });
}

FPrefConnectionsViewController::~FPrefConnectionsViewController()
{
    pendingRebuild_.disconnect();
}

void FPrefConnectionsViewController::reloadData()
{
    const std::vector<ConnectionRow> rows = ConnectionRows::fromReport(context_.app.interfaceReport());
    syncing_ = true;
    metered_->set_active(context_.app.countMetered());
    syncing_ = false;
    if (!shown_.empty() && ConnectionRows::sameInterfaces(rows, shown_)) {
        showRows(rows);
        return;
    }
    // Asked from a switch's own handler, the rows go once that handler has returned.
    pendingRebuild_.disconnect();
    if (shown_.empty() && widgets_.empty()) {
        rebuildRows(rows);
    } else {
        pendingRebuild_ = Glib::signal_idle().connect([this, rows] {
            rebuildRows(rows);
            return false;
        });
    }
}

void FPrefConnectionsViewController::rebuildRows(const std::vector<ConnectionRow>& rows)
{
    for (const RowWidgets& w : widgets_) {
        adw_preferences_group_remove(interfaces_, GTK_WIDGET(w.row));
    }
    widgets_.clear();
    if (empty_ != nullptr) {
        adw_preferences_group_remove(interfaces_, GTK_WIDGET(empty_));
        empty_ = nullptr;
    }
    if (rows.empty()) {
        empty_ = ADW_ACTION_ROW(adw_action_row_new());
        adw_preferences_row_set_title(ADW_PREFERENCES_ROW(empty_), ConnectionRows::kNoInterfaces);
        adw_preferences_group_add(interfaces_, GTK_WIDGET(empty_));
    }
    for (const ConnectionRow& r : rows) {
        auto* toggle = Gtk::make_managed<Gtk::Switch>();
        AdwActionRow* row = switchRow(r.name, r.reason, *toggle);
        toggle->property_active().signal_changed().connect([this, toggle, name = r.name] {
            if (!syncing_) {
                interfaceToggled(name, toggle->get_active());
            }
        });
        adw_preferences_group_add(interfaces_, GTK_WIDGET(row));
        widgets_.push_back({row, toggle});
    }
    shown_.clear();  // showRows fills it
    showRows(rows);
}

void FPrefConnectionsViewController::showRows(const std::vector<ConnectionRow>& rows)
{
    syncing_ = true;
    for (std::size_t i = 0; i < rows.size() && i < widgets_.size(); ++i) {
        adw_action_row_set_subtitle(widgets_[i].row, rows[i].reason.c_str());
        widgets_[i].toggle->set_active(rows[i].counted);
    }
    syncing_ = false;
    shown_ = rows;
}

void FPrefConnectionsViewController::interfaceToggled(const std::string& name, bool on)
{
    context_.app.countInterface(name, on);
    reloadData();
}

void FPrefConnectionsViewController::meteredToggled(bool on)
{
    context_.app.setCountMetered(on);
    reloadData();
}

}  // namespace quorvel
