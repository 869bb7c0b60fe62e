// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefConfirmation.hpp"

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
    ask(parent, title, message, {{kCancel, "Cancel"}, {kReset, action}},
        [answer = std::move(answer)](const std::string& response) {
            if (answer) {
                answer(response == kReset ? 1 : 0);
            }
        },
        nullptr, kReset);
}

void FPrefConfirmation::ask(Gtk::Window* parent, const std::string& title, const std::string& message,
                            const std::vector<Response>& responses, Reply reply, const char* suggested,
                            const char* destructive)
{
    dismiss();
    GtkWidget* widget = adw_message_dialog_new(parent != nullptr ? parent->gobj() : nullptr, title.c_str(),
                                               message.c_str());
    // GTK keeps toplevels alive until they are destroyed; this reference is ours.
    dialog_.reset(ADW_MESSAGE_DIALOG(g_object_ref(widget)));
    reply_ = std::move(reply);
    for (const Response& r : responses) {
        adw_message_dialog_add_response(dialog_.get(), r.id.c_str(), r.label.c_str());
    }
    if (destructive != nullptr) {
        adw_message_dialog_set_response_appearance(dialog_.get(), destructive, ADW_RESPONSE_DESTRUCTIVE);
    }
    if (suggested != nullptr) {
        adw_message_dialog_set_response_appearance(dialog_.get(), suggested, ADW_RESPONSE_SUGGESTED);
    }
    adw_message_dialog_set_default_response(dialog_.get(), suggested != nullptr ? suggested : responses.front().id.c_str());
    adw_message_dialog_set_close_response(dialog_.get(), responses.front().id.c_str());
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
    // The dialog closes itself after answering; the reply may open the next question.
    confirmation.dialog_.reset();
    Reply reply = std::move(confirmation.reply_);
    confirmation.reply_ = nullptr;
    if (reply) {
        reply(response);
    }
}

void FPrefConfirmation::dismiss()
{
    if (dialog_) {
        g_signal_handlers_disconnect_by_data(dialog_.get(), this);
        gtk_window_destroy(GTK_WINDOW(dialog_.get()));
        dialog_.reset();
    }
    reply_ = nullptr;
}

}  // namespace quorvel
