// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings and reset lists show and accept, without a window: row pictures by
// position, row texts, footers, the plan shown without a preference, and the entry rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/UserDefaults.hpp"
#include "ui/settings/PrefEntries.hpp"
#include "ui/settings/PrefTexts.hpp"

namespace quorvel {
namespace {

TEST(SettingsRules, RowPictureByPositionInItsSection)
{
    struct Case {
        int row, rows;
        const char* phone;
    };
    for (const Case& c : {Case{0, 1, "tabrow"}, Case{0, 2, "tabrow_up"}, Case{1, 2, "tabrow_down"},
                          Case{0, 4, "tabrow_up"}, Case{1, 4, "tabrow_center"}, Case{2, 4, "tabrow_center"},
                          Case{3, 4, "tabrow_down"}}) {
        EXPECT_EQ(PrefTexts::getBgImageforIndexPath(c.row, c.rows, false), c.phone) << c.row << " of " << c.rows;
        EXPECT_EQ(PrefTexts::getBgImageforIndexPath(c.row, c.rows, true), std::string("ipad_") + c.phone);
    }
}

TEST(SettingsRules, RowTexts)
{
    EXPECT_EQ(PrefTexts::planRow(2'048'000'000), "Data Plan - 2.05 GB");
    EXPECT_EQ(PrefTexts::planRow(PrefTexts::kPlanWithoutPreference), "Data Plan - 10 GB");
    EXPECT_EQ(PrefTexts::startDayRow(31), "Plan Start Day - 31");
    EXPECT_EQ(PrefTexts::thisMonthRow(0), "This Month Data Usage (0 MB)");
    EXPECT_EQ(PrefTexts::thisMonthRow(250'000'000), "This Month Data Usage (250 MB)");
    EXPECT_EQ(PrefTexts::locationsRow(0), "Locations");
    EXPECT_EQ(PrefTexts::locationsRow(-1), "Locations") << "never a count below one";
    EXPECT_EQ(PrefTexts::locationsRow(1), "Locations (1)");
    EXPECT_EQ(PrefTexts::locationsRow(3), "Locations (3)");
}

TEST(SettingsRules, FootersAndTheirHeights)
{
    EXPECT_EQ(PrefTexts::settingsFooter(0), "Set up data plan");
    EXPECT_EQ(PrefTexts::settingsFooter(1), "Enable notifications on exceeding the certain usage");
    EXPECT_EQ(PrefTexts::settingsFooter(2), "");
    EXPECT_EQ(PrefTexts::settingsFooter(3), "Learn more about application usage");
    const int phone[] = {25, 25, 0, 35, 10};
    for (int section = 0; section < 5; ++section) {
        EXPECT_EQ(PrefTexts::settingsFooterHeight(section, false), phone[section]) << section;
        EXPECT_EQ(PrefTexts::settingsFooterHeight(section, true), 40) << section;
    }
}

TEST(SettingsRules, PlanShownWithoutAPreferenceIsTenGigabytes)
{
    UserDefaults defaults;
    EXPECT_EQ(PrefTexts::planPreference(defaults), 10'000'000'000u);
    defaults.setObject("pkeyDataPlanULL", "2 GB");
    EXPECT_EQ(PrefTexts::planPreference(defaults), 10'000'000'000u) << "a value of the wrong type is none";
    defaults.setObject("pkeyDataPlanULL", 2'000'000'000u);
    EXPECT_EQ(PrefTexts::planPreference(defaults), 2'000'000'000u);
}

TEST(SettingsRules, PlanEntries)
{
    struct Case {
        const char* text;
        std::optional<std::uint64_t> bytes;
    };
    for (const Case& c : {Case{"2048", 2'048'000'000u}, Case{" 500 ", 500'000'000u}, Case{"1.9", 1'000'000u},
                          Case{"0", std::nullopt}, Case{"", std::nullopt}, Case{"-5", std::nullopt},
                          Case{"abc", std::nullopt}, Case{"0.5", std::nullopt},
                          Case{"9223372036854", 9'223'372'036'854'000'000u},
                          Case{"9223372036855", std::nullopt}, Case{"1e30", std::nullopt}}) {
        EXPECT_EQ(PrefEntries::plan(c.text), c.bytes) << "'" << c.text << "'";
    }
}

TEST(SettingsRules, OnlyANothingTypedKeepsTheCurrentValue)
{
    for (const char* kept : {"", " ", "\t \n"}) {
        EXPECT_TRUE(PrefEntries::keepsCurrentValue(kept)) << "'" << kept << "'";
    }
    for (const char* entered : {"0", " 5 ", "x", "-"}) {
        EXPECT_FALSE(PrefEntries::keepsCurrentValue(entered)) << "'" << entered << "'";
    }
}

TEST(SettingsRules, StartDayEntries)
{
    struct Case {
        const char* text;
        std::optional<std::int32_t> day;
    };
    for (const Case& c : {Case{"31", 31}, Case{"1", 1}, Case{"15.7", 15}, Case{"", 1}, Case{"  ", 1},
                          Case{"32", std::nullopt}, Case{"0", std::nullopt}, Case{"-3", std::nullopt},
                          Case{"x", std::nullopt}, Case{"99999999999999999999", std::nullopt}}) {
        EXPECT_EQ(PrefEntries::startDay(c.text), c.day) << "'" << c.text << "'";
    }
}

TEST(SettingsRules, UsedEntries)
{
    struct Case {
        const char* text;
        std::optional<std::uint64_t> bytes;
    };
    for (const Case& c : {Case{"250", 250'000'000u}, Case{"-5", 0u}, Case{"-1e30", 0u}, Case{"", 0u},
                          Case{"abc", 0u}, Case{"0", 0u}, Case{"1e30", std::nullopt}}) {
        EXPECT_EQ(PrefEntries::used(c.text), c.bytes) << "'" << c.text << "'";
    }
}

}  // namespace
}  // namespace quorvel
