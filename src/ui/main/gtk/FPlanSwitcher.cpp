// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/gtk/FPlanSwitcher.hpp"

#include <gtk/gtk.h>

namespace quorvel {

FPlanSwitcher::FPlanSwitcher(AppActions& app) : app_(app), names_(Gtk::StringList::create({})), title_("Quorvel")
{
    title_.add_css_class("title");
    box_.append(title_);
    box_.append(dropDown_);
    dropDown_.set_model(names_);
    dropDown_.set_tooltip_text("Plan Shown");
    gtk_accessible_update_property(GTK_ACCESSIBLE(dropDown_.gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, "Plan Shown", -1);
    dropDown_.add_css_class("flat");
    dropDown_.property_selected().signal_changed().connect([this] { chosen(); });
    refresh();
}

void FPlanSwitcher::refresh()
{
    refreshing_ = true;
    choices_ = app_.planChoices();
    std::vector<Glib::ustring> names;
    for (const AppActions::PlanChoice& c : choices_) {
        names.emplace_back(c.name);
    }
    names_->splice(0, names_->get_n_items(), names);
    const std::optional<std::string> shown = app_.selectedSim();
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i].sim == shown) {
            dropDown_.set_selected(static_cast<guint>(i));
        }
    }
    dropDown_.set_visible(choices_.size() > 1);
    title_.set_visible(choices_.size() <= 1);
    refreshing_ = false;
}

void FPlanSwitcher::choose(std::size_t index)
{
    dropDown_.set_selected(static_cast<guint>(index));
}

void FPlanSwitcher::chosen()
{
    const guint at = dropDown_.get_selected();
    if (refreshing_ || at >= choices_.size() || choices_[at].sim == app_.selectedSim()) {
        return;
    }
    app_.showPlan(choices_[at].sim);
}

}  // namespace quorvel
