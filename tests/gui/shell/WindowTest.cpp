// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a phone or laptop user handles it: how small it may get in either form, the form
// following the window's width, the ways back from every sub-page (also from the web page), the
// prompts' keys, and the keys that quit and close. Input goes through the X server.
#include "ShellTestSupport.hpp"

#include <X11/keysym.h>

#include <adwaita.h>
#include <webkit/webkit.h>

#include "RealInput.hpp"
#include "charts/gtk/ChartViewContainerViewController.hpp"
#include "charts/gtk/FChartPageWidget.hpp"
#include "engine/CTrafficManager.hpp"
#include "ui/dialog/gtk/CODialogButton.hpp"
#include "ui/settings/gtk/FPrefInfoViewController.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel::guitest {
namespace {

class WindowTest : public ShellTest {
protected:
    FPrefTableViewController& settings()
    {
        auto* screen = dynamic_cast<FPrefTableViewController*>(&delegate_->tabs()->screen(3));
        EXPECT_NE(screen, nullptr);
        return *screen;
    }
    Gtk::Window& window() { return *delegate_->window(); }
    // Launches with a set-up done, in the form the environment asks for, and waits for the window.
    void start()
    {
        demoState();
        launch();
        waitFrames(window());
    }
    // Opens a sub-page of the settings: the reset page or the reference page.
    void openSubPage(int section)
    {
        delegate_->tabs()->selectTab(3);
        settings().tableViewDidSelectRow(section, 0);
        ASSERT_EQ(settings().navigation().depth(), 2);
        auto* reference = dynamic_cast<FPrefInfoViewController*>(settings().navigation().top());
        if (reference != nullptr) {
            // The web view holds the focus, as after a click into the page.
            ASSERT_TRUE(runUntil([&] { return !webkit_web_view_is_loading(reference->pwebView()); }, 10000));
            gtk_widget_grab_focus(GTK_WIDGET(reference->pwebView()));
        }
        settle(30);  // the slide has run
    }
};

class BothForms : public WindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BothForms, TheRealisedWindowMayBeAsSmallAsAPhoneInLandscape)
{
    const std::string form = GetParam();
    ::setenv("QUORVEL_IDIOM", form.c_str(), 1);
    start();
    ASSERT_TRUE(window().get_realized());
    const int widest = form == "tablet" ? 683 : 360;
    const auto check = [&](const std::string& what) {
        const MinimumSize minimum = minimumSize(window(), widest);
        EXPECT_LE(minimum.width, widest) << what;
        EXPECT_LE(minimum.height, 294) << what;
    };
    for (int tab = 0; tab < 4; ++tab) {
        delegate_->tabs()->selectTab(tab);
        settle(5);
        check("tab " + std::to_string(tab));
    }
    if (form == "phone") {
        openSubPage(FPrefTableViewController::kReset);
        check("reset page");
        settings().navigation().pop();
    }
    openSubPage(FPrefTableViewController::kInformation);
    check("reference page");
}

INSTANTIATE_TEST_SUITE_P(Forms, BothForms, ::testing::Values("phone", "tablet"));

TEST_F(WindowTest, EveryTabKeepsItsTabBarInALandscapePhoneWindow)
{
    start();
    ASSERT_TRUE(resizeWindow(window(), 360, 294));
    for (int tab = 0; tab < 4; ++tab) {
        delegate_->tabs()->selectTab(tab);
        waitFrames(window(), 3);
        const graphene_rect_t bar = tabBarBounds(*delegate_->tabs());
        EXPECT_GT(bar.size.height, 20.f) << tab;
        EXPECT_LE(bar.origin.y + bar.size.height, 294.f) << "tab " << tab << ": the bar is on screen";
        EXPECT_EQ(window().get_height(), 294) << "the content did not make the window grow";
    }
}

TEST_F(WindowTest, TheFormFollowsTheWindowWidthAcross768)
{
    ::unsetenv("QUORVEL_IDIOM");
    start();
    ASSERT_TRUE(resizeWindow(window(), 1024, 768));
    delegate_->tabs()->selectTab(1);
    ASSERT_TRUE(runUntil([&] { return UIDeviceVersion::isPadInterface(); }));
    EXPECT_TRUE(settings().isTablet());

    ASSERT_TRUE(resizeWindow(window(), 700, 600));
    ASSERT_TRUE(runUntil([&] { return UIDeviceVersion::isPhoneInterface(); }));
    settle(10);
    EXPECT_FALSE(settings().isTablet()) << "the screens were made anew in the phone form";
    EXPECT_TRUE(window().has_css_class("quorvel-phone"));
    EXPECT_FALSE(window().has_css_class("quorvel-tablet"));
    EXPECT_EQ(delegate_->tabs()->selectedTab(), 1) << "on the same tab";
    auto* charts = dynamic_cast<ChartViewContainerViewController*>(&delegate_->tabs()->screen(1));
    ASSERT_NE(charts, nullptr);
    EXPECT_EQ(charts->viewControllers().size(), 3u) << "the new screens have the last summary";

    ASSERT_TRUE(resizeWindow(window(), 768, 600));
    ASSERT_TRUE(runUntil([&] { return UIDeviceVersion::isPadInterface(); }));
    settle(10);
    EXPECT_TRUE(settings().isTablet()) << "768 is the larger form";
}

TEST_F(WindowTest, OneResizeFromTheLargerFormReachesThePhoneForm)
{
    ::unsetenv("QUORVEL_IDIOM");
    start();
    ASSERT_TRUE(resizeWindow(window(), 1024, 768));
    ASSERT_TRUE(runUntil([&] { return UIDeviceVersion::isPadInterface(); }));
    settle(10);
    EXPECT_TRUE(resizeWindowOnce(window(), 360, 720)) << "stopped at " << window().get_width();
    ASSERT_TRUE(runUntil([&] { return UIDeviceVersion::isPhoneInterface(); }));
    settle(10);
    EXPECT_EQ(window().get_width(), 360);
    EXPECT_FALSE(settings().isTablet());
    const graphene_rect_t bar = tabBarBounds(*delegate_->tabs());
    EXPECT_EQ(bar.size.width, 360.f) << "the phone's screens fill the window";
}

TEST_F(WindowTest, InPhoneLandscapeTheDailyChartIsWhollyOnScreen)
{
    ::unsetenv("QUORVEL_IDIOM");
    start();
    ASSERT_TRUE(resizeWindow(window(), 720, 360));
    ASSERT_TRUE(UIDeviceVersion::isPhoneInterface());
    delegate_->tabs()->selectTab(1);
    waitFrames(window(), 3);
    settle(20);
    auto* charts = dynamic_cast<ChartViewContainerViewController*>(&delegate_->tabs()->screen(1));
    ASSERT_NE(charts, nullptr);
    ASSERT_FALSE(charts->viewControllers().empty());
    FChartPageWidget& page = *charts->viewControllers().at(static_cast<std::size_t>(charts->currentPage()));
    const float barTop = tabBarBounds(*delegate_->tabs()).origin.y;
    for (Gtk::Widget* graph : {static_cast<Gtk::Widget*>(&page.chartArea()), static_cast<Gtk::Widget*>(&page.barArea())}) {
        graphene_rect_t r{};
        ASSERT_TRUE(gtk_widget_compute_bounds(graph->gobj(), GTK_WIDGET(window().gobj()), &r));
        EXPECT_GE(r.size.height, 160.f);
        EXPECT_GE(r.origin.y, 0.f);
        EXPECT_LE(r.origin.y + r.size.height, barTop + 0.5f) << "the graph's foot, with the zero line and the day "
                                                                "labels, is above the tab bar without scrolling";
        EXPECT_LE(r.origin.x + r.size.width, 720.f);
    }
    keepScreenshot(picture(window()), "chart-phone-landscape");
}

TEST_F(WindowTest, AForcedFormStaysWhateverTheWidth)
{
    start();  // QUORVEL_IDIOM=phone
    ASSERT_TRUE(resizeWindow(window(), 1024, 768));
    settle(20);
    EXPECT_TRUE(UIDeviceVersion::isPhoneInterface());
    EXPECT_FALSE(settings().isTablet());
}

struct BackWay {
    const char* name;
    std::function<void(Gtk::Window&)> press;
};

TEST_F(WindowTest, EscapeAltLeftAndTheMouseBackButtonLeaveEverySubPage)
{
    start();
    const std::vector<BackWay> ways = {
        {"Escape", [](Gtk::Window& w) { pressKey(w, XK_Escape); }},
        {"Alt+Left", [](Gtk::Window& w) { pressKey(w, XK_Left, {XK_Alt_L}); }},
        {"mouse back", [](Gtk::Window& w) { clickAt(w, w.get_width() / 2.0, w.get_height() / 2.0, 8); }},
    };
    for (const int section : {FPrefTableViewController::kReset, FPrefTableViewController::kInformation}) {
        for (const BackWay& way : ways) {
            openSubPage(section);
            way.press(window());
            EXPECT_TRUE(runUntil([&] { return settings().navigation().depth() == 1; }))
                << way.name << " on page of section " << section;
            EXPECT_TRUE(delegate_->tabs()->tabBarRevealed()) << way.name;
            settle(30);
        }
    }
    // After the mouse's back button, the next click on "Back" still goes back.
    openSubPage(FPrefTableViewController::kInformation);
    clickAt(window(), window().get_width() / 2.0, window().get_height() / 2.0, 8);
    ASSERT_TRUE(runUntil([&] { return settings().navigation().depth() == 1; }));
    settle(30);
    openSubPage(FPrefTableViewController::kReset);
    graphene_rect_t back{};
    ASSERT_TRUE(gtk_widget_compute_bounds(GTK_WIDGET(settings().navigation().backButton().gobj()),
                                          GTK_WIDGET(window().gobj()), &back));
    clickAt(window(), back.origin.x + back.size.width / 2, back.origin.y + back.size.height / 2);
    EXPECT_TRUE(runUntil([&] { return settings().navigation().depth() == 1; }));
}

TEST_F(WindowTest, EscapeOnTheRootPageGoesNowhere)
{
    start();
    delegate_->tabs()->selectTab(3);
    settle(10);
    pressKey(window(), XK_Escape);
    EXPECT_EQ(settings().navigation().depth(), 1);
    EXPECT_TRUE(window().get_visible());
}

TEST_F(WindowTest, EscapeCancelsTheSelfDrawnPromptAndTabShowsTheFocusedButton)
{
    start();
    const std::uint64_t plan = delegate_->controller().pmodule()->getMonthPlan();
    delegate_->tabs()->selectTab(3);
    settings().tableViewDidSelectRow(FPrefTableViewController::kPlan, 0);
    ASSERT_TRUE(settings().openPrompt().isOpen());
    CODialog& prompt = *settings().openPrompt().dialog();
    ASSERT_TRUE(runUntil([&] { return prompt.isShown() && prompt.get_mapped(); }));
    settle(20);

    // Tab from the field to the first button: the focus shows on it.
    pressKey(window(), XK_Tab);
    auto* focused = dynamic_cast<CODialogButton*>(window().get_focus());
    ASSERT_NE(focused, nullptr) << "Tab reaches the buttons";
    EXPECT_TRUE(focused->has_visible_focus());
    const auto withFocus = picture(*focused);
    pressKey(window(), XK_Tab);
    waitFrames(window());
    const auto withoutFocus = picture(*focused);
    int differing = 0;
    for (int y = 0; y < focused->get_height(); ++y) {
        for (int x = 0; x < focused->get_width(); ++x) {
            const Rgb a = pixel(withFocus, x, y), b = pixel(withoutFocus, x, y);
            differing += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 60 ? 1 : 0;
        }
    }
    EXPECT_GT(differing, 40) << "the focused button is drawn differently";

    pressKey(window(), XK_Escape);
    EXPECT_TRUE(runUntil([&] { return !settings().openPrompt().isOpen(); }));
    EXPECT_EQ(delegate_->controller().pmodule()->getMonthPlan(), plan);
    EXPECT_EQ(settings().navigation().depth(), 1);
}

TEST_F(WindowTest, CtrlWClosesTheWindowAndCtrlQQuits)
{
    start();
    EXPECT_EQ(app_->get_accels_for_action("app.quit"), std::vector<Glib::ustring>{"<Control>q"});
    EXPECT_EQ(app_->get_accels_for_action("window.close"), std::vector<Glib::ustring>{"<Control>w"});
    bool closed = false;
    window().signal_close_request().connect(
        [&] {
            closed = true;
            return false;  // and let it close
        },
        false);
    pressKey(window(), XK_w, {XK_Control_L});
    EXPECT_TRUE(runUntil([&] { return closed; }));
}

}  // namespace
}  // namespace quorvel::guitest
