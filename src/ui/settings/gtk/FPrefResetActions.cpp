#include "ui/settings/gtk/FPrefResetActions.hpp"

#include "engine/CAppController.hpp"
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
    tres_ = kThisMonth;
    prompts_.used(target_, context_.plan.stgetDataUsed());
}

void FPrefResetActions::previousMonthsSelected()
{
    ask(PrefTexts::kConfirmPreviousTitle, PrefTexts::kConfirmPreviousMessage);
}

void FPrefResetActions::locationsSelected()
{
    ask(PrefTexts::kConfirmLocationsTitle, PrefTexts::kConfirmLocationsMessage);
}

void FPrefResetActions::resetAllSelected()
{
    tres_ = kAll;
    prompts_.used(target_, context_.plan.stgetDataUsed());
}

void FPrefResetActions::ask(const char* title, const char* message)
{
    const std::string heading = title;
    confirmation_.open(target_.window(), heading, message,
                       [this, heading](int button) { target_.alertViewClickedButtonAtIndex(heading, button, ""); });
}

bool FPrefResetActions::confirmed(const std::string& title)
{
    if (title == PrefTexts::kConfirmPreviousTitle) {
        context_.app.onResetPrevMonthsInfo(sender_);
    } else if (title == PrefTexts::kConfirmLocationsTitle) {
        context_.app.onResetLocations(sender_);
    } else {
        return false;
    }
    tres_ = kNone;
    return true;
}

bool FPrefResetActions::commonDataUsedEntered(const std::string& text)
{
    openPrompt_.close();
    const bool keep = PrefEntries::keepsCurrentValue(text);
    const std::optional<std::uint64_t> used = PrefEntries::used(text);
    if (!keep && !used) {
        // More than 64 bits of bytes: ask again rather than wrap round; nothing is reset yet.
        prompts_.used(target_, context_.plan.stgetDataUsed());
        return false;
    }
    if (tres_ == kAll) {
        context_.app.onResetLocations(sender_);
        context_.app.onResetPrevMonthsInfo(sender_);
    }
    if (!keep) {
        context_.app.onResetThisMonthDataInfo(*used);
    }
    tres_ = kNone;
    return true;
}

}  // namespace quorvel
