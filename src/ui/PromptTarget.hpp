// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

namespace Gtk {
class Window;
}

namespace quorvel {

class CODialog;

// Which question an answer belongs to: it travels with the prompt, so answers are told apart
// without looking at the displayed titles.
enum class PromptKind { Plan, StartDay, Used, ResetPreviousMonths, resetLocations };

// What a screen that opens the value prompts answers. The prompts only collect the text; the
// target parses, checks and applies it. Platform-alert form: the answer names its prompt's kind,
// button 0 is "Cancel" and 1 "Apply". Dialog-widget form: one callback per button; the
// target reads the entered text from the dialog it was handed through setownAlertView.
class PromptTarget {
public:
    virtual ~PromptTarget() = default;

    // The window the prompt opens over.
    virtual Gtk::Window* window() = 0;
    virtual void setownAlertView(std::shared_ptr<CODialog> dialog) { (void)dialog; }

    virtual void alertViewClickedButtonAtIndex(PromptKind kind, int buttonIndex, const std::string& fieldText) = 0;

    // What follows an answer, for the targets that do more than the prompt itself; ignored otherwise.
    virtual void DataPlanEntered() {}
    virtual void DataPlanCancelled() {}
    virtual void StartDayEntered() {}
    virtual void StartDayCancelled() {}
    virtual void UsedDataEntered() {}
    virtual void UsedDataCancelled() {}
};

}  // namespace quorvel
