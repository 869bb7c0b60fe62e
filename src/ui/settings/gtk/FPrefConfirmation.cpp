// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefConfirmation.hpp"

#include <cstring>

#include <gtkmm/window.h>

namespace quorvel {

namespace {
constexpr const char* kCancel = "cancel";
constexpr const char* kReset = "reset";
}  // namespace

FPrefConfirmation::~FPrefConfirmation()
{
    dismiss();
}

void FPrefConfirmation::open(Gtk::Window* parent, const std::string& title, const std::string& message,
                             Answer answer, const char* action)
{
    dismiss();
    GtkWidget* widget = adw_message_dialog_new(parent != nullptr ? parent->gobj() : nullptr, title.c_str(),
                                               message.c_str());
    // GTK keeps toplevels alive until they are destroyed; this reference is ours.
    dialog_.reset(ADW_MESSAGE_DIALOG(g_object_ref(widget)));
    answer_ = std::move(answer);
    adw_message_dialog_add_responses(dialog_.get(), kCancel, "Cancel", kReset, action, nullptr);
    adw_message_dialog_set_response_appearance(dialog_.get(), kReset, ADW_RESPONSE_DESTRUCTIVE);
    adw_message_dialog_set_default_response(dialog_.get(), kCancel);
    adw_message_dialog_set_close_response(dialog_.get(), kCancel);
    gtk_window_set_modal(GTK_WINDOW(widget), TRUE);
    g_signal_connect(widget, "response", G_CALLBACK(&FPrefConfirmation::responded), this);
    gtk_window_present(GTK_WINDOW(widget));
}

void FPrefConfirmation::responded(AdwMessageDialog* dialog, const char* response, gpointer self)
{
    auto& confirmation = *static_cast<FPrefConfirmation*>(self);
    if (dialog != confirmation.dialog_.get()) {
        return;
    }
    g_signal_handlers_disconnect_by_data(dialog, self);
    // The dialog closes itself after answering; the answer may open the next question.
    confirmation.dialog_.reset();
    Answer answer = std::move(confirmation.answer_);
    confirmation.answer_ = nullptr;
    if (answer) {
        answer(std::strcmp(response, kReset) == 0 ? 1 : 0);
    }
}

void FPrefConfirmation::dismiss()
{
    if (dialog_) {
        g_signal_handlers_disconnect_by_data(dialog_.get(), this);
        gtk_window_destroy(GTK_WINDOW(dialog_.get()));
        dialog_.reset();
    }
    answer_ = nullptr;
}

}  // namespace quorvel

