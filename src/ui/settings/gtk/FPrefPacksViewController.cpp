// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefPacksViewController.hpp"

#include <adwaita.h>

#include <glibmm/main.h>

#include "engine/AppActions.hpp"
#include "model/Messages.hpp"
#include "ui/settings/PlanEntries.hpp"

namespace quorvel {

FPrefPacksViewController::FPrefPacksViewController(ScreenContext& context) : context_(context)
{
    buildAdd();
    packs_ = page_.addGroup("Packs", "Packs are used before the plan, the one that ends soonest first.");
    reloadData();
    // What a pack has left changes with every sample.
    dataChanged_ = context_.center.addObserver(std::string(messages::kDataUsageWasChanged),
                                               [this](const Notification&) { reloadData(); });
}

FPrefPacksViewController::~FPrefPacksViewController()
{
    pendingRemove_.disconnect();
}

void FPrefPacksViewController::buildAdd()
{
    AdwPreferencesGroup* group = page_.addGroup("Add a Pack", "Data bought on top of the plan.");
    size_ = FPrefAdwPage::entryRow(group, "Size (MB)");
    days_ = FPrefAdwPage::entryRow(group, "Valid for Days");
    from_ = FPrefAdwPage::entryRow(group, "From (YYYY-MM-DD)");
    FPrefAdwPage::setText(from_, context_.app.today().text());
    refusal_ = &page_.addRefusal();
    add_ = &page_.addAction("Add Pack", [this] { addPack(); });
}

bool FPrefPacksViewController::addPack()
{
    const PlanEntries::Read<AddonPack> pack =
        PlanEntries::pack(FPrefAdwPage::text(size_), FPrefAdwPage::text(days_), FPrefAdwPage::text(from_),
                          context_.app.today());
    if (pack.value && !context_.app.addPack(*pack.value)) {
        FPrefAdwPage::tell(*refusal_, "There are already 100 packs; remove one first.");
        return false;
    }
    FPrefAdwPage::tell(*refusal_, pack.why);
    if (!pack.value) {
        return false;
    }
    FPrefAdwPage::setText(size_, "");
    FPrefAdwPage::setText(days_, "");
    FPrefAdwPage::setText(from_, context_.app.today().text());
    reloadData();
    return true;
}

void FPrefPacksViewController::removePack(std::size_t index)
{
    context_.app.removePack(index);
    reloadData();
}

void FPrefPacksViewController::clearList()
{
    for (GtkWidget* row : rows_) {
        adw_preferences_group_remove(packs_, row);
    }
    rows_.clear();
    removeButtons_.clear();
    listed_.clear();
}

void FPrefPacksViewController::reloadData()
{
    clearList();
    const std::vector<AddonPack>& packs = context_.app.dataPlan().packs();
    const std::vector<std::uint64_t> left = context_.app.packsLeft();
    const LocalDay today = context_.app.today();
    if (packs.empty()) {
        GtkWidget* none = adw_action_row_new();
        adw_preferences_row_set_title(ADW_PREFERENCES_ROW(none), "No packs");
        adw_preferences_group_add(packs_, none);
        rows_.push_back(none);
    }
    for (std::size_t i = 0; i < packs.size(); ++i) {
        Listed shown{std::to_string(i + 1), PlanEntries::packSummary(packs[i], i < left.size() ? left[i] : 0, today)};
        AdwActionRow* row = ADW_ACTION_ROW(adw_action_row_new());
        adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), ("Pack " + shown.title).c_str());
        adw_action_row_set_subtitle(row, shown.subtitle.c_str());
        auto* remove = Gtk::make_managed<Gtk::Button>();
        remove->set_icon_name("user-trash-symbolic");
        remove->set_tooltip_text("Remove pack " + shown.title);
        remove->add_css_class("flat");
        remove->set_valign(Gtk::Align::CENTER);
        // Removed once the click's handler has returned: the list it sits in is rebuilt.
        remove->signal_clicked().connect([this, i] {
            pendingRemove_.disconnect();
            pendingRemove_ = Glib::signal_idle().connect([this, i] {
                removePack(i);
                return false;
            });
        });
        adw_action_row_add_suffix(row, GTK_WIDGET(remove->gobj()));
        adw_preferences_group_add(packs_, GTK_WIDGET(row));
        rows_.push_back(GTK_WIDGET(row));
        removeButtons_.push_back(remove);
        listed_.push_back(std::move(shown));
    }
}

}  // namespace quorvel
