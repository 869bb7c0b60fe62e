// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefResetViewController.hpp"

#include "model/Messages.hpp"
#include "model/CPlanProtocol.hpp"
#include "ui/settings/PrefTexts.hpp"

namespace quorvel {

namespace {
enum Row { kThisMonth = 0, kPreviousMonths = 1, kLocations = 2 };
constexpr int kResetSection = 0;
constexpr int kAllSection = 1;
}  // namespace

FPrefResetViewController::FPrefResetViewController(ScreenContext& context, PrefPrompts prompts, bool tablet)
    : context_(context),
      prompts_(std::move(prompts)),
      list_(tablet),
      resets_(context, *this, prompts_, openPrompt_, this)
{
    using Accessory = FPrefTableRow::Accessory;
    const int section = list_.addSection(PrefTexts::kHeaderResetStatistic, FPrefGroupedList::Header::Reset, "", 16);
    list_.addRow(section, "", "", Accessory::None);
    list_.addRow(section, PrefTexts::kRowPreviousMonths, "", Accessory::None);
    list_.addRow(section, "", "", Accessory::None);
    const int all = list_.addSection("", FPrefGroupedList::Header::None, "", 0);
    list_.addRow(all, PrefTexts::kRowResetAll, "", Accessory::None);
    for (int s = 0; s < list_.sectionCount(); ++s) {
        for (int r = 0; r < list_.rowCount(s); ++r) {
            list_.row(s, r).add_css_class("qv-muted");
        }
    }
    list_.onSelect = [this](int s, int r) { tableViewDidSelectRow(s, r); };
    reloadData();

    const auto reload = [this](const Notification&) { reloadData(); };
    deltasChanged_ = context_.center.addObserver(std::string(messages::kDeltasCntWasChanged), reload);
    dataChanged_ = context_.center.addObserver(std::string(messages::kDataUsageWasChanged), reload);
}

std::string FPrefResetViewController::title() const
{
    return PrefTexts::kTitleReset;
}

Gtk::Window* FPrefResetViewController::window()
{
    return context_.window ? context_.window() : nullptr;
}

void FPrefResetViewController::reloadData()
{
    list_.row(kResetSection, kThisMonth).setText(PrefTexts::thisMonthRow(context_.plan.getDataUsed()));
    list_.row(kResetSection, kLocations).setText(PrefTexts::locationsRow(context_.plan.getLocationsCount()));
}

void FPrefResetViewController::tableViewDidSelectRow(int section, int row)
{
    // The row stays selected until the prompt or question is answered.
    if (section == kAllSection) {
        resets_.resetAllSelected();
    } else if (row == kThisMonth) {
        resets_.thisMonthSelected();
    } else if (row == kPreviousMonths) {
        resets_.previousMonthsSelected();
    } else if (row == kLocations) {
        resets_.locationsSelected();
    }
}

void FPrefResetViewController::alertViewClickedButtonAtIndex(PromptKind kind, int buttonIndex,
                                                             const std::string& fieldText)
{
    if (buttonIndex == 1 && kind == PromptKind::Used) {
        commonDataUsedEntered(fieldText);  // deselects once an amount is taken
        return;
    }
    if (resets_.answered(kind, buttonIndex)) {
        reloadData();
    }
    list_.deselectAll();
}

void FPrefResetViewController::UsedDataEntered()
{
    commonDataUsedEntered(openPrompt_.text(""));
}

void FPrefResetViewController::UsedDataCancelled()
{
    openPrompt_.close();
    list_.deselectAll();
    resets_.setTres(FPrefResetActions::Reset::None);
}

void FPrefResetViewController::commonDataUsedEntered(const std::string& text)
{
    if (resets_.commonDataUsedEntered(text)) {
        list_.deselectAll();
        reloadData();
    }
}

}  // namespace quorvel
