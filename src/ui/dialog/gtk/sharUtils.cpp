// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/gtk/sharUtils.hpp"

#include <adwaita.h>

#include <memory>

#include <gtkmm/entry.h>
#include <gtkmm/window.h>

#include "model/FileSize.hpp"
#include "platform/Assert.hpp"
#include "ui/dialog/gtk/CODialog.hpp"
#include "ui/PromptTarget.hpp"
#include "ui/gtk/AccessibleText.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {

namespace {

using Callback = void (PromptTarget::*)();

constexpr const char* kCancel = N_("Cancel");
constexpr const char* kApply = N_("Apply");
constexpr const char* kNotNow = N_("Not Now");

struct Prompt {
    PromptKind kind;
    std::string title;  // English; shown translated, with the SIM's name after it when one is set up
    const char* message;
    std::string placeholder;
    Callback cancelled;
    Callback entered;
    std::string sim = {};
    const char* cancelTitle = kCancel;  // English, shown translated
};

// What the message dialog's response handler needs; it lives as long as the dialog.
struct Answer {
    PromptTarget* target;
    PromptKind kind;
    Gtk::Entry* entry;
};

void onResponse(AdwMessageDialog* /*dialog*/, const char* response, gpointer data)
{
    const auto* answer = static_cast<const Answer*>(data);
    const int index = g_strcmp0(response, "apply") == 0 ? 1 : 0;
    answer->target->alertViewClickedButtonAtIndex(answer->kind, index, answer->entry->get_text());
}

void releaseAnswer(gpointer data, GClosure* /*closure*/)
{
    std::unique_ptr<Answer> owned(static_cast<Answer*>(data));
}

void openMessageDialog(PromptTarget& target, const Prompt& prompt)
{
    Gtk::Window* parent = target.window();
    auto* dialog = ADW_MESSAGE_DIALOG(adw_message_dialog_new(parent ? parent->gobj() : nullptr, prompt.title.c_str(),
                                                             prompt.message));
    auto* entry = Gtk::make_managed<Gtk::Entry>();
    entry->set_input_purpose(Gtk::InputPurpose::DIGITS);
    entry->set_placeholder_text(prompt.placeholder);
    entry->set_activates_default(true);  // Enter applies
    AccessibleText::name(*entry, prompt.title);
    adw_message_dialog_set_extra_child(dialog, GTK_WIDGET(entry->gobj()));
    adw_message_dialog_add_responses(dialog, "cancel", Translation::tr(prompt.cancelTitle), "apply", Translation::tr(kApply),
                                     nullptr);
    adw_message_dialog_set_response_appearance(dialog, "apply", ADW_RESPONSE_SUGGESTED);
    adw_message_dialog_set_default_response(dialog, "apply");
    adw_message_dialog_set_close_response(dialog, "cancel");  // Escape cancels
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    auto answer = std::make_unique<Answer>(Answer{&target, prompt.kind, entry});
    g_signal_connect_data(dialog, "response", G_CALLBACK(onResponse), answer.release(), &releaseAnswer,
                          GConnectFlags{});
    gtk_window_present(GTK_WINDOW(dialog));
    entry->grab_focus();
}

void openDialogWidget(PromptTarget& target, const Prompt& prompt)
{
    Gtk::Window* window = target.window();
    QV_REQUIRE(window != nullptr, "a prompt target must return the window the prompt opens over");
    auto dialog = CODialog::dialogWithWindow(*window);
    target.setownAlertView(dialog);
    // A target that did not keep the dialog cannot hide it; then a button press does.
    const bool targetKeepsDialog = dialog.use_count() > 1;
    dialog->resetLayout();
    dialog->setDialogStyle(CODialog::kPlain);
    dialog->setTitle(prompt.title);
    dialog->setSubtitle(prompt.message);
    dialog->addTextFieldWithPlaceholder(prompt.placeholder, false);
    const std::weak_ptr<CODialog> weak = dialog;
    const auto answer = [&target, weak, targetKeepsDialog](Callback callback) {
        return [&target, weak, targetKeepsDialog, callback] {
            (target.*callback)();
            if (auto shown = weak.lock(); shown && !targetKeepsDialog) {
                shown->hideAnimated(true);
            }
        };
    };
    dialog->addButtonWithTitle(Translation::tr(prompt.cancelTitle), answer(prompt.cancelled));
    dialog->addButtonWithTitle(Translation::tr(kApply), answer(prompt.entered), true);
    dialog->setCancelButtonIndex(0);  // Escape cancels, as in the message-dialog form
    dialog->showOrUpdateAnimated(true);
}

void open(PromptTarget& target, const Prompt& english)
{
    Prompt prompt = english;
    prompt.title = sharUtils::titleFor(Translation::tr(english.title.c_str()), english.sim);
    prompt.message = Translation::tr(english.message);
    if (UIDeviceVersion::isVersion5more()) {
        openMessageDialog(target, prompt);
    } else {
        openDialogWidget(target, prompt);
    }
}

}  // namespace

std::string sharUtils::planPlaceholder(std::uint64_t nPlan)
{
    return static_cast<std::int64_t>(nPlan) < 0 ? std::string()
                                                : Translation::fill(_("Current Plan - %s"),
                                                                    {FileSize::formatMemoryStringDot0MB(nPlan)});
}

std::string sharUtils::startDayPlaceholder(int nDay)
{
    return Translation::fill(_("Current Day - %s"), {std::to_string(nDay)});
}

std::string sharUtils::usedPlaceholder(std::uint64_t nUsed)
{
    return static_cast<std::int64_t>(nUsed) < 0 ? std::string()
                                                : Translation::fill(_("Current - %s"),
                                                                    {FileSize::formatMemoryStringDot0MB(nUsed)});
}

std::string sharUtils::titleFor(const char* title, const std::string& sim)
{
    return sim.empty() ? std::string(title) : std::string(title) + " \u2014 " + sim;
}

void sharUtils::showPlanPrompt(PromptTarget& target, std::uint64_t nPlan, const std::string& sim)
{
    open(target, {PromptKind::Plan, kPlanTitle, N_("Enter your monthly data plan in Megabytes"), planPlaceholder(nPlan),
                  &PromptTarget::DataPlanCancelled, &PromptTarget::DataPlanEntered, sim});
}

// The first question of the first start says what Quorvel is and can be left for later.
void sharUtils::showFirstStartPrompt(PromptTarget& target)
{
    Prompt prompt{PromptKind::Plan, kPlanTitle, kWelcome, planPlaceholder(static_cast<std::uint64_t>(-1)),
                  &PromptTarget::DataPlanCancelled, &PromptTarget::DataPlanEntered};
    prompt.cancelTitle = kNotNow;
    open(target, prompt);
}

void sharUtils::showStartDayPrompt(PromptTarget& target, int nDay, const std::string& sim)
{
    open(target, {PromptKind::StartDay, kStartDayTitle, N_("Enter your plan billing day"), startDayPlaceholder(nDay),
                  &PromptTarget::StartDayCancelled, &PromptTarget::StartDayEntered, sim});
}

void sharUtils::showUsedPrompt(PromptTarget& target, std::uint64_t nUsed)
{
    open(target, {PromptKind::Used, kUsedTitle, N_("Enter the amount of used data (Megabytes)"), usedPlaceholder(nUsed),
                  &PromptTarget::UsedDataCancelled, &PromptTarget::UsedDataEntered});
}

}  // namespace quorvel
