// SPDX-License-Identifier: GPL-3.0-or-later
// The "Data" tab: every figure of the summary in its label, the gauge and the advice colour on
// screen, the panel button, a plan change from the settings, and both layouts fitting their
// screens without clipping or scrolling.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <adwaita.h>
#include <gtkmm/adjustment.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/stylecontext.h>

#include "GuiTest.hpp"
#include "MainScreenTestEnv.hpp"
#include "Summaries.hpp"
#include "model/Messages.hpp"
#include "ui/main/gtk/FViewController.hpp"

namespace quorvel {
namespace {

using ::testing::Contains;
using guitest::pixel;
using Idiom = UIDeviceVersion::Idiom;

// 2 GB plan, 1.22 GB used over 20 of 30 days.
std::shared_ptr<FTrafficDataInformation> summary(std::uint64_t estimation = 1'830'000'000)
{
    return test::summaryWith({2'000'000'000, 1'220'000'000, 780'000'000, 20, 10, 45'200'000, 61'000'000,
                                 78'000'000, estimation, 0});
}

struct MainScreenTest : ::testing::Test {
    guitest::ScreenTestEnv env;
    guitest::ScopedIdiom idiom{Idiom::Phone};

    static std::vector<std::string> texts(FViewController& screen) { return guitest::labelTexts(screen.widget()); }
};

TEST_F(MainScreenTest, ShowsEveryFigureOfTheSummary)
{
    FViewController screen(*env.context);
    EXPECT_EQ(screen.title(), "Data");
    screen.updateInterface(summary());
    const auto shown = texts(screen);
    for (const char* expected : {"2 GB", "1.22 GB", "780 MB", "45.2 MB", "61 MB", "78 MB", "20 days", "10 days",
                                 "1.83 GB", "61", "March 5", "You stay within your normal range of usage"}) {
        EXPECT_THAT(shown, Contains(std::string(expected)));
    }
    EXPECT_EQ(screen.ptPlan2->get_text(), "2 GB") << "both panels carry plan, used and left";
    EXPECT_EQ(screen.ptUsed2->get_text(), "1.22 GB");
    EXPECT_EQ(screen.ptLeft2->get_text(), "780 MB");
    EXPECT_DOUBLE_EQ(screen.ptProgress->dProgr(), 0.61);
    EXPECT_DOUBLE_EQ(screen.ptProgress->dMarker(), 21.0 / 30);
    EXPECT_EQ(screen.ptProgress->strProgrText(), "61%");
    EXPECT_EQ(screen.ptProgress->strMarkerText(), "March 5");

    screen.updateInterface(nullptr);
    EXPECT_EQ(screen.ptPlan->get_text(), "2 GB") << "a missing summary changes nothing";
}

TEST_F(MainScreenTest, TheRoamingRowShowsOnlyWhenSomeOfTheMonthWasRoaming)
{
    for (const Idiom device : {Idiom::Phone, Idiom::Tablet}) {
        guitest::ScopedIdiom form(device);
        FViewController screen(*env.context);
        auto s = summary();
        screen.updateInterface(s);
        EXPECT_FALSE(screen.roamingRow->get_visible()) << "none used while roaming";
        s = test::summaryWith({2'000'000'000, 1'220'000'000, 780'000'000, 20, 10, 45'200'000, 61'000'000,
                                  78'000'000, 1'830'000'000, 312'000'000});
        screen.updateInterface(s);
        EXPECT_TRUE(screen.roamingRow->get_visible());
        EXPECT_EQ(screen.ptRoaming->get_text(), "312 MB");
        EXPECT_THAT(texts(screen), Contains(std::string("Roaming")));
        EXPECT_TRUE(screen.roamingRow->is_ancestor(*screen.pdetailView)) << "a detail, not a summary figure";
        s = summary();
        screen.updateInterface(s);  // a new billing period
        EXPECT_FALSE(screen.roamingRow->get_visible());
    }
}

TEST_F(MainScreenTest, BeforeTheFirstSummaryEverythingReadsZero)
{
    FViewController screen(*env.context);
    EXPECT_EQ(screen.ptPlan->get_text(), "0 MB");
    EXPECT_EQ(screen.ptCycleLeft->get_text(), "0 days");
    EXPECT_EQ(screen.ptPercUsed->get_text(), "0");
    EXPECT_EQ(screen.ptProgress->strProgrText(), "0%");
    EXPECT_EQ(screen.ptDateLong->get_text(), "March 5");
}

TEST_F(MainScreenTest, ThePanelButtonShowsOnePanelAtATime)
{
    FViewController screen(*env.context);
    guitest::ShownIn shown(screen.widget(), 360, 664);
    EXPECT_TRUE(screen.psummaryView->get_visible());
    EXPECT_FALSE(screen.pdetailView->get_visible());
    EXPECT_EQ(screen.btnDetailImage(), "button_menu@2x.png");

    // A key press on the button: the click follows once the press has been shown.
    screen.btnDetail->activate();
    guitest::runUntil([&] { return screen.pdetailView->get_visible(); });
    EXPECT_FALSE(screen.psummaryView->get_visible());
    EXPECT_TRUE(screen.pdetailView->get_visible());
    EXPECT_EQ(screen.btnDetailImage(), "button_menu_a@2x.png");

    screen.btnDetail->activate();
    guitest::runUntil([&] { return screen.psummaryView->get_visible(); });
    EXPECT_TRUE(screen.psummaryView->get_visible());
    EXPECT_FALSE(screen.pdetailView->get_visible());
    EXPECT_EQ(screen.btnDetailImage(), "button_menu@2x.png");
}

TEST_F(MainScreenTest, APlanChangeInTheSettingsShowsAtOnce)
{
    FViewController screen(*env.context);
    screen.updateInterface(summary());
    env.t.center.post(Notification{messages::kMonthPlanSettingWasChanged, nullptr, 3'000'000'000});
    EXPECT_EQ(screen.ptPlan->get_text(), "3 GB");
    EXPECT_EQ(screen.ptPlan2->get_text(), "3 GB");
    EXPECT_EQ(screen.ptLeft->get_text(), "1.78 GB");
    EXPECT_EQ(screen.ptLeftDaily->get_text(), "178 MB");
    EXPECT_EQ(screen.ptPercUsed->get_text(), "40");

    // Without a number the screen still refreshes from what it holds.
    env.t.clock.advance(86400);
    env.t.center.post(messages::kMonthPlanSettingWasChanged, nullptr);
    EXPECT_EQ(screen.ptDateLong->get_text(), "March 6");
    EXPECT_EQ(screen.ptPlan->get_text(), "3 GB");
}

// The most saturated or, for grey, the brightest pixel of a picture: the core of the glyphs.
guitest::Rgb inkOf(const Cairo::RefPtr<Cairo::ImageSurface>& image, bool coloured)
{
    guitest::Rgb best{0, 0, 0};
    auto score = [&](const guitest::Rgb& c) { return coloured ? c.g - c.b : c.r + c.g + c.b; };
    for (int y = 0; y < image->get_height(); ++y) {
        for (int x = 0; x < image->get_width(); ++x) {
            const auto c = pixel(image, x, y);
            if (score(c) > score(best)) {
                best = c;
            }
        }
    }
    return best;
}

TEST_F(MainScreenTest, GaugeIsFilledGreenAndAdviceIsColouredByTheEstimate)
{
    // Light glyphs on the dark page, where the brightest pixel is the ink.
    adw_style_manager_set_color_scheme(adw_style_manager_get_default(), ADW_COLOR_SCHEME_FORCE_DARK);
    FViewController screen(*env.context);
    screen.updateInterface(summary());
    guitest::ShownIn shown(screen.widget(), 360, 664);

    auto gauge = guitest::picture(*screen.ptProgress);
    const ViewRect filled = screen.ptProgress->getFilledRect();
    const auto used = pixel(gauge, filled.x + 6, filled.y + filled.height * 0.75);
    EXPECT_GT(used.g, used.r + 30);
    EXPECT_GT(used.g, used.b + 40);
    const auto track = pixel(gauge, filled.right() + 20, filled.y + filled.height * 0.75);
    EXPECT_GT(track.r + track.g + track.b, 3 * 200) << "the rest of the bar is the light track";

    // The style's own colours: the soft grey of notes, the accent's text colour.
    Gdk::RGBA soft, accentText;
    ASSERT_TRUE(screen.widget().get_style_context()->lookup_color("quorvel_soft_text", soft));
    ASSERT_TRUE(screen.widget().get_style_context()->lookup_color("quorvel_accent_text", accentText));
    const auto grey = inkOf(guitest::picture(*screen.ptAdvise), false);
    EXPECT_NEAR(grey.r, soft.get_red() * 255, 8);
    EXPECT_NEAR(grey.g, soft.get_green() * 255, 8);
    EXPECT_NEAR(grey.b, soft.get_blue() * 255, 8);

    screen.updateInterface(summary(2'400'000'000));
    guitest::waitFrames(screen.widget());
    EXPECT_EQ(screen.ptAdvise->get_text(), "Consider the possibility of the Data Plan extending");
    const auto accent = inkOf(guitest::picture(*screen.ptAdvise), true);
    EXPECT_NEAR(accent.r, accentText.get_red() * 255, 10);
    EXPECT_NEAR(accent.g, 204, 10);
    EXPECT_NEAR(accent.b, 51, 10);
}

// Far over the plan with the widest figures the formatter makes.
std::shared_ptr<FTrafficDataInformation> extreme()
{
    // All of it abroad: one more row in the detail panel.
    return test::summaryWith({123'456'789'012, 1'543'209'862'650, 0, 30, 1, 999'990'000'000, 51'440'328'755, 0,
                                 1'594'650'191'405, 1'543'209'862'650});
}

// Both layouts, both panels, with a realistic summary and an extreme one: the screen fits its
// width and needs no scrolling.
TEST_F(MainScreenTest, BothLayoutsFitTheirScreens)
{
    const struct {
        Idiom idiom;
        int width, height;
        const char* name;
    } sizes[] = {{Idiom::Phone, 360, 664, "main-phone"}, {Idiom::Tablet, 1024, 712, "main-tablet"}};
    const struct {
        std::shared_ptr<FTrafficDataInformation> summary;
        const char* name;
    } states[] = {{env.demoSummary(), ""}, {extreme(), "-extreme"}};
    for (const auto& size : sizes) {
        for (const auto& state : states) {
            guitest::ScopedIdiom device(size.idiom);
            FViewController screen(*env.context);
            screen.updateInterface(state.summary);
            guitest::ShownIn shown(screen.widget(), size.width, size.height);
            for (const char* panel : {"-summary", "-detail"}) {
                guitest::waitFrames(screen.widget());
                const std::string name = std::string(size.name) + state.name + panel;
                auto& scroller = dynamic_cast<Gtk::ScrolledWindow&>(screen.widget());
                EXPECT_EQ(scroller.get_width(), size.width) << name;
                EXPECT_LE(scroller.get_vadjustment()->get_upper(), scroller.get_vadjustment()->get_page_size() + 0.5)
                    << name << " needs no scrolling";
                guitest::keepScreenshot(guitest::picture(screen.widget()), name);
                screen.showNavBar();
            }
        }
    }
}

}  // namespace
}  // namespace quorvel
