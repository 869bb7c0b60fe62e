#pragma once
#include <string>

#include "ui/settings/gtk/FPrefConfirmation.hpp"
#include "ui/dialog/gtk/PrefPrompts.hpp"

namespace quorvel {

class FPrefOpenPrompt;
struct ScreenContext;

// The four resets that the reset screen (phones) and the settings list (tablets) offer, with the
// pending mode `tres`: 0 none, 1 this month's usage, 2 previous months, 3 locations, 4 all.
// Questions are answered through the target's alertViewClickedButtonAtIndex, so both screens
// keep one place where answers arrive.
class FPrefResetActions {
public:
    static constexpr int kNone = 0, kThisMonth = 1, kPreviousMonths = 2, kLocations = 3, kAll = 4;

    // `sender` is the screen the resets are reported with.
    FPrefResetActions(ScreenContext& context, PromptTarget& target, const PrefPrompts& prompts,
                      FPrefOpenPrompt& openPrompt, const void* sender);

    int tres() const { return tres_; }
    void setTres(int mode) { tres_ = mode; }

    void thisMonthSelected();
    void previousMonthsSelected();
    void locationsSelected();
    void resetAllSelected();
    // "Reset" pressed on one of the two questions; false for any other title.
    bool confirmed(const std::string& title);
    // The used-data prompt answered: everything is accepted, negative and unreadable as 0;
    // "Reset All" first clears the locations, then the previous months. False when the amount
    // could not be held and the prompt was opened again.
    bool commonDataUsedEntered(const std::string& text);

    const FPrefConfirmation& confirmation() const { return confirmation_; }

private:
    void ask(const char* title, const char* message);

    ScreenContext& context_;
    PromptTarget& target_;
    const PrefPrompts& prompts_;
    FPrefOpenPrompt& openPrompt_;
    const void* sender_;
    FPrefConfirmation confirmation_;
    int tres_ = kNone;
};

}  // namespace quorvel
