// Every tab at phone and tablet size with a realistic state (2 GB plan from the 15th, three
// months of traffic, five places), and the set-up's prompt in both forms: pictures to look at
// (written when QUORVEL_SCREENSHOTS names a directory), with the checks a picture allows.
#include "ShellTestSupport.hpp"

#include <gtkmm/applicationwindow.h>

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
