// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog widget on a real window: batching of shows, hiding, buttons and fields, the modal
// layer over the window, the keyboard adjustment, and what it draws.
#include <gtest/gtest.h>

#include <adwaita.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <algorithm>

#include <gtkmm/box.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/init.h>
#include <gtkmm/label.h>
#include <gtkmm/button.h>
#include <gtkmm/overlay.h>
#include <gtkmm/window.h>

#include "GuiTest.hpp"
#include "platform/Log.hpp"
#include "ui/dialog/gtk/CODialog.hpp"
#include "ui/dialog/gtk/CODialogButton.hpp"
#include "ui/dialog/gtk/CODialogPainter.hpp"
#include "ui/dialog/gtk/CODialogTextField.hpp"
#include "ui/dialog/gtk/CODialogWindowOverlay.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {
namespace {

using guitest::picture;
using guitest::pixel;
using guitest::runUntil;
using guitest::settle;

// Enter as the keyboard gives it: the entry's text part is activated.
void pressEnter(Gtk::Entry& entry)
{
    g_signal_emit_by_name(gtk_editable_get_delegate(GTK_EDITABLE(entry.gobj())), "activate");
}

class CODialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Gtk::init_gtkmm_internals(); }
    void SetUp() override
    {
        UIDeviceVersion::setIdiom(UIDeviceVersion::Idiom::Phone);
        window.set_default_size(360, 720);
        content.append(behind);
        window.set_child(content);
        window.present();
        ASSERT_TRUE(runUntil([&] { return window.get_width() == 360 && window.get_height() == 720; }));
    }
    void TearDown() override { settle(5); }

    // A prompt-like dialog, shown and settled.
    std::shared_ptr<CODialog> shownDialog(int fields = 1)
    {
        auto dialog = CODialog::dialogWithWindow(window);
        dialog->setTitle("Monthly Data Plan");
        dialog->setSubtitle("Enter your monthly data plan in Megabytes");
        for (int i = 0; i < fields; ++i) {
            dialog->addTextFieldWithPlaceholder("Current Plan - 1000 MB", false);
        }
        dialog->addButtonWithTitle("Cancel", [this] { pressed.push_back("Cancel"); });
        dialog->addButtonWithTitle("Apply", [this] { pressed.push_back("Apply"); }, true);
        dialog->showOrUpdateAnimated(false);
        EXPECT_TRUE(runUntil([&] { return dialog->isShown() && dialog->get_width() > 0; }));
        settle(5);
        return dialog;
    }

    Gtk::Widget* focused() { return window.get_focus(); }

    Gtk::Window window;
    Gtk::Box content{Gtk::Orientation::VERTICAL};
    Gtk::Button behind{"Behind"};
    std::vector<std::string> pressed;
};

TEST_F(CODialogTest, ShowsWithinBatchDelayMergeIntoOne)
{
    for (double delay : {0.0, 0.02}) {
        auto dialog = CODialog::dialogWithWindow(window);
        dialog->setBatchDelay(delay);
        std::vector<bool> runs;
        dialog->signalShownOrUpdated().connect([&](bool newShow) { runs.push_back(newShow); });
        dialog->showOrUpdateAnimated(true);
        dialog->showOrUpdateAnimated(true);
        EXPECT_FALSE(dialog->isShown()) << "nothing runs before the delay";
        ASSERT_TRUE(runUntil([&] { return !runs.empty(); }));
        settle(10);
        EXPECT_EQ(runs, std::vector<bool>{true}) << delay;

        dialog->showOrUpdateAnimated(false);
        ASSERT_TRUE(runUntil([&] { return runs.size() == 2; }));
        EXPECT_FALSE(runs[1]) << "a shown dialog is only laid out again";
        dialog->hideAnimated(false);
        EXPECT_FALSE(dialog->isShown());
    }
}

TEST_F(CODialogTest, HidingANeverShownDialogOnlyEndsEditing)
{
    auto dialog = CODialog::dialogWithWindow(window);
    dialog->addTextFieldWithPlaceholder("", false);
    bool ran = false;
    dialog->signalShownOrUpdated().connect([&](bool) { ran = true; });
    dialog->hideAnimated(true);
    settle(10);
    EXPECT_FALSE(dialog->isShown());
    EXPECT_EQ(window.get_child(), &content) << "the window's content was not touched";

    // A show still waiting is dropped by a hide.
    dialog->showOrUpdateAnimated(true);
    dialog->hideAnimated(true);
    settle(10);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(dialog->isShown());
}

TEST_F(CODialogTest, HighlightedIndexFollowsTheButtons)
{
    auto dialog = CODialog::dialogWithWindow(window);
    EXPECT_EQ(dialog->highlightedIndex(), -1);
    dialog->addButtonWithTitle("Cancel", {});
    EXPECT_EQ(dialog->highlightedIndex(), -1);
    dialog->addButtonWithTitle("Apply", {}, true);
    EXPECT_EQ(dialog->highlightedIndex(), 1);
    dialog->addButtonWithTitle("Later", {});
    EXPECT_EQ(dialog->highlightedIndex(), 1);
    dialog->removeAllButtons();
    EXPECT_EQ(dialog->highlightedIndex(), -1);
    EXPECT_TRUE(dialog->buttons().empty());

    dialog->addButtonWithTitle("OK", {}, true);
    dialog->addTextFieldWithPlaceholder("", false);
    dialog->setTitle("T");
    dialog->setDialogStyle(CODialog::kCheckMark);
    dialog->resetLayout();
    EXPECT_EQ(dialog->highlightedIndex(), -1);
    EXPECT_TRUE(dialog->textFields().empty());
    EXPECT_EQ(dialog->title(), "");
    EXPECT_EQ(dialog->dialogStyle(), CODialog::kPlain);
}

TEST_F(CODialogTest, EnterMovesThroughTheFieldsAndPressesTheHighlightedButton)
{
    auto dialog = shownDialog(3);
    const auto& fields = dialog->textFields();
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0]->returnKey(), CODialogTextField::ReturnKey::Next);
    EXPECT_EQ(fields[1]->returnKey(), CODialogTextField::ReturnKey::Next);
    EXPECT_EQ(fields[2]->returnKey(), CODialogTextField::ReturnKey::Done);
    EXPECT_TRUE(focused() != nullptr && focused()->is_ancestor(*fields[2])) << "the last field added has the focus";

    fields[0]->grab_focus();
    pressEnter(*fields[0]);
    EXPECT_TRUE(focused() != nullptr && focused()->is_ancestor(*fields[1]));
    EXPECT_TRUE(pressed.empty());

    fields[2]->set_text("750");
    pressEnter(*fields[2]);
    EXPECT_EQ(pressed, std::vector<std::string>{"Apply"});
    EXPECT_TRUE(focused() == nullptr || !focused()->is_ancestor(*dialog)) << "editing ended";
    EXPECT_EQ(dialog->textForTextFieldAtIndex(2), "750");
    dialog->hideAnimated(false);
}

TEST_F(CODialogTest, EnterOnTheLastFieldWithoutAHighlightedButtonOnlyEndsEditing)
{
    auto dialog = CODialog::dialogWithWindow(window);
    dialog->addTextFieldWithPlaceholder("", false);
    dialog->addButtonWithTitle("OK", [this] { pressed.push_back("OK"); });
    dialog->showOrUpdateAnimated(false);
    ASSERT_TRUE(runUntil([&] { return dialog->isShown(); }));
    pressEnter(*dialog->textFields()[0]);
    EXPECT_TRUE(pressed.empty());
    dialog->hideAnimated(false);
}

// A quick second click lands on a dialog that is already fading out after the first answer;
// answering twice would apply the value twice, the second time with no field left to read.
TEST_F(CODialogTest, ADialogOnItsWayOutTakesNoFurtherAnswers)
{
    auto dialog = CODialog::dialogWithWindow(window);
    dialog->addTextFieldWithPlaceholder("", false);
    dialog->addButtonWithTitle("Cancel", [this] { pressed.push_back("Cancel"); });
    std::weak_ptr<CODialog> weak = dialog;
    dialog->addButtonWithTitle("Apply", [this, weak] {
        pressed.push_back("Apply");
        if (auto shown = weak.lock()) {
            shown->hideAnimated(true);  // as every prompt target does
        }
    }, true);
    dialog->showOrUpdateAnimated(false);
    ASSERT_TRUE(runUntil([&] { return dialog->isShown() && dialog->get_width() > 0; }));

    dialog->buttons()[1]->click();
    ASSERT_TRUE(dialog->isShown()) << "still fading out";
    dialog->buttons()[1]->click();
    dialog->buttons()[0]->click();
    pressEnter(*dialog->textFields()[0]);
    EXPECT_EQ(pressed, std::vector<std::string>{"Apply"});
    EXPECT_FALSE(dialog->get_can_target()) << "pointer presses no longer reach its buttons";

    ASSERT_TRUE(runUntil([&] { return !dialog->isShown(); }));
    dialog->showOrUpdateAnimated(false);
    ASSERT_TRUE(runUntil([&] { return dialog->isShown(); }));
    EXPECT_TRUE(dialog->get_can_target());
    dialog->buttons()[0]->click();
    EXPECT_EQ(pressed, (std::vector<std::string>{"Apply", "Cancel"})) << "shown again, it answers again";
    dialog->hideAnimated(false);
}

TEST_F(CODialogTest, ShownDialogIsModalOverTheWholeWindow)
{
    behind.grab_focus();
    auto dialog = shownDialog();
    EXPECT_TRUE(focused() != nullptr && focused()->is_ancestor(*dialog)) << "the keyboard goes to the dialog";
    // The window's content now sits under a layer as large as itself.
    auto* host = dynamic_cast<Gtk::Overlay*>(window.get_child());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->get_child(), &content);
    EXPECT_FALSE(content.get_can_focus()) << "nothing below may take the keyboard";

    // A click beside the dialog lands on the dimmed layer, never on the content.
    GtkWidget* picked = gtk_widget_pick(GTK_WIDGET(window.gobj()), 5, 5, GTK_PICK_DEFAULT);
    ASSERT_NE(picked, nullptr);
    EXPECT_FALSE(gtk_widget_is_ancestor(picked, GTK_WIDGET(content.gobj())) || picked == GTK_WIDGET(content.gobj()));
    EXPECT_EQ(gtk_widget_get_width(picked), 360);
    EXPECT_EQ(gtk_widget_get_height(picked), 720);

    // A second dialog on top: the content stays blocked until both are gone.
    auto second = shownDialog();
    dialog->hideAnimated(false);
    EXPECT_FALSE(content.get_can_focus());
    second->hideAnimated(true);
    ASSERT_TRUE(runUntil([&] { return !second->isShown(); }));
    EXPECT_TRUE(content.get_can_focus());
    EXPECT_EQ(focused(), &behind) << "the keyboard is back where it was";
    EXPECT_EQ(host->get_child(), &content) << "the content stays where it is for the next dialog";
}

TEST_F(CODialogTest, LibadwaitaWindowKeepsItsContentUnderTheHostLayer)
{
    auto* adwWindow = Glib::wrap(GTK_WINDOW(adw_window_new()));
    auto* page = Gtk::make_managed<Gtk::Box>();
    adw_window_set_content(ADW_WINDOW(adwWindow->gobj()), GTK_WIDGET(page->gobj()));
    Gtk::Overlay& host = CODialogWindowOverlay::prepareHost(*adwWindow);
    EXPECT_EQ(adw_window_get_content(ADW_WINDOW(adwWindow->gobj())), GTK_WIDGET(host.gobj()));
    EXPECT_EQ(host.get_child(), page);
    EXPECT_EQ(&CODialogWindowOverlay::prepareHost(*adwWindow), &host) << "put around the content once";
    gtk_window_destroy(adwWindow->gobj());
}

TEST_F(CODialogTest, DialogKeepsItselfAliveWhileOnScreen)
{
    std::weak_ptr<CODialog> weak;
    {
        auto dialog = shownDialog();
        weak = dialog;
    }
    settle(5);
    ASSERT_FALSE(weak.expired()) << "dropped by its creator, still on screen";
    weak.lock()->buttons()[0]->click();
    EXPECT_EQ(pressed, std::vector<std::string>{"Cancel"});
    weak.lock()->hideAnimated(true);
    EXPECT_TRUE(runUntil([&] { return weak.expired(); }));
}

TEST_F(CODialogTest, CentredOnTheWindowAndLaidOutAgainOnUpdate)
{
    auto dialog = shownDialog();
    const auto one = dialog->presentedSize();
    EXPECT_EQ(one.width, 320);
    int x = 0;
    int y = 0;
    ASSERT_TRUE(runUntil([&] {
        graphene_point_t p{};
        graphene_point_t origin{};
        if (!gtk_widget_compute_point(GTK_WIDGET(dialog->gobj()), GTK_WIDGET(window.gobj()), &origin, &p)) {
            return false;
        }
        x = static_cast<int>(p.x);
        y = static_cast<int>(p.y);
        return x == 20;
    }));
    EXPECT_EQ(y, static_cast<int>((720 - one.height) / 2));

    dialog->addTextFieldWithPlaceholder("second", false);
    dialog->showOrUpdateAnimated(true);
    ASSERT_TRUE(runUntil([&] { return dialog->layout().fieldRects.size() == 2; }));
    ASSERT_TRUE(runUntil([&] { return dialog->presentedSize().height == one.height + 37; }));
    dialog->hideAnimated(false);
}

TEST_F(CODialogTest, KeyboardAdjustmentWarnsOnlyWhenClipped)
{
    auto dialog = shownDialog();
    std::vector<std::string> lines;
    const auto previous = Log::setSink([&](const std::string& line) { lines.push_back(line); });
    const double height = dialog->presentedSize().height;

    dialog->adjustToKeyboardBounds(200);
    EXPECT_TRUE(lines.empty());
    const double expectedTop = (720 - 200 - height) / 2;
    EXPECT_TRUE(runUntil([&] {
        graphene_point_t p{};
        graphene_point_t origin{};
        return gtk_widget_compute_point(GTK_WIDGET(dialog->gobj()), GTK_WIDGET(window.gobj()), &origin, &p) &&
               static_cast<int>(p.y) == static_cast<int>(expectedTop);
    }));

    dialog->adjustToKeyboardBounds(700);
    const double clippedTop = (720 - 700 - height) / 2;
    char expected[96];
    std::snprintf(expected, sizeof expected, "warning: dialog is clipped, origin negative (%f)", clippedTop);
    EXPECT_EQ(lines, std::vector<std::string>{expected});
    Log::setSink(previous);
    dialog->hideAnimated(false);
}

TEST_F(CODialogTest, RenderedDialogShowsThePanelAndWhiteTitle)
{
    auto dialog = shownDialog();
    ASSERT_TRUE(runUntil([&] { return window.get_child() != nullptr; }));
    settle(10);
    for (double scale : {1.0, 2.0}) {
        auto image = picture(window, scale);
        guitest::keepScreenshot(image, scale == 1 ? "codialog_prompt_1x" : "codialog_prompt_2x");
        const double top = std::floor((720 - dialog->presentedSize().height) / 2);
        const auto& layout = dialog->layout();

        // Beside the buttons, inside the panel: the dark blue, lighter than the dimming.
        const auto panel = pixel(image, 20 + 12, top + layout.buttonRect.y + 22, scale);
        EXPECT_GT(panel.b, panel.r + 25) << scale;
        EXPECT_GT(panel.b, panel.g + 15) << scale;

        int white = 0;
        const auto& title = layout.titleRect;
        for (double py = title.y; py < title.maxY(); py += 1) {
            for (double px = title.x; px < title.maxX(); px += 1) {
                const auto c = pixel(image, 20 + px, top + py, scale);
                white += (c.r > 235 && c.g > 235 && c.b > 235) ? 1 : 0;
            }
        }
        EXPECT_GT(white, 40) << "white title text at scale " << scale;

        // The field is white with dark text room; the dimming darkens the corner.
        const auto field = pixel(image, 20 + layout.fieldRects[0].maxX() - 6, top + layout.fieldRects[0].y + 20, scale);
        EXPECT_GT(field.r, 240);
        const auto corner = pixel(image, 1, 1, scale);
        EXPECT_LT(corner.r + corner.g + corner.b, 3 * 120);
    }
    dialog->hideAnimated(false);
}

TEST_F(CODialogTest, AccessoryForEachStyleSitsUnderTheSubtitle)
{
    auto custom = std::make_shared<Gtk::Button>("Custom");
    struct Case {
        int style;
        bool hasAccessory;
        int width, height;
        const char* screenshot;
    };
    const Case cases[] = {{CODialog::kPlain, false, 0, 0, nullptr},
                          {CODialog::kActivity, true, 37, 37, nullptr},
                          {CODialog::kProgress, true, 200, 88, "codialog_progress"},
                          {CODialog::kCheckMark, true, 64, 64, "codialog_checkmark"},
                          {CODialog::kCross, true, 64, 64, "codialog_cross"},
                          {CODialog::kCustom, true, -1, -1, nullptr}};
    for (const auto& c : cases) {
        auto dialog = CODialog::dialogWithWindow(window);
        dialog->setTitle("Monthly Data Plan");
        dialog->setSubtitle("Saved");
        dialog->setDialogStyle(c.style);
        dialog->setCustomView(custom);
        dialog->setProgress(0.4);
        dialog->addButtonWithTitle("OK", {}, true);
        dialog->showOrUpdateAnimated(false);
        ASSERT_TRUE(runUntil([&] {
            return dialog->isShown() && dialog->get_width() > 0 &&
                   (dialog->accessoryView() == nullptr || dialog->accessoryView()->get_width() > 0);
        }));
        const auto& rect = dialog->layout().accessoryRect;
        ASSERT_EQ(dialog->accessoryView() != nullptr, c.hasAccessory) << c.style;
        EXPECT_EQ(dialog->progress(), c.style == CODialog::kProgress ? 0.4 : 0.0) << c.style;
        if (c.hasAccessory) {
            Gtk::Widget& view = *dialog->accessoryView();
            EXPECT_EQ(rect.y, dialog->layout().subtitleRect.maxY() + 8) << c.style;
            if (c.width >= 0) {
                EXPECT_EQ(rect.width, c.width) << c.style;
                EXPECT_EQ(rect.height, c.height) << c.style;
            }
            // Placed at the accessory rectangle (the spinner turns and the button has padding,
            // so only the plain drawing areas are compared point for point).
            if (c.style == CODialog::kProgress || c.style == CODialog::kCheckMark || c.style == CODialog::kCross) {
                graphene_point_t at{};
                const graphene_point_t origin{};
                ASSERT_TRUE(gtk_widget_compute_point(view.gobj(), GTK_WIDGET(dialog->gobj()), &origin, &at));
                EXPECT_EQ(at.x, rect.x) << c.style;
                EXPECT_EQ(at.y, rect.y) << c.style;
            }
            int w = 0;
            int h = 0;
            view.get_size_request(w, h);
            EXPECT_EQ(w, rect.width) << c.style;
            EXPECT_EQ(h, rect.height) << c.style;
        }
        if (c.screenshot != nullptr) {
            guitest::keepScreenshot(picture(window, 2), c.screenshot);
        }
        dialog->hideAnimated(false);
    }
}

TEST(CODialogPainterTest, SymbolsAreCentredCheckMarkAndCross)
{
    const auto draw = [](int style, double size) {
        auto image = Cairo::ImageSurface::create(Cairo::Surface::Format::ARGB32, static_cast<int>(size),
                                                 static_cast<int>(size));
        auto cr = Cairo::Context::create(image);
        CODialogPainter::drawSymbol(cr, {0, 0, size, size}, style);
        image->flush();
        return image;
    };
    const auto alphaAt = [](const Cairo::RefPtr<Cairo::ImageSurface>& image, int x, int y) {
        return image->get_data()[y * image->get_stride() + 4 * x + 3];
    };
    // (16, 48) lies on the cross's lower-left arm only; (57, 10) on the check mark's tip only.
    struct Case {
        int style;
        double size;
        bool lowerLeft, upperRight;
    };
    for (const Case c : {Case{3, 64, false, true}, Case{4, 64, true, false}, Case{3, 100, false, true},
                         Case{4, 100, true, false}}) {
        auto image = draw(c.style, c.size);
        const int o = static_cast<int>((c.size - 64) / 2);
        EXPECT_EQ(alphaAt(image, o + 16, o + 48) == 255, c.lowerLeft) << c.style << " " << c.size;
        EXPECT_EQ(alphaAt(image, o + 57, o + 10) == 255, c.upperRight) << c.style << " " << c.size;
        const auto face = pixel(image, o + 33, o + 30);
        EXPECT_GT(face.r, 150) << "light face";
    }
    auto none = draw(0, 64);
    EXPECT_EQ(alphaAt(none, 33, 30), 0);
}

// WCAG relative luminance of an sRGB colour.
double luminance(const guitest::Rgb& c)
{
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

// The contrast of white text against the middle luminance of a region (text pixels are the
// minority, so the median is the background the text sits on).
double whiteTextContrast(const Cairo::RefPtr<Cairo::ImageSurface>& image, const graphene_rect_t& region)
{
    std::vector<double> values;
    for (float y = region.origin.y; y < region.origin.y + region.size.height; y += 1) {
        for (float x = region.origin.x; x < region.origin.x + region.size.width; x += 1) {
            values.push_back(luminance(pixel(image, x, y)));
        }
    }
    if (values.empty()) {
        return 0;
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return 1.05 / (values[values.size() / 2] + 0.05);
}

// Over a bright screen full of large dark figures, the panel's texts still read: what lies
// under the see-through panel is darkened, so title, message and button titles keep 4.5:1.
TEST_F(CODialogTest, TextsStayReadableOverABrightScreen)
{
    auto css = Gtk::CssProvider::create();
    css->load_from_data(".qv-bright { background-color: #ffffff; } .qv-bright label { color: #000000; font-size: 60px; }");
    Gtk::StyleContext::add_provider_for_display(window.get_display(), css, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
    content.add_css_class("qv-bright");
    std::vector<std::unique_ptr<Gtk::Label>> figures;
    for (const char* text : {"0 MB", "Daily Limit", "0 MB", "Daily Limit", "0 MB", "Daily Limit"}) {
        figures.push_back(std::make_unique<Gtk::Label>(text));
        content.append(*figures.back());
    }
    auto dialog = shownDialog();
    settle(10);
    const auto image = picture(window);
    guitest::keepScreenshot(image, "codialog_over_bright_screen");
    const auto inWindow = [&](Gtk::Widget& widget, const CODialogRect& r) {
        graphene_point_t from = GRAPHENE_POINT_INIT(static_cast<float>(r.x), static_cast<float>(r.y)), to{};
        EXPECT_TRUE(gtk_widget_compute_point(widget.gobj(), GTK_WIDGET(window.gobj()), &from, &to));
        return GRAPHENE_RECT_INIT(to.x, to.y, static_cast<float>(r.width), static_cast<float>(r.height));
    };
    EXPECT_GE(whiteTextContrast(image, inWindow(*dialog, dialog->layout().titleRect)), 4.5) << "title";
    EXPECT_GE(whiteTextContrast(image, inWindow(*dialog, dialog->layout().subtitleRect)), 4.5) << "message";
    for (CODialogButton* button : dialog->buttons()) {
        const double w = button->get_width(), h = button->get_height();
        // The title band in the middle of the face.
        const CODialogRect band{4, (h - CODialogPainter::kTitleBandHeight) / 2, w - 8, CODialogPainter::kTitleBandHeight};
        EXPECT_GE(whiteTextContrast(image, inWindow(*button, band)), 4.5) << button->title();
    }
    dialog->hideAnimated(false);
    Gtk::StyleContext::remove_provider_for_display(window.get_display(), css);
    for (auto& figure : figures) {
        content.remove(*figure);
    }
    content.remove_css_class("qv-bright");
}

TEST_F(CODialogTest, EscapeRunsTheCancelButtonOnlyWhenOneIsNamed)
{
    auto dialog = shownDialog();
    const auto escape = [&] {
        // The key as the window hands it down: through the dialog's capture phase.
        GtkEventController* keys = nullptr;
        GListModel* controllers = gtk_widget_observe_controllers(dialog->gobj());
        for (guint i = 0; i < g_list_model_get_n_items(controllers) && keys == nullptr; ++i) {
            auto* c = GTK_EVENT_CONTROLLER(g_list_model_get_item(controllers, i));
            if (GTK_IS_EVENT_CONTROLLER_KEY(c)) {
                keys = c;
            }
            g_object_unref(c);
        }
        g_object_unref(controllers);
        gboolean handled = FALSE;
        g_signal_emit_by_name(keys, "key-pressed", GDK_KEY_Escape, 9u, GdkModifierType{}, &handled);
        return handled != FALSE;
    };
    EXPECT_FALSE(escape()) << "no cancel button named";
    EXPECT_TRUE(pressed.empty());
    dialog->setCancelButtonIndex(0);
    EXPECT_TRUE(escape());
    EXPECT_EQ(pressed, std::vector<std::string>{"Cancel"});
    dialog->removeAllButtons();
    EXPECT_EQ(dialog->cancelButtonIndex(), -1);
    dialog->hideAnimated(false);
}

}  // namespace
}  // namespace quorvel
