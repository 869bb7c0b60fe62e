// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefPlanViewController.hpp"

#include <adwaita.h>

#include "engine/AppActions.hpp"

namespace quorvel {

namespace {

using Kind = PlanShape::Kind;
constexpr Kind kKinds[] = {Kind::Monthly, Kind::Every, Kind::Daily, Kind::Prepaid};
constexpr const char* kFreeDefaultStart = "00:00";
constexpr const char* kFreeDefaultEnd = "06:00";

}  // namespace

FPrefPlanViewController::FPrefPlanViewController(ScreenContext& context) : context_(context)
{
    buildPeriod();
    buildExtras();
    reloadData();
}

FPrefPlanViewController::~FPrefPlanViewController()
{
    // The rows may outlive the page while the stack takes it apart; they must not call it then.
    for (gpointer row : {static_cast<gpointer>(kind_), static_cast<gpointer>(freeStart_), static_cast<gpointer>(freeEnd_)}) {
        g_signal_handlers_disconnect_by_data(row, this);
    }
}

void FPrefPlanViewController::buildPeriod()
{
    AdwPreferencesGroup* group =
        page_.addGroup("Period", "Every figure, alert and chart page counts from the period's first day.");
    kind_ = ADW_COMBO_ROW(adw_combo_row_new());
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(kind_), "Plan Renews");
    GtkStringList* kinds = gtk_string_list_new(nullptr);
    for (Kind k : kKinds) {
        gtk_string_list_append(kinds, PlanEntries::kindTitle(k));
    }
    adw_combo_row_set_model(kind_, G_LIST_MODEL(kinds));
    // The choice shows as the row's subtitle: the row, named by its title, says it; the toolkit's
    // own in-row copy of the item has no name for a screen reader.
    adw_combo_row_set_use_subtitle(kind_, TRUE);
    g_object_unref(kinds);
    adw_preferences_group_add(group, GTK_WIDGET(kind_));
    g_signal_connect(kind_, "notify::selected", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                         auto* page = static_cast<FPrefPlanViewController*>(self);
                         page->showKind(page->chosenKind());
                     }),
                     this);

    fields_[kStartDay] = FPrefAdwPage::entryRow(group, "Start Day (1–31)");
    fields_[kEveryDays] = FPrefAdwPage::entryRow(group, "Days (1–366)");
    fields_[kFrom] = FPrefAdwPage::entryRow(group, "First Day (YYYY-MM-DD)");
    fields_[kUntil] = FPrefAdwPage::entryRow(group, "Last Day (YYYY-MM-DD)");
    periodRefusal_ = &page_.addRefusal();
    save_ = &page_.addAction("Save Period", [this] { savePeriod(); });
}

void FPrefPlanViewController::buildExtras()
{
    AdwPreferencesGroup* group = page_.addGroup("Rollover and Free Hours", "");
    rollover_ = Gtk::make_managed<Gtk::Switch>();
    adw_preferences_group_add(group, GTK_WIDGET(FPrefAdwPage::switchRow(
                                         "Rollover", "What the plan leaves unused goes to the next period", *rollover_)));
    rollover_->property_active().signal_changed().connect([this] {
        if (!syncing_) {
            context_.app.setRollover(rollover_->get_active());
        }
    });
    freeHours_ = Gtk::make_managed<Gtk::Switch>();
    adw_preferences_group_add(group, GTK_WIDGET(FPrefAdwPage::switchRow(
                                         "Free Hours", "Traffic in this daily window is not counted", *freeHours_)));
    freeStart_ = FPrefAdwPage::entryRow(group, "Free From (HH:MM)");
    freeEnd_ = FPrefAdwPage::entryRow(group, "Free Until (HH:MM)");
    for (AdwEntryRow* row : {freeStart_, freeEnd_}) {
        adw_entry_row_set_show_apply_button(row, TRUE);
        g_signal_connect(row, "apply", G_CALLBACK(+[](AdwEntryRow*, gpointer self) {
                             static_cast<FPrefPlanViewController*>(self)->freeHoursChanged();
                         }),
                         this);
    }
    freeHours_->property_active().signal_changed().connect([this] {
        if (!syncing_) {
            freeHoursChanged();
        }
    });
    freeRefusal_ = &page_.addRefusal();
}

void FPrefPlanViewController::reloadData()
{
    const PlanShape shape = context_.app.planShape();
    showFields(PlanEntries::fieldsOf(shape, context_.app.today()));
    FPrefAdwPage::tell(*periodRefusal_, "");
    const DataPlan& plan = context_.app.dataPlan();
    syncing_ = true;
    rollover_->set_active(plan.rolloverOn());
    freeHours_->set_active(plan.freeHours().has_value());
    syncing_ = false;
    const std::optional<DataPlan::FreeHours>& free = plan.freeHours();
    FPrefAdwPage::setText(freeStart_, free ? DataPlan::FreeHours::minuteText(free->start) : kFreeDefaultStart);
    FPrefAdwPage::setText(freeEnd_, free ? DataPlan::FreeHours::minuteText(free->end) : kFreeDefaultEnd);
    FPrefAdwPage::tell(*freeRefusal_, "");
    // The one sampler splits at This device's hours: a SIM's plan shows them, it does not set them.
    const bool own = !context_.app.selectedSim();
    for (GtkWidget* w : {GTK_WIDGET(freeHours_->gobj()), GTK_WIDGET(freeStart_), GTK_WIDGET(freeEnd_)}) {
        gtk_widget_set_sensitive(w, own);
    }
}

void FPrefPlanViewController::showFields(const PlanEntries::ShapeFields& f)
{
    FPrefAdwPage::setText(fields_[kStartDay], f.startDay);
    FPrefAdwPage::setText(fields_[kEveryDays], f.everyDays);
    FPrefAdwPage::setText(fields_[kFrom], f.from);
    FPrefAdwPage::setText(fields_[kUntil], f.until);
    chooseKind(f.kind);
    showKind(f.kind);
}

void FPrefPlanViewController::chooseKind(PlanShape::Kind kind)
{
    adw_combo_row_set_selected(kind_, static_cast<guint>(kind));
}

PlanShape::Kind FPrefPlanViewController::chosenKind() const
{
    const guint i = adw_combo_row_get_selected(kind_);
    return i < std::size(kKinds) ? kKinds[i] : Kind::Monthly;
}

// Only the fields the kind reads are shown.
void FPrefPlanViewController::showKind(PlanShape::Kind kind)
{
    gtk_widget_set_visible(GTK_WIDGET(fields_[kStartDay]), kind == Kind::Monthly);
    gtk_widget_set_visible(GTK_WIDGET(fields_[kEveryDays]), kind == Kind::Every);
    gtk_widget_set_visible(GTK_WIDGET(fields_[kFrom]), kind == Kind::Every || kind == Kind::Prepaid);
    gtk_widget_set_visible(GTK_WIDGET(fields_[kUntil]), kind == Kind::Prepaid);
    FPrefAdwPage::tell(*periodRefusal_, "");
}

bool FPrefPlanViewController::savePeriod()
{
    PlanEntries::ShapeFields f;
    f.kind = chosenKind();
    f.startDay = FPrefAdwPage::text(fields_[kStartDay]);
    f.everyDays = FPrefAdwPage::text(fields_[kEveryDays]);
    f.from = FPrefAdwPage::text(fields_[kFrom]);
    f.until = FPrefAdwPage::text(fields_[kUntil]);
    const PlanEntries::Read<PlanShape> shape = PlanEntries::shape(f);
    FPrefAdwPage::tell(*periodRefusal_, shape.why);
    if (!shape.value) {
        return false;
    }
    context_.app.setPlanShape(*shape.value);
    return true;
}

// The switch turns the typed window on, or the stored one off; a refused window leaves the
// stored one as it was and the switch showing it.
void FPrefPlanViewController::freeHoursChanged()
{
    if (!freeHours_->get_active()) {
        // Also heard after a refusal turned the switch back, which leaves the refusal shown.
        if (context_.app.dataPlan().freeHours()) {
            FPrefAdwPage::tell(*freeRefusal_, "");
            context_.app.setFreeHours(std::nullopt);
        }
        return;
    }
    const PlanEntries::Read<DataPlan::FreeHours> hours =
        PlanEntries::freeHours(FPrefAdwPage::text(freeStart_), FPrefAdwPage::text(freeEnd_));
    FPrefAdwPage::tell(*freeRefusal_, hours.why);
    if (!hours.value) {
        syncing_ = true;
        freeHours_->set_active(context_.app.dataPlan().freeHours().has_value());
        syncing_ = false;
        return;
    }
    context_.app.setFreeHours(*hours.value);
}

}  // namespace quorvel
