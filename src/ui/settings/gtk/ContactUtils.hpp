// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>

#include "ui/gtk/UIDeviceVersion.hpp"

namespace Gtk {
class Window;
}

namespace quorvel {

class UserDefaults;

// The two e-mails Quorvel offers, composed in the user's mail program through a mailto: URI:
// the concern report from the settings, and a one-time invitation to the news, offered when the
// application becomes active after the first start. Nothing is sent without the user.
class ContactUtils {
public:
    static constexpr const char* kSupportMailbox = "support@quorvel.org";
    static constexpr const char* kNewsMailbox = "news@quorvel.org";
    static constexpr const char* kConcernSubject = "Quorvel. Concern Report";
    // The application's page in the software centre.
    static constexpr const char* kStorePage = "appstream://org.quorvel.Quorvel";

    // The shared instance, made on first use.
    static ContactUtils& sharedUtils();

    // The window the mail program is launched for (its parent for portals).
    void setMpvc(Gtk::Window* window) { mpvc_ = window; }
    Gtk::Window* mpvc() const { return mpvc_; }

    // Hands a message to the mail program. False, and nothing shown, when there is no mail
    // program for mailto: or no recipient.
    bool sendMailMsg(const std::string& body, bool bodyIsHtml, const std::string& to, const std::string& subject,
                     Gtk::Window* presenting);
    // The settings' two requests: each goes to its program, or, when no program can take it, a
    // message in the window says so and where to write instead. Never silently nothing.
    void reportConcern(Gtk::Window* presenting);
    void giveFeedback(Gtk::Window* presenting);
    bool shouldShowSubscriptionInvite(const UserDefaults& defaults) const;
    // Offers the news subscription once per installation; the flag is stored before the offer.
    // The offer is a message inside the window with the mail's subject and text; only "Write
    // E-mail" there opens the mail program. Without a mail program nothing is shown.
    void subscribeByAutoStart(UserDefaults& defaults);
    static constexpr const char* kWriteResponse = "write";
    static constexpr const char* kNotNowResponse = "not-now";
    void sendMailSubscribe();

    // Whether a mail program handles mailto:; tests replace it.
    std::function<bool()> canSendMail;
    // Whether a software centre handles appstream:; tests replace it.
    std::function<bool()> canOpenStore;
    // Shows a message (title, text) over the window; tests replace it to read it.
    std::function<void(const std::string& title, const std::string& text, Gtk::Window* parent)> explain;
    // Opens a URI; tests replace it to see what would be opened.
    std::function<void(const std::string& uri, Gtk::Window* parent)> openUri;

    // The mailto: URI for one message (pure, for tests).
    static std::string mailtoUri(const std::string& to, const std::string& subject, const std::string& body);
    static std::string subscriptionSubject(UIDeviceVersion::Idiom idiom);
    static std::string subscriptionBody();

private:
    ContactUtils();
    void showSubscriptionInvitation();
    Gtk::Window* mpvc_ = nullptr;
};

}  // namespace quorvel
