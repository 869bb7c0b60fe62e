// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefConnectionsViewController.hpp"

#include <adwaita.h>

#include <glibmm/main.h>

#include "engine/AppActions.hpp"
#include "model/Messages.hpp"

namespace quorvel {

FPrefConnectionsViewController::FPrefConnectionsViewController(ScreenContext& context) : context_(context)
{
    interfaces_ = page_.addGroup(ConnectionRows::kHeaderInterfaces, ConnectionRows::kFooterInterfaces);
    AdwPreferencesGroup* metered = page_.addGroup("", "");
    metered_ = Gtk::make_managed<Gtk::Switch>();
    adw_preferences_group_add(metered, GTK_WIDGET(FPrefAdwPage::switchRow(ConnectionRows::kRowMetered,
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
        AdwActionRow* row = FPrefAdwPage::switchRow(r.name, r.reason, *toggle);
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
