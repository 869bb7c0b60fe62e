// SPDX-License-Identifier: GPL-3.0-or-later
// The phone's reset page over a real application controller: the used-data prompt, "Reset All"
// in its order, the questions before clearing, rows that stay chosen until answered, and row
// texts that follow the model.
#include <gtest/gtest.h>

#include "SettingsFixture.hpp"
#include "ui/settings/gtk/FPrefResetViewController.hpp"

namespace quorvel::settingstest {
namespace {

using guitest::runUntil;
using Reset = FPrefResetViewController;

class ResetScreenTest : public SettingsFixture {
protected:
    // A new page on screen, as the settings push it.
    Reset& resetScreen(bool tablet = false)
    {
        Reset& screen = make<Reset>(*context, prompts.prompts(), tablet);
        show(screen.widget(), tablet ? 1024 : 360, tablet ? 768 : 720);
        return screen;
    }
    CTrafficManager& model() { return *app->pmodule(); }
};

TEST_F(ResetScreenTest, RowsWithTheirCaptionAndPictures)
{
    addPlaces(2);
    Reset& screen = resetScreen();
    EXPECT_EQ(screen.title(), "Reset");
    EXPECT_EQ(screen.table().texts(),
              (std::vector<std::string>{"Reset Statistic", "This Month Data Usage (0 MB)", "Previous Months Data Usage",
                                        "Locations (2)", "Reset All"}));
    EXPECT_EQ(screen.table().row(0, 0).backgroundName(), "tabrow_up");
    EXPECT_EQ(screen.table().row(0, 1).backgroundName(), "tabrow_center");
    EXPECT_EQ(screen.table().row(0, 2).backgroundName(), "tabrow_down");
    EXPECT_EQ(screen.table().row(1, 0).backgroundName(), "tabrow");
    EXPECT_EQ(resetScreen(true).table().row(1, 0).backgroundName(), "ipad_tabrow");
}

TEST_F(ResetScreenTest, ResetAllClearsPlacesThenMonthsThenSetsThisMonth)
{
    addPlaces(2);
    addPreviousMonths();
    Reset& screen = resetScreen();
    log.events.clear();
    screen.table().row(1, 0).activate();
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::All);
    EXPECT_EQ(prompts.opened, std::vector<std::string>{"used 0"});
    EXPECT_EQ(screen.table().selectedRow(), (std::pair{1, 0})) << "chosen until answered";
    screen.commonDataUsedEntered("100");
    EXPECT_EQ(log.events, (std::vector<std::string>{"locations", "previous months", "update"}));
    EXPECT_EQ(model().getLocationsCount(), 0);
    EXPECT_EQ(model().history().months().size(), 1u);
    EXPECT_EQ(model().getDataUsed(), 100'000'000u);
    EXPECT_EQ(screen.table().texts()[1], "This Month Data Usage (100 MB)");
    EXPECT_EQ(screen.table().texts()[3], "Locations");
    EXPECT_FALSE(screen.table().selectedRow());
}

TEST_F(ResetScreenTest, AnEmptyFieldKeepsThisMonthsUsage)
{
    addPlaces(1);
    addPreviousMonths();
    app->onResetThisMonthDataInfo(300'000'000);
    Reset& screen = resetScreen();
    screen.table().row(0, 0).activate();
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::ThisMonth);
    EXPECT_EQ(prompts.opened, std::vector<std::string>{"used 300000000"});
    screen.UsedDataEntered();  // no dialog: the empty text
    EXPECT_EQ(model().getDataUsed(), 300'000'000u);
    EXPECT_EQ(model().getLocationsCount(), 1);
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::None);
    // Resetting all with nothing typed clears places and earlier months, and keeps the amount.
    screen.table().row(1, 0).activate();
    screen.alertViewClickedButtonAtIndex(PromptKind::Used, 1, " ");
    EXPECT_EQ(model().getDataUsed(), 300'000'000u);
    EXPECT_EQ(model().getLocationsCount(), 0);
    EXPECT_EQ(model().history().months().size(), 1u);
}

TEST_F(ResetScreenTest, AnAmountBeyondSixtyFourBitsAsksAgainAndResetsNothing)
{
    addPlaces(1);
    Reset& screen = resetScreen();
    screen.table().row(1, 0).activate();
    screen.alertViewClickedButtonAtIndex(PromptKind::Used, 1, "1e30");
    EXPECT_EQ(prompts.opened, (std::vector<std::string>{"used 0", "used 0"}));
    EXPECT_EQ(model().getLocationsCount(), 1);
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::All) << "still resetting all once an amount comes";
    EXPECT_TRUE(screen.table().selectedRow());
}

TEST_F(ResetScreenTest, PreviousMonthsAnsweredWithCancelResetsNothing)
{
    addPreviousMonths();
    Reset& screen = resetScreen();
    screen.table().row(0, 1).activate();
    AdwMessageDialog* question = nullptr;
    ASSERT_TRUE(runUntil([&] { return (question = openMessageDialog()) != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(question), "Previous Months Traffics");
    EXPECT_EQ(screen.table().selectedRow(), (std::pair{0, 1}));
    answer(question, "cancel");
    EXPECT_EQ(model().history().months().size(), 3u);
    EXPECT_EQ(screen.tres(), FPrefResetActions::Reset::None);
    EXPECT_FALSE(screen.table().selectedRow());

    screen.table().row(0, 1).activate();
    ASSERT_TRUE(runUntil([&] { return (question = openMessageDialog()) != nullptr; }));
    answer(question, "reset");
    EXPECT_EQ(model().history().months().size(), 1u);
    EXPECT_EQ(log.events, std::vector<std::string>{"previous months"});
}

TEST_F(ResetScreenTest, LocationsRowLosesItsCountWhenThePlacesGo)
{
    addPlaces(3);
    Reset& screen = resetScreen();
    EXPECT_EQ(screen.table().row(0, 2).text(), "Locations (3)");
    app->onResetLocations(nullptr);  // the model posts the new count
    EXPECT_EQ(screen.table().row(0, 2).text(), "Locations");
}

TEST_F(ResetScreenTest, AQuestionStillOpenGoesWithThePage)
{
    addPlaces(1);
    Reset* screen = &resetScreen();
    screen->table().row(0, 2).activate();
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    window->unset_child();
    screens.clear();
    EXPECT_TRUE(runUntil([] { return openMessageDialog() == nullptr; }));
    EXPECT_EQ(model().getLocationsCount(), 1) << "nothing answered, nothing reset";
}

}  // namespace
}  // namespace quorvel::settingstest
