// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <sigc++/connection.h>

#include "platform/NotificationCenter.hpp"
#include "ui/ScreenContext.hpp"
#include "ui/settings/gtk/FPrefAdwPage.hpp"
#include "ui/settings/gtk/FPrefNavigationController.hpp"

namespace quorvel {

// "Data Packs", pushed from the settings: adds a pack (a size in MB valid a number of days from
// a date, today unless another is typed), lists the packs numbered from 1 with what each has
// left and until when, and removes one. A refused pack is told under the fields and adds nothing.
class FPrefPacksViewController final : public FPrefNavigationController::Page {
public:
    static constexpr const char* kTitle = "Data Packs";

    explicit FPrefPacksViewController(ScreenContext& context);
    FPrefPacksViewController(const FPrefPacksViewController&) = delete;
    FPrefPacksViewController& operator=(const FPrefPacksViewController&) = delete;
    ~FPrefPacksViewController() override;

    Gtk::Widget& widget() override { return page_.widget(); }
    std::string title() const override { return kTitle; }

    void reloadData();
    // Adds the pack the fields describe; false when refused.
    bool addPack();
    // Index from 0, as listed.
    void removePack(std::size_t index);

    AdwEntryRow* sizeField() const { return size_; }
    AdwEntryRow* daysField() const { return days_; }
    AdwEntryRow* fromField() const { return from_; }
    Gtk::Button& addButton() { return *add_; }
    Gtk::Label& refusal() { return *refusal_; }
    // The listed packs' titles and subtitles: "1", "1 GB · 300 MB left · until 2026-12-16".
    struct Listed {
        std::string title;
        std::string subtitle;
    };
    const std::vector<Listed>& listed() const { return listed_; }
    Gtk::Button& removeButton(std::size_t index) const { return *removeButtons_.at(index); }

private:
    void buildAdd();
    void clearList();

    ScreenContext& context_;
    FPrefAdwPage page_;
    AdwEntryRow* size_ = nullptr;
    AdwEntryRow* days_ = nullptr;
    AdwEntryRow* from_ = nullptr;
    Gtk::Button* add_ = nullptr;
    Gtk::Label* refusal_ = nullptr;
    AdwPreferencesGroup* packs_ = nullptr;
    std::vector<GtkWidget*> rows_;  // owned by the group
    std::vector<Gtk::Button*> removeButtons_;
    std::vector<Listed> listed_;
    sigc::connection pendingRemove_;
    NotificationCenter::Registration dataChanged_;
};

}  // namespace quorvel
