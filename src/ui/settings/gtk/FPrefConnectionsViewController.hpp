// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include <gtkmm/box.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/switch.h>
#include <sigc++/connection.h>

#include "platform/NotificationCenter.hpp"
#include "ui/settings/ConnectionRows.hpp"
#include "ui/settings/gtk/FPrefAdwPage.hpp"
#include "ui/settings/gtk/FPrefNavigationController.hpp"
#include "ui/ScreenContext.hpp"

typedef struct _AdwActionRow AdwActionRow;
typedef struct _AdwPreferencesGroup AdwPreferencesGroup;

namespace quorvel {

// "Counted connections", pushed from the settings: every interface with a switch (on counts its
// traffic, off ignores it) and why it is counted or not, and the switch that counts metered
// connections. Changes go through the controller under its one-writer lock; the reasons are
// read again afterwards, since one choice can change another row (stacked links).
class FPrefConnectionsViewController final : public FPrefNavigationController::Page {
public:
    explicit FPrefConnectionsViewController(ScreenContext& context);
    FPrefConnectionsViewController(const FPrefConnectionsViewController&) = delete;
    FPrefConnectionsViewController& operator=(const FPrefConnectionsViewController&) = delete;
    ~FPrefConnectionsViewController() override;

    Gtk::Widget& widget() override { return page_.widget(); }
    std::string title() const override { return ConnectionRows::kTitle; }

    // Reads the interfaces again; rows are kept while the same interfaces are present.
    void reloadData();

    const std::vector<ConnectionRow>& rows() const { return shown_; }
    AdwActionRow* interfaceRow(int index) const { return widgets_.at(index).row; }
    Gtk::Switch& interfaceSwitch(int index) const { return *widgets_.at(index).toggle; }
    Gtk::Switch& meteredSwitch() { return *metered_; }

private:
    struct RowWidgets {
        AdwActionRow* row;    // owned by the group
        Gtk::Switch* toggle;  // owned by the row
    };
    void rebuildRows(const std::vector<ConnectionRow>& rows);
    void showRows(const std::vector<ConnectionRow>& rows);
    void interfaceToggled(const std::string& name, bool on);
    void meteredToggled(bool on);

    ScreenContext& context_;
    FPrefAdwPage page_;
    AdwPreferencesGroup* interfaces_ = nullptr;     // owned by the column
    AdwActionRow* empty_ = nullptr;                 // "No connections found", while so
    Gtk::Switch* metered_ = nullptr;                // owned by its row
    std::vector<ConnectionRow> shown_;
    std::vector<RowWidgets> widgets_;
    bool syncing_ = false;
    sigc::connection pendingRebuild_;
    NotificationCenter::Registration dataChanged_;
};

}  // namespace quorvel
