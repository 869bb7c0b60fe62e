// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "ui/settings/gtk/FPrefConfirmation.hpp"
#include "ui/dialog/gtk/PrefPrompts.hpp"

namespace quorvel {

class FPrefOpenPrompt;
struct ScreenContext;

// The four resets that the reset screen (phones) and the settings list (tablets) offer, with the
// pending one `tres`. Questions are answered through the target's alertViewClickedButtonAtIndex,
// so both screens keep one place where answers arrive.
class FPrefResetActions {
public:
    enum class Reset { None, ThisMonth, PreviousMonths, Locations, All };

    // `sender` is the screen the resets are reported with.
    FPrefResetActions(ScreenContext& context, PromptTarget& target, const PrefPrompts& prompts,
                      FPrefOpenPrompt& openPrompt, const void* sender);

    Reset tres() const { return tres_; }
    void setTres(Reset pending) { tres_ = pending; }

    void thisMonthSelected();
    void previousMonthsSelected();
    void locationsSelected();
    void resetAllSelected();
    // "Reset" pressed on one of the two questions; false for any other prompt.
    bool confirmed(PromptKind kind);
    // A reset question answered with `button` (0 "Cancel", 1 "Reset"): whether it reset something.
    bool answered(PromptKind kind, int button);
    // The used-data prompt answered: everything is accepted, negative and unreadable as 0;
    // "Reset All" first clears the locations, then the previous months. False when the amount
    // could not be held and the prompt was opened again.
    bool commonDataUsedEntered(const std::string& text);

    const FPrefConfirmation& confirmation() const { return confirmation_; }

private:
    void ask(PromptKind kind, const char* title, const char* message);

    ScreenContext& context_;
    PromptTarget& target_;
    const PrefPrompts& prompts_;
    FPrefOpenPrompt& openPrompt_;
    const void* sender_;
    FPrefConfirmation confirmation_;
    Reset tres_ = Reset::None;
};

}  // namespace quorvel
