// SPDX-License-Identifier: GPL-3.0-or-later
// The two e-mails: their mailto: URIs, when nothing is offered, and the news invitation that is
// spent before it is made, once per installation, and asks inside the window before the mail
// program opens.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <adwaita.h>

#include <string>
#include <vector>

#include <giomm/appinfo.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include "GuiTest.hpp"
#include "SettingsFixture.hpp"

#include "model/DefaultsKeys.hpp"
#include "platform/Log.hpp"
#include "platform/glib/GObjectHandle.hpp"
#include "platform/UserDefaults.hpp"
#include "ui/settings/gtk/ContactUtils.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(ContactUtilsUri, MailtoUris)
{
    struct Case {
        const char* to;
        const char* subject;
        const char* body;
        const char* uri;
    };
    for (const Case& c : {
             Case{"support@quorvel.org", "Quorvel. Concern Report", "",
                  "mailto:support@quorvel.org?subject=Quorvel.%20Concern%20Report"},
             Case{"news@quorvel.org", "Subscription. Quorvel", "Hi's\n\nA,\nB",
                  "mailto:news@quorvel.org?subject=Subscription.%20Quorvel&body=Hi%27s%0D%0A%0D%0AA%2C%0D%0AB"},
             Case{"a@b.c", "", "x&y=z?#", "mailto:a@b.c?body=x%26y%3Dz%3F%23"},
             Case{"a b@c.d", "Grüße 100%", "", "mailto:a%20b@c.d?subject=Gr%C3%BC%C3%9Fe%20100%25"},
             Case{"a@b.c", "", "already\r\nCRLF", "mailto:a@b.c?body=already%0D%0ACRLF"},
         }) {
        EXPECT_EQ(ContactUtils::mailtoUri(c.to, c.subject, c.body), c.uri);
    }
}

TEST(ContactUtilsUri, SubscriptionTexts)
{
    EXPECT_EQ(ContactUtils::subscriptionSubject(UIDeviceVersion::Idiom::Phone), "Subscription. Quorvel");
    EXPECT_EQ(ContactUtils::subscriptionSubject(UIDeviceVersion::Idiom::Tablet),
              "News, Tips and Offers Subscription. Quorvel");
    EXPECT_EQ(ContactUtils::subscriptionBody(),
              "Just send the message to subscribe to Velmora's news, tips and offers.\n\nBest Regards,\nVelmora Team");
}

// The shared instance with a mail program that can be switched off and a launcher that records.
class ContactUtilsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Gtk::init_gtkmm_internals(); }
    void SetUp() override
    {
        contact.canSendMail = [this] { return mailProgram; };
        contact.openUri = [this](const std::string& uri, Gtk::Window* parent) {
            opened.push_back(uri);
            parents.push_back(parent);
            askedWhenOpened = defaults.boolForKey(DefaultsKeys::kNewsAsked).value_or(false);
        };
        contact.canOpenStore = [this] { return softwareCentre; };
        contact.explain = [this](const std::string& title, const std::string& text, Gtk::Window*) {
            explained.push_back(title + ": " + text);
        };
    }
    void TearDown() override
    {
        while (AdwMessageDialog* left = invitation()) {
            gtk_window_destroy(GTK_WINDOW(left));
        }
        contact.canSendMail = saved.canSendMail;
        contact.openUri = saved.openUri;
        contact.canOpenStore = saved.canOpenStore;
        contact.explain = saved.explain;
        contact.setMpvc(nullptr);
        UIDeviceVersion::setIdiom(UIDeviceVersion::Idiom::Phone);
    }

    // The invitation on screen, if any.
    static AdwMessageDialog* invitation() { return settingstest::openMessageDialog(); }
    // Answers the invitation on screen the way its button does.
    bool answer(const char* response)
    {
        AdwMessageDialog* shown = invitation();
        if (shown == nullptr) {
            return false;
        }
        const GObjectHandle<GObject> held(G_OBJECT(g_object_ref(shown)));
        adw_message_dialog_response(shown, response);
        gtk_window_destroy(GTK_WINDOW(shown));
        return true;
    }

    ContactUtils& contact = ContactUtils::sharedUtils();
    struct {
        std::function<bool()> canSendMail;
        std::function<void(const std::string&, Gtk::Window*)> openUri;
        std::function<bool()> canOpenStore;
        std::function<void(const std::string&, const std::string&, Gtk::Window*)> explain;
    } saved{contact.canSendMail, contact.openUri, contact.canOpenStore, contact.explain};
    UserDefaults defaults;
    bool mailProgram = true;
    bool softwareCentre = true;
    std::vector<std::string> explained;
    bool askedWhenOpened = false;
    std::vector<std::string> opened;
    std::vector<Gtk::Window*> parents;
    Gtk::Window window;
};

TEST_F(ContactUtilsTest, TheSharedInstanceIsOne)
{
    EXPECT_EQ(&ContactUtils::sharedUtils(), &contact);
}

TEST_F(ContactUtilsTest, NothingWithoutAMailProgramOrARecipient)
{
    mailProgram = false;
    EXPECT_FALSE(contact.sendMailMsg("", false, ContactUtils::kSupportMailbox, "S", &window));
    mailProgram = true;
    EXPECT_FALSE(contact.sendMailMsg("", false, "", "S", &window));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(contact.mpvc(), nullptr) << "nothing presented, nothing remembered";

    EXPECT_TRUE(contact.sendMailMsg("", false, ContactUtils::kSupportMailbox, "S", &window));
    EXPECT_EQ(opened, std::vector<std::string>{"mailto:support@quorvel.org?subject=S"});
    EXPECT_EQ(parents, std::vector<Gtk::Window*>{&window});
    EXPECT_EQ(contact.mpvc(), &window);
}

TEST_F(ContactUtilsTest, EachRequestGoesToItsProgramOrSaysWhyItCannot)
{
    contact.reportConcern(&window);
    contact.giveFeedback(&window);
    EXPECT_EQ(opened, (std::vector<std::string>{"mailto:support@quorvel.org?subject=Quorvel.%20Concern%20Report",
                                                "appstream://org.quorvel.Quorvel"}));
    EXPECT_TRUE(explained.empty());

    mailProgram = false;
    softwareCentre = false;
    contact.reportConcern(&window);
    contact.giveFeedback(&window);
    EXPECT_EQ(opened.size(), 2u) << "nothing more handed to a program";
    ASSERT_EQ(explained.size(), 2u);
    EXPECT_THAT(explained[0], StartsWith("No Mail Program: "));
    EXPECT_THAT(explained[0], HasSubstr("support@quorvel.org"));
    EXPECT_THAT(explained[1], StartsWith("No Software Centre: "));
}

TEST_F(ContactUtilsTest, SubscriptionIsOfferedOnceAndSpentBeforehand)
{
    contact.setMpvc(&window);
    EXPECT_TRUE(contact.shouldShowSubscriptionInvite(defaults));
    contact.subscribeByAutoStart(defaults);
    EXPECT_TRUE(opened.empty()) << "the mail program waits for the user";
    AdwMessageDialog* shown = invitation();
    ASSERT_NE(shown, nullptr);
    EXPECT_STREQ(adw_message_dialog_get_heading(shown), "Subscription. Quorvel");
    EXPECT_EQ(adw_message_dialog_get_body(shown), ContactUtils::subscriptionBody());
    EXPECT_STREQ(adw_message_dialog_get_response_label(shown, ContactUtils::kWriteResponse), "Write E-mail");
    EXPECT_STREQ(adw_message_dialog_get_response_label(shown, ContactUtils::kNotNowResponse), "Not Now");
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(shown)), window.gobj()) << "inside the window";
    ASSERT_TRUE(answer(ContactUtils::kWriteResponse));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(askedWhenOpened) << "the flag is stored before the offer";
    EXPECT_EQ(opened[0], ContactUtils::mailtoUri("news@quorvel.org", "Subscription. Quorvel",
                                                 ContactUtils::subscriptionBody()));
    EXPECT_EQ(parents[0], &window);
    EXPECT_FALSE(contact.shouldShowSubscriptionInvite(defaults));
    contact.subscribeByAutoStart(defaults);
    EXPECT_EQ(opened.size(), 1u) << "any later activation: nothing";
}

TEST_F(ContactUtilsTest, WithoutAMailProgramTheOfferIsSpentWithoutAMessage)
{
    mailProgram = false;
    contact.subscribeByAutoStart(defaults);
    EXPECT_EQ(invitation(), nullptr) << "nothing to offer without a mail program";
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(defaults.boolForKey(DefaultsKeys::kNewsAsked), true);
    mailProgram = true;
    contact.subscribeByAutoStart(defaults);
    EXPECT_EQ(invitation(), nullptr);
    EXPECT_TRUE(opened.empty()) << "never offered again";
}

TEST_F(ContactUtilsTest, NotNowOrEscapeOpensNoMailAndTheOfferIsSpent)
{
    contact.setMpvc(&window);
    contact.subscribeByAutoStart(defaults);
    ASSERT_NE(invitation(), nullptr);
    EXPECT_STREQ(adw_message_dialog_get_close_response(invitation()), ContactUtils::kNotNowResponse)
        << "Escape answers Not Now";
    ASSERT_TRUE(answer(ContactUtils::kNotNowResponse));
    contact.subscribeByAutoStart(defaults);
    EXPECT_EQ(invitation(), nullptr) << "offered once";
    EXPECT_TRUE(opened.empty());
}

TEST_F(ContactUtilsTest, TabletSubjectAndTheFlagOnDisk)
{
    const std::filesystem::path file = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "contact-defaults.json";
    UserDefaults stored(file);
    UIDeviceVersion::setIdiom(UIDeviceVersion::Idiom::Tablet);
    contact.subscribeByAutoStart(stored);
    ASSERT_NE(invitation(), nullptr);
    EXPECT_STREQ(adw_message_dialog_get_heading(invitation()), "News, Tips and Offers Subscription. Quorvel");
    ASSERT_TRUE(answer(ContactUtils::kWriteResponse));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("subject=News%2C%20Tips%20and%20Offers%20Subscription.%20Quorvel"), std::string::npos);
    EXPECT_EQ(UserDefaults(file).boolForKey(DefaultsKeys::kNewsAsked), true) << "synchronised at once";
}

TEST_F(ContactUtilsTest, AFailedLaunchOfTheMailProgramIsLogged)
{
    if (Gio::AppInfo::get_default_for_uri_scheme("mailto")) {
        GTEST_SKIP() << "this session has a mail program, which the test must not start";
    }
    std::vector<std::string> lines;
    const Log::Sink previous = Log::setSink([&](const std::string& line) { lines.push_back(line); });
    contact.openUri = saved.openUri;  // the real launcher, in a session without any handler
    contact.sendMailMsg("", false, "nobody@quorvel.invalid", "S", nullptr);
    guitest::runUntil([&] { return !lines.empty(); });
    Log::setSink(previous);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("ERROR - mailComposeController: ")) << lines[0];
}

}  // namespace
}  // namespace quorvel
