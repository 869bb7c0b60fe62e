// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <string>

#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/switch.h>

#include "model/PlanShape.hpp"
#include "ui/ScreenContext.hpp"
#include "ui/settings/PlanEntries.hpp"
#include "ui/settings/gtk/FPrefAdwPage.hpp"
#include "ui/settings/gtk/FPrefNavigationController.hpp"

typedef struct _AdwComboRow AdwComboRow;

namespace quorvel {

// "Plan Period", pushed from the settings: how the plan renews (monthly from a start day, every
// N days from a first date, daily, prepaid from a first to a last date) with the fields of the
// chosen kind, and the switches for rollover and for free hours with their window. A period is
// taken as a whole with "Save Period"; what is refused is told under the fields and changes
// nothing. The plan's size stays on the settings list.
class FPrefPlanViewController final : public FPrefNavigationController::Page {
public:
    static constexpr const char* kTitle = "Plan Period";

    explicit FPrefPlanViewController(ScreenContext& context);
    FPrefPlanViewController(const FPrefPlanViewController&) = delete;
    FPrefPlanViewController& operator=(const FPrefPlanViewController&) = delete;
    ~FPrefPlanViewController() override;

    Gtk::Widget& widget() override { return page_.widget(); }
    std::string title() const override { return kTitle; }

    // Shows what is stored, dropping whatever was typed.
    void reloadData();
    void chooseKind(PlanShape::Kind kind);
    // Takes the fields of the chosen kind; false when refused.
    bool savePeriod();

    enum Field { kStartDay = 0, kEveryDays = 1, kFrom = 2, kUntil = 3 };
    AdwEntryRow* field(Field f) const { return fields_.at(f); }
    AdwComboRow* kindRow() const { return kind_; }
    Gtk::Button& saveButton() { return *save_; }
    Gtk::Label& periodRefusal() { return *periodRefusal_; }
    Gtk::Switch& rolloverSwitch() { return *rollover_; }
    Gtk::Switch& freeHoursSwitch() { return *freeHours_; }
    AdwEntryRow* freeStart() const { return freeStart_; }
    AdwEntryRow* freeEnd() const { return freeEnd_; }
    Gtk::Label& freeRefusal() { return *freeRefusal_; }

private:
    void buildPeriod();
    void buildExtras();
    void showFields(const PlanEntries::ShapeFields& fields);
    void showKind(PlanShape::Kind kind);
    PlanShape::Kind chosenKind() const;
    void freeHoursChanged();

    ScreenContext& context_;
    FPrefAdwPage page_;
    AdwComboRow* kind_ = nullptr;
    std::array<AdwEntryRow*, 4> fields_{};
    Gtk::Button* save_ = nullptr;
    Gtk::Label* periodRefusal_ = nullptr;
    Gtk::Switch* rollover_ = nullptr;
    Gtk::Switch* freeHours_ = nullptr;
    AdwEntryRow* freeStart_ = nullptr;
    AdwEntryRow* freeEnd_ = nullptr;
    Gtk::Label* freeRefusal_ = nullptr;
    bool syncing_ = false;
};

}  // namespace quorvel
