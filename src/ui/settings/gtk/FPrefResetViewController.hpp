// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "platform/NotificationCenter.hpp"
#include "ui/settings/gtk/FPrefGroupedList.hpp"
#include "ui/settings/gtk/FPrefNavigationController.hpp"
#include "ui/settings/gtk/FPrefOpenPrompt.hpp"
#include "ui/settings/gtk/FPrefResetActions.hpp"
#include "ui/dialog/gtk/PrefPrompts.hpp"
#include "ui/PromptTarget.hpp"
#include "ui/ScreenContext.hpp"

namespace quorvel {

// "Reset", pushed from the phone settings: this month's usage set to an entered amount, the
// previous months or the places cleared after a question, or all three at once. A chosen row
// stays selected until its prompt or question is answered. Made anew for each visit.
class FPrefResetViewController final : public FPrefNavigationController::Page, public PromptTarget {
public:
    FPrefResetViewController(ScreenContext& context, PrefPrompts prompts, bool tablet);
    FPrefResetViewController(const FPrefResetViewController&) = delete;
    FPrefResetViewController& operator=(const FPrefResetViewController&) = delete;

    Gtk::Widget& widget() override { return list_.widget(); }
    std::string title() const override;

    // PromptTarget.
    Gtk::Window* window() override;
    void setownAlertView(std::shared_ptr<CODialog> dialog) override { openPrompt_.set(std::move(dialog)); }
    void alertViewClickedButtonAtIndex(PromptKind kind, int buttonIndex, const std::string& fieldText) override;
    void UsedDataEntered() override;
    void UsedDataCancelled() override;

    void tableViewDidSelectRow(int section, int row);
    void commonDataUsedEntered(const std::string& text);
    void reloadData();

    FPrefResetActions::Reset tres() const { return resets_.tres(); }
    FPrefGroupedList& table() { return list_; }
    const FPrefResetActions& resets() const { return resets_; }
    const FPrefOpenPrompt& openPrompt() const { return openPrompt_; }

private:
    ScreenContext& context_;
    PrefPrompts prompts_;
    FPrefGroupedList list_;
    FPrefOpenPrompt openPrompt_;
    FPrefResetActions resets_;
    NotificationCenter::Registration deltasChanged_;
    NotificationCenter::Registration dataChanged_;
};

}  // namespace quorvel
