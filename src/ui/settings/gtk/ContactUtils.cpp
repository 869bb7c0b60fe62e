// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/ContactUtils.hpp"

#include <adwaita.h>

#include <giomm/appinfo.h>
#include <gtkmm/window.h>

#include "model/DefaultsKeys.hpp"
#include "platform/Log.hpp"
#include "platform/Translation.hpp"
#include "platform/UserDefaults.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {

namespace {

constexpr const char* kSubscriptionBody =
    "Just send the message to subscribe to Velmora's news, tips and offers.\n"
    "\n"
    "Best Regards,\n"
    "Velmora Team";

// RFC 3986 percent-encoding of every byte but the unreserved ones; line breaks become CRLF,
// as mailto: bodies require.
std::string percentEncoded(const std::string& text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    const auto put = [&](unsigned char c) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' && (i == 0 || text[i - 1] != '\r')) {
            put('\r');
        }
        put(c);
    }
    return out;
}

struct LaunchRequest {
    bool isMail;
};

void launched(GObject* source, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<LaunchRequest> request(static_cast<LaunchRequest*>(data));
    GError* error = nullptr;
    if (!gtk_show_uri_full_finish(GTK_WINDOW(source), result, &error) && error != nullptr) {
        // The user's mail program never reports back; a failed launch is all there is to log.
        if (request->isMail) {
            Log::line(std::string("ERROR - mailComposeController: ") + error->message);
        }
        g_error_free(error);
    }
}

// Hands the URI to its default handler, for the parent window when there is one.
void showUri(const std::string& uri, Gtk::Window* parent)
{
    auto request = std::make_unique<LaunchRequest>(LaunchRequest{uri.starts_with("mailto:")});
    gtk_show_uri_full(parent != nullptr ? parent->gobj() : nullptr, uri.c_str(), GDK_CURRENT_TIME, nullptr, launched,
                      request.release());
}

bool hasMailProgram()
{
    return static_cast<bool>(Gio::AppInfo::get_default_for_uri_scheme("mailto"));
}

bool hasSoftwareCentre()
{
    return static_cast<bool>(Gio::AppInfo::get_default_for_uri_scheme("appstream"));
}

void showMessage(const std::string& title, const std::string& text, Gtk::Window* parent)
{
    GtkWidget* dialog = adw_message_dialog_new(parent != nullptr ? parent->gobj() : nullptr, title.c_str(), text.c_str());
    adw_message_dialog_add_response(ADW_MESSAGE_DIALOG(dialog), "close", _("Close"));
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_present(GTK_WINDOW(dialog));
}

}  // namespace

ContactUtils::ContactUtils()
    : canSendMail(hasMailProgram), canOpenStore(hasSoftwareCentre), explain(showMessage), openUri(showUri)
{
}

ContactUtils& ContactUtils::sharedUtils()
{
    static ContactUtils shared;
    return shared;
}

std::string ContactUtils::mailtoUri(const std::string& to, const std::string& subject, const std::string& body)
{
    // The address keeps its '@'; everything else in it is encoded like the fields.
    std::string address;
    for (std::size_t at = 0, next; at <= to.size(); at = next + 1) {
        next = std::min(to.find('@', at), to.size());
        address += percentEncoded(to.substr(at, next - at));
        if (next < to.size()) {
            address += '@';
        }
    }
    std::string uri = "mailto:" + address;
    char separator = '?';
    if (!subject.empty()) {
        uri += separator + std::string("subject=") + percentEncoded(subject);
        separator = '&';
    }
    if (!body.empty()) {
        uri += separator + std::string("body=") + percentEncoded(body);
    }
    return uri;
}

bool ContactUtils::sendMailMsg(const std::string& body, bool bodyIsHtml, const std::string& to,
                               const std::string& subject, Gtk::Window* presenting)
{
    (void)bodyIsHtml;  // a mailto: body is plain text whatever the caller composed
    if (to.empty() || !canSendMail || !canSendMail()) {
        return false;
    }
    mpvc_ = presenting;
    if (openUri) {
        openUri(mailtoUri(to, subject, body), presenting);
    }
    return true;
}

void ContactUtils::reportConcern(Gtk::Window* presenting)
{
    mpvc_ = presenting;
    if (!sendMailMsg("", false, kSupportMailbox, kConcernSubject, presenting) && explain) {
        explain(_("No Mail Program"),
                Translation::fill(_("No mail program is set up to write the report. Write to %s from any mail "
                                    "account, with the subject \"%s\"."),
                                  {kSupportMailbox, kConcernSubject}),
                presenting);
    }
}

void ContactUtils::giveFeedback(Gtk::Window* presenting)
{
    if (canOpenStore && canOpenStore() && openUri) {
        openUri(kStorePage, presenting);
    } else if (explain) {
        explain(_("No Software Centre"),
                Translation::fill(_("No software centre is installed to rate Quorvel. Install one, such as GNOME "
                                    "Software, or send your feedback to %s."),
                                  {kSupportMailbox}),
                presenting);
    }
}

bool ContactUtils::shouldShowSubscriptionInvite(const UserDefaults& defaults) const
{
    return !defaults.boolForKey(DefaultsKeys::kNewsAsked).value_or(false);
}

void ContactUtils::subscribeByAutoStart(UserDefaults& defaults)
{
    if (!shouldShowSubscriptionInvite(defaults)) {
        return;
    }
    // Spent before the offer: a device without mail, or a cancelled message, is not asked again.
    defaults.setObject(DefaultsKeys::kNewsAsked, true);
    defaults.synchronize();
    if (canSendMail && canSendMail()) {
        showSubscriptionInvitation();
    }
}

// The mail program is another application: asking first, inside the window, keeps it from
// popping up by itself when Quorvel is opened.
void ContactUtils::showSubscriptionInvitation()
{
    GtkWidget* dialog =
        adw_message_dialog_new(mpvc_ != nullptr ? mpvc_->gobj() : nullptr,
                               subscriptionSubject(UIDeviceVersion::idiom()).c_str(), kSubscriptionBody);
    auto* message = ADW_MESSAGE_DIALOG(dialog);
    adw_message_dialog_add_responses(message, kNotNowResponse, _("Not Now"), kWriteResponse, _("Write E-mail"), nullptr);
    adw_message_dialog_set_response_appearance(message, kWriteResponse, ADW_RESPONSE_SUGGESTED);
    adw_message_dialog_set_default_response(message, kWriteResponse);
    adw_message_dialog_set_close_response(message, kNotNowResponse);  // Escape: not now
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    g_signal_connect(dialog, "response", G_CALLBACK(+[](AdwMessageDialog*, const char* response, gpointer self) {
                         if (g_strcmp0(response, kWriteResponse) == 0) {
                             static_cast<ContactUtils*>(self)->sendMailSubscribe();
                         }
                     }),
                     this);
    gtk_window_present(GTK_WINDOW(dialog));
}

void ContactUtils::sendMailSubscribe()
{
    sendMailMsg(kSubscriptionBody, false, kNewsMailbox, subscriptionSubject(UIDeviceVersion::idiom()), mpvc_);
}

std::string ContactUtils::subscriptionSubject(UIDeviceVersion::Idiom idiom)
{
    return idiom == UIDeviceVersion::Idiom::Tablet ? "News, Tips and Offers Subscription. Quorvel"
                                                   : "Subscription. Quorvel";
}

std::string ContactUtils::subscriptionBody()
{
    return kSubscriptionBody;
}

}  // namespace quorvel
