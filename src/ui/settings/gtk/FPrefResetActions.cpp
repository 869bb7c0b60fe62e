// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefResetActions.hpp"

#include "engine/AppActions.hpp"
#include "model/CPlanProtocol.hpp"
#include "ui/settings/gtk/FPrefOpenPrompt.hpp"
#include "ui/settings/PrefEntries.hpp"
#include "ui/settings/PrefTexts.hpp"
#include "ui/ScreenContext.hpp"

namespace quorvel {

FPrefResetActions::FPrefResetActions(ScreenContext& context, PromptTarget& target, const PrefPrompts& prompts,
                                     FPrefOpenPrompt& openPrompt, const void* sender)
    : context_(context), target_(target), prompts_(prompts), openPrompt_(openPrompt), sender_(sender)
{
}

void FPrefResetActions::thisMonthSelected()
{
    tres_ = Reset::ThisMonth;
    prompts_.used(target_, context_.plan.getDataUsed());
}

void FPrefResetActions::previousMonthsSelected()
{
    ask(PromptKind::ResetPreviousMonths, PrefTexts::kConfirmPreviousTitle, PrefTexts::kConfirmPreviousMessage);
}

void FPrefResetActions::locationsSelected()
{
    ask(PromptKind::resetLocations, PrefTexts::kConfirmLocationsTitle, PrefTexts::kConfirmLocationsMessage);
}

void FPrefResetActions::resetAllSelected()
{
    tres_ = Reset::All;
    prompts_.used(target_, context_.plan.getDataUsed());
}

void FPrefResetActions::ask(PromptKind kind, const char* title, const char* message)
{
    confirmation_.open(target_.window(), title, message,
                       [this, kind](int button) { target_.alertViewClickedButtonAtIndex(kind, button, ""); });
}

bool FPrefResetActions::confirmed(PromptKind kind)
{
    if (kind == PromptKind::ResetPreviousMonths) {
        context_.app.onResetPrevMonthsInfo(sender_);
    } else if (kind == PromptKind::resetLocations) {
        context_.app.onResetLocations(sender_);
    } else {
        return false;
    }
    tres_ = Reset::None;
    return true;
}

bool FPrefResetActions::answered(PromptKind kind, int button)
{
    if (button == 1) {
        return confirmed(kind);
    }
    tres_ = Reset::None;
    return false;
}

bool FPrefResetActions::commonDataUsedEntered(const std::string& text)
{
    openPrompt_.close();
    const bool keep = PrefEntries::keepsCurrentValue(text);
    const std::optional<std::uint64_t> used = PrefEntries::used(text);
    if (!keep && !used) {
        // More than 64 bits of bytes: ask again rather than wrap round; nothing is reset yet.
        prompts_.used(target_, context_.plan.getDataUsed());
        return false;
    }
    if (tres_ == Reset::All) {
        context_.app.onResetLocations(sender_);
        context_.app.onResetPrevMonthsInfo(sender_);
    }
    if (!keep) {
        context_.app.onResetThisMonthDataInfo(*used);
    }
    tres_ = Reset::None;
    return true;
}

}  // namespace quorvel
