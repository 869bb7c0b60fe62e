// SPDX-License-Identifier: GPL-3.0-or-later
// Every tab at phone and tablet size with a realistic state (2 GB plan from the 15th, three
// months of traffic, five places), and the set-up's prompt in both forms: pictures to look at
// (written when QUORVEL_SCREENSHOTS names a directory), with the checks a picture allows.
#include "ShellTestSupport.hpp"

#include <gtkmm/applicationwindow.h>
#include <webkit/webkit.h>

#include "RealInput.hpp"
#include "ui/settings/gtk/FPrefInfoViewController.hpp"
#include "ui/settings/gtk/FPrefTableViewController.hpp"

namespace quorvel::guitest {
namespace {

// A picture that is one flat colour shows nothing.
bool showsSomething(const Cairo::RefPtr<Cairo::ImageSurface>& image, int width, int height)
{
    const Rgb first = pixel(image, 1, 1);
    for (int y = 0; y < height; y += 7) {
        for (int x = 0; x < width; x += 7) {
            const Rgb p = pixel(image, x, y);
            if (std::abs(p.r - first.r) + std::abs(p.g - first.g) + std::abs(p.b - first.b) > 60) {
                return true;
            }
        }
    }
    return false;
}

class EveryTab : public ShellTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EveryTab, IsDrawnAtItsSize)
{
    const std::string idiom = GetParam();
    ::setenv("QUORVEL_IDIOM", idiom.c_str(), 1);
    demoState();
    FAppDelegate& d = launch();
    Gtk::Window& window = *d.window();
    const int width = idiom == "tablet" ? 1024 : 360;
    const int height = idiom == "tablet" ? 768 : 720;
    ASSERT_TRUE(runUntil([&] { return window.get_width() == width && window.get_height() == height; }));
    const char* names[4] = {"main", "charts", "map", "settings"};
    for (int tab = 0; tab < 4; ++tab) {
        d.tabs()->selectTab(tab);
        settle(30);
        const auto image = picture(window);
        keepScreenshot(image, std::string("tab-") + names[tab] + "-" + idiom);
        EXPECT_TRUE(showsSomething(image, width, height)) << names[tab];
    }
}

INSTANTIATE_TEST_SUITE_P(Idioms, EveryTab, ::testing::Values("phone", "tablet"));

// Every page at a landscape phone, a landscape phone with more room, a half-tiled laptop window
// and a tablet, the form following the width: each picture shows something and keeps the tab bar
// on screen (the reference page hides it on purpose).
TEST_F(ShellTest, EveryPageAtFourWindowSizes)
{
    ::unsetenv("QUORVEL_IDIOM");
    demoState();
    FAppDelegate& d = launch();
    Gtk::Window& window = *d.window();
    waitFrames(window);
    const char* names[4] = {"main", "charts", "map", "settings"};
    struct Size {
        int width, height;
    };
    for (const Size size : {Size{360, 294}, Size{720, 360}, Size{683, 768}, Size{1024, 768}}) {
        ASSERT_TRUE(resizeWindow(window, size.width, size.height));
        settle(20);  // the form follows in an idle callback
        const std::string suffix = std::to_string(size.width) + "x" + std::to_string(size.height);
        const auto shoot = [&](const std::string& page, bool withTabBar) {
            waitFrames(window, 3);
            settle(20);
            EXPECT_EQ(window.get_width(), size.width) << page;
            EXPECT_EQ(window.get_height(), size.height) << page << ": nothing made the window grow";
            const auto image = picture(window);
            keepScreenshot(image, "window-" + suffix + "-" + page);
            EXPECT_TRUE(showsSomething(image, size.width, size.height)) << page << " " << suffix;
            if (withTabBar) {
                const graphene_rect_t bar = tabBarBounds(*d.tabs());
                EXPECT_LE(bar.origin.y + bar.size.height, static_cast<float>(size.height)) << page << " " << suffix;
                EXPECT_GT(bar.size.height, 20.f) << page << " " << suffix;
            }
        };
        for (int tab = 0; tab < 4; ++tab) {
            d.tabs()->selectTab(tab);
            shoot(names[tab], true);
        }
        auto* settings = dynamic_cast<FPrefTableViewController*>(&d.tabs()->screen(3));
        ASSERT_NE(settings, nullptr);
        d.tabs()->selectTab(3);
        if (!settings->isTablet()) {
            settings->tableViewDidSelectRow(FPrefTableViewController::kReset, 0);
            shoot("reset", true);
            settings->navigation().pop();
        }
        settings->tableViewDidSelectRow(FPrefTableViewController::kInformation, 0);
        auto* reference = dynamic_cast<FPrefInfoViewController*>(settings->navigation().top());
        ASSERT_NE(reference, nullptr);
        runUntil([&] { return !webkit_web_view_is_loading(reference->pwebView()); }, 10000);
        settle(100);
        shoot("reference", false);
        settings->navigation().pop();
        settings->tableViewDidSelectRow(FPrefTableViewController::kPlan, 1);
        ASSERT_TRUE(settings->openPrompt().isOpen());
        runUntil([&] { return settings->openPrompt().dialog()->get_mapped(); });
        settle(20);
        shoot("start-day-prompt", true);
        settings->StartDayCancelled();
        settle(20);
    }
}

TEST_F(ShellTest, TheSetUpPromptInBothForms)
{
    for (const char* version : {"4.8.3", "5.1"}) {
        SetUp();
        UIDeviceVersion::setSystemVersionText(version);
        FAppDelegate& d = launch();
        d.controller().applicationDidBecomeActive();
        settle(40);
        std::vector<Gtk::Window*> windows = app_->get_windows();
        ASSERT_FALSE(windows.empty());
        // The message dialog is a window of its own; the self-drawn one sits inside the main window.
        Gtk::Window& shown = *windows.front();
        runUntil([&] { return shown.get_width() > 0; });
        settle(20);
        const auto image = picture(shown);
        keepScreenshot(image, std::string("setup-plan-prompt-") + (version[0] == '5' ? "message-dialog" : "dialog-widget"));
        EXPECT_TRUE(showsSomething(image, shown.get_width(), shown.get_height())) << version;
        TearDown();
    }
}

}  // namespace
}  // namespace quorvel::guitest
