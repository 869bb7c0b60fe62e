// SPDX-License-Identifier: GPL-3.0-or-later
// The three value prompts: their placeholders, which form opens on which system version, and
// that each button reaches the target's right callback with the typed text.
#include <gtest/gtest.h>

#include <adwaita.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtkmm/box.h>
#include <gtkmm/init.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

#include "GuiTest.hpp"
#include "platform/glib/GObjectHandle.hpp"
#include "ui/dialog/gtk/CODialog.hpp"
#include "ui/dialog/gtk/CODialogButton.hpp"
#include "ui/dialog/gtk/CODialogTextField.hpp"
#include "ui/PromptTarget.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"
#include "ui/dialog/gtk/sharUtils.hpp"

namespace quorvel {
namespace {

using guitest::runUntil;
using guitest::settle;

constexpr std::uint64_t kNoValue = static_cast<std::uint64_t>(-1);

TEST(ValuePromptPlaceholders, TextsForEachPrompt)
{
    EXPECT_EQ(sharUtils::planPlaceholder(kNoValue), "");
    EXPECT_EQ(sharUtils::planPlaceholder(static_cast<std::uint64_t>(INT64_MIN)), "") << "any negative value";
    EXPECT_EQ(sharUtils::planPlaceholder(2'000'000'000), "Current Plan - 2000 MB");
    EXPECT_EQ(sharUtils::planPlaceholder(0), "Current Plan - 0 MB");
    EXPECT_EQ(sharUtils::planPlaceholder(250'000), "Current Plan - 0.25 MB");
    EXPECT_EQ(sharUtils::usedPlaceholder(kNoValue), "");
    EXPECT_EQ(sharUtils::usedPlaceholder(250'000'000), "Current - 250 MB");
    EXPECT_EQ(sharUtils::startDayPlaceholder(1), "Current Day - 1");
    EXPECT_EQ(sharUtils::startDayPlaceholder(31), "Current Day - 31");
}

// Writes down every answer it gets, with the dialog's text for the dialog-widget callbacks.
class RecordingTarget : public PromptTarget {
public:
    RecordingTarget(Gtk::Window& window, bool keepsDialog) : window_(window), keepsDialog_(keepsDialog) {}

    Gtk::Window* window() override { return &window_; }
    void setownAlertView(std::shared_ptr<CODialog> dialog) override
    {
        offered = dialog;
        if (keepsDialog_) {
            dialog_ = std::move(dialog);
        }
    }
    // The answer names its prompt by kind; recorded as that prompt's title.
    void alertViewClickedButtonAtIndex(PromptKind kind, int index, const std::string& text) override
    {
        const char* title = kind == PromptKind::Plan       ? sharUtils::kPlanTitle
                            : kind == PromptKind::StartDay ? sharUtils::kStartDayTitle
                            : kind == PromptKind::Used     ? sharUtils::kUsedTitle
                                                           : "another prompt";
        calls.push_back(std::string(title) + " " + std::to_string(index) + " '" + text + "'");
    }
    void DataPlanEntered() override { record("DataPlanEntered"); }
    void DataPlanCancelled() override { record("DataPlanCancelled"); }
    void StartDayEntered() override { record("StartDayEntered"); }
    void StartDayCancelled() override { record("StartDayCancelled"); }
    void UsedDataEntered() override { record("UsedDataEntered"); }
    void UsedDataCancelled() override { record("UsedDataCancelled"); }

    std::vector<std::string> calls;
    std::weak_ptr<CODialog> offered;

private:
    void record(const std::string& name)
    {
        calls.push_back(name + " '" + (dialog_ ? dialog_->textForTextFieldAtIndex(0) : "") + "'");
        if (dialog_) {
            dialog_->hideAnimated(true);
            dialog_.reset();
        }
    }

    Gtk::Window& window_;
    bool keepsDialog_;
    std::shared_ptr<CODialog> dialog_;
};

struct PromptCase {
    const char* title;
    const char* message;
    std::function<void(PromptTarget&)> open;
    const char* placeholder;
    const char* cancelled;
    const char* entered;
};

const std::vector<PromptCase>& promptCases()
{
    static const std::vector<PromptCase> cases{
        {"Monthly Data Plan", "Enter your monthly data plan in Megabytes",
         [](PromptTarget& t) { sharUtils::showPlanPrompt(t, 2'000'000'000); }, "Current Plan - 2000 MB",
         "DataPlanCancelled", "DataPlanEntered"},
        {"Data Plan Start Date", "Enter your plan billing day",
         [](PromptTarget& t) { sharUtils::showStartDayPrompt(t, 15); }, "Current Day - 15",
         "StartDayCancelled", "StartDayEntered"},
        {"Used Data", "Enter the amount of used data (Megabytes)",
         [](PromptTarget& t) { sharUtils::showUsedPrompt(t, kNoValue); }, "", "UsedDataCancelled",
         "UsedDataEntered"},
    };
    return cases;
}

AdwMessageDialog* openMessageDialog()
{
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        GObjectHandle<GObject> item(G_OBJECT(g_list_model_get_item(toplevels, i)));
        if (ADW_IS_MESSAGE_DIALOG(item.get()) && gtk_widget_get_visible(GTK_WIDGET(item.get()))) {
            return ADW_MESSAGE_DIALOG(item.get());  // the toplevel list keeps it
        }
    }
    return nullptr;
}

// The message dialog's button with that label, as the user clicks it.
GtkWidget* responseButton(GtkWidget* root, const std::string& label)
{
    if (GTK_IS_BUTTON(root) && gtk_button_get_label(GTK_BUTTON(root)) != nullptr &&
        label == gtk_button_get_label(GTK_BUTTON(root))) {
        return root;
    }
    for (GtkWidget* c = gtk_widget_get_first_child(root); c != nullptr; c = gtk_widget_get_next_sibling(c)) {
        if (GtkWidget* found = responseButton(c, label)) {
            return found;
        }
    }
    return nullptr;
}

void pressEnter(GtkEntry* entry)
{
    g_signal_emit_by_name(gtk_editable_get_delegate(GTK_EDITABLE(entry)), "activate");
}

class ValuePromptsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Gtk::init_gtkmm_internals(); }
    void SetUp() override
    {
        savedVersion_ = UIDeviceVersion::systemVersionText();
        UIDeviceVersion::setIdiom(UIDeviceVersion::Idiom::Phone);
        adw_style_manager_set_color_scheme(adw_style_manager_get_default(), ADW_COLOR_SCHEME_FORCE_DARK);
        window.set_title("Quorvel");
        window.set_default_size(360, 720);
        content.set_margin(24);
        content.set_spacing(12);
        for (const char* text : {"Settings", "Monthly Data Plan — 1000 MB", "Plan Start Day - 1", "Used Data"}) {
            content.append(*Gtk::make_managed<Gtk::Label>(text));
        }
        window.set_child(content);
        window.present();
        ASSERT_TRUE(runUntil([&] { return window.get_width() == 360 && window.get_height() == 720; }));
    }
    void TearDown() override
    {
        settle(5);
        UIDeviceVersion::setSystemVersionText(savedVersion_);
        adw_style_manager_set_color_scheme(adw_style_manager_get_default(), ADW_COLOR_SCHEME_DEFAULT);
    }

    std::shared_ptr<CODialog> openDialogWidget(RecordingTarget& target, const PromptCase& prompt)
    {
        prompt.open(target);
        std::shared_ptr<CODialog> dialog;
        EXPECT_TRUE(runUntil([&] {
            dialog = target.offered.lock();
            return dialog && dialog->isShown() && dialog->get_width() > 0;
        }));
        return dialog;
    }

    Gtk::Window window;
    Gtk::Box content{Gtk::Orientation::VERTICAL};

private:
    std::string savedVersion_;
};

TEST_F(ValuePromptsTest, DialogWidgetFormOnSystemsBeforeVersion5)
{
    for (const std::string& version : {UIDeviceVersion::systemVersionText(), std::string("9.1")}) {
        UIDeviceVersion::setSystemVersionText(version);
        for (const auto& prompt : promptCases()) {
            RecordingTarget target(window, true);
            auto dialog = openDialogWidget(target, prompt);
            ASSERT_TRUE(dialog) << version << " " << prompt.title;
            EXPECT_EQ(openMessageDialog(), nullptr);
            EXPECT_EQ(dialog->title(), prompt.title);
            EXPECT_EQ(dialog->subtitle(), prompt.message);
            EXPECT_EQ(dialog->dialogStyle(), CODialog::kPlain);
            ASSERT_EQ(dialog->textFields().size(), 1u);
            EXPECT_EQ(dialog->textFields()[0]->get_placeholder_text(), prompt.placeholder);
            EXPECT_EQ(dialog->textFields()[0]->get_input_purpose(), Gtk::InputPurpose::DIGITS);
            ASSERT_EQ(dialog->buttons().size(), 2u);
            EXPECT_EQ(dialog->buttons()[0]->title(), "Cancel");
            EXPECT_EQ(dialog->buttons()[1]->title(), "Apply");
            EXPECT_EQ(dialog->highlightedIndex(), 1);

            dialog->textFields()[0]->set_text("31");
            dialog->buttons()[1]->click();
            EXPECT_EQ(target.calls, std::vector<std::string>{std::string(prompt.entered) + " '31'"});
            dialog.reset();
            EXPECT_TRUE(runUntil([&] { return target.offered.expired(); })) << "hidden and let go";

            target.calls.clear();
            dialog = openDialogWidget(target, prompt);
            dialog->textFields()[0]->set_text("7");
            dialog->buttons()[0]->click();
            EXPECT_EQ(target.calls, std::vector<std::string>{std::string(prompt.cancelled) + " '7'"});
            dialog.reset();
            EXPECT_TRUE(runUntil([&] { return target.offered.expired(); }));
        }
    }
}

TEST_F(ValuePromptsTest, EnterInTheDialogWidgetAppliesTheTypedText)
{
    RecordingTarget target(window, true);
    auto dialog = openDialogWidget(target, promptCases()[0]);
    ASSERT_TRUE(dialog);
    auto* field = dialog->textFields()[0];
    EXPECT_TRUE(window.get_focus() != nullptr && window.get_focus()->is_ancestor(*field)) << "ready for typing";
    field->set_text("500");
    pressEnter(field->gobj());
    EXPECT_EQ(target.calls, std::vector<std::string>{"DataPlanEntered '500'"});
}

TEST_F(ValuePromptsTest, TargetThatDoesNotKeepTheDialogStillSeesItGo)
{
    RecordingTarget target(window, false);
    auto dialog = openDialogWidget(target, promptCases()[1]);
    ASSERT_TRUE(dialog);
    dialog->buttons()[1]->click();
    EXPECT_EQ(target.calls, std::vector<std::string>{"StartDayEntered ''"});
    EXPECT_TRUE(runUntil([&] { return !dialog->isShown(); }));
}

TEST_F(ValuePromptsTest, MessageDialogFormFromVersion5)
{
    UIDeviceVersion::setSystemVersionText("5.1");
    for (const auto& prompt : promptCases()) {
        for (const int index : {1, 0}) {
            RecordingTarget target(window, true);
            prompt.open(target);
            AdwMessageDialog* dialog = nullptr;
            ASSERT_TRUE(runUntil([&] { return (dialog = openMessageDialog()) != nullptr; })) << prompt.title;
            EXPECT_TRUE(target.offered.expired()) << "no dialog widget";
            EXPECT_STREQ(adw_message_dialog_get_heading(dialog), prompt.title);
            EXPECT_STREQ(adw_message_dialog_get_body(dialog), prompt.message);
            EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), window.gobj());
            EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(dialog)));
            EXPECT_STREQ(adw_message_dialog_get_response_label(dialog, "cancel"), "Cancel");
            EXPECT_STREQ(adw_message_dialog_get_response_label(dialog, "apply"), "Apply");
            auto* entry = GTK_ENTRY(adw_message_dialog_get_extra_child(dialog));
            ASSERT_NE(entry, nullptr);
            EXPECT_STREQ(gtk_entry_get_placeholder_text(entry), prompt.placeholder);
            EXPECT_EQ(gtk_entry_get_input_purpose(entry), GTK_INPUT_PURPOSE_DIGITS);

            gtk_editable_set_text(GTK_EDITABLE(entry), "1500");
            GtkWidget* button = responseButton(GTK_WIDGET(dialog), index == 1 ? "Apply" : "Cancel");
            ASSERT_NE(button, nullptr);
            gtk_widget_activate(button);
            EXPECT_TRUE(runUntil([&] { return !target.calls.empty(); }));
            EXPECT_EQ(target.calls, std::vector<std::string>{std::string(prompt.title) + " " +
                                                             std::to_string(index) + " '1500'"});
            EXPECT_TRUE(runUntil([&] { return openMessageDialog() == nullptr; })) << "closed after the answer";
        }
    }
}

TEST_F(ValuePromptsTest, EnterInTheMessageDialogApplies)
{
    UIDeviceVersion::setSystemVersionText("8.0");
    RecordingTarget target(window, true);
    sharUtils::showUsedPrompt(target, 250'000'000);
    AdwMessageDialog* dialog = nullptr;
    ASSERT_TRUE(runUntil([&] { return (dialog = openMessageDialog()) != nullptr; }));
    auto* entry = GTK_ENTRY(adw_message_dialog_get_extra_child(dialog));
    EXPECT_STREQ(gtk_entry_get_placeholder_text(entry), "Current - 250 MB");
    gtk_editable_set_text(GTK_EDITABLE(entry), "42");
    pressEnter(entry);
    EXPECT_TRUE(runUntil([&] { return !target.calls.empty(); }));
    EXPECT_EQ(target.calls, std::vector<std::string>{"Used Data 1 '42'"});
    runUntil([&] { return openMessageDialog() == nullptr; });
}

// Pictures of both forms over a phone-sized window, for looking at.
TEST_F(ValuePromptsTest, ScreenshotsOfBothForms)
{
    {
        RecordingTarget target(window, true);
        auto dialog = openDialogWidget(target, promptCases()[0]);
        ASSERT_TRUE(dialog);
        settle(20);
        guitest::keepScreenshot(guitest::picture(window, 1), "prompt_dialog_widget_1x");
        guitest::keepScreenshot(guitest::picture(window, 2), "prompt_dialog_widget_2x");
        dialog->textFields()[0]->set_text("1500");
        settle(10);
        guitest::keepScreenshot(guitest::picture(window, 2), "prompt_dialog_widget_typed_2x");
        dialog->hideAnimated(false);
    }
    UIDeviceVersion::setSystemVersionText("5.1");
    RecordingTarget target(window, true);
    sharUtils::showStartDayPrompt(target, 15);
    AdwMessageDialog* dialog = nullptr;
    ASSERT_TRUE(runUntil([&] { return (dialog = openMessageDialog()) != nullptr; }));
    auto* dialogWindow = Glib::wrap(GTK_WINDOW(dialog));
    ASSERT_TRUE(runUntil([&] { return dialogWindow->get_width() > 0; }));
    settle(20);
    // The host with the separate dialog window drawn centred on it, as a compositor would.
    auto host = guitest::picture(window, 1);
    auto shot = guitest::picture(*dialogWindow, 1);
    auto cr = Cairo::Context::create(host);
    cr->set_source(shot, (host->get_width() - shot->get_width()) / 2.0, (host->get_height() - shot->get_height()) / 2.0);
    cr->paint();
    guitest::keepScreenshot(host, "prompt_message_dialog_1x");
    gtk_widget_activate(responseButton(GTK_WIDGET(dialog), "Cancel"));
    runUntil([&] { return openMessageDialog() == nullptr; });
}

}  // namespace
}  // namespace quorvel
