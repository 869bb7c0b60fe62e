// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Translation.hpp"

namespace quorvel {

class UserDefaults;

// The settings and reset lists' words and pictures that depend only on numbers: row texts, the
// row background by position, header and footer texts and footer heights.
class PrefTexts {
public:
    // The plan shown when the defaults hold none.
    static constexpr std::uint64_t kPlanWithoutPreference = 10'000'000'000ULL;

    static constexpr const char* kTitleSettings = N_("Settings");
    static constexpr const char* kTitleReset = N_("Reset");
    static constexpr const char* kTitleReference = N_("Reference");

    static constexpr const char* kHeaderPlan = N_("Plan");
    static constexpr const char* kHeaderAlerts = N_("Alerts on Data Usage");
    static constexpr const char* kHeaderReset = N_("Reset");
    static constexpr const char* kHeaderInformation = N_("Information");
    static constexpr const char* kHeaderCounting = N_("Counting");
    static constexpr const char* kHeaderResetStatistic = N_("Reset Statistic");

    static constexpr const char* kFooterPlan = N_("Set up data plan");
    static constexpr const char* kFooterAlerts = N_("Enable notifications on exceeding the certain usage");
    static constexpr const char* kFooterInformation = N_("Learn more about application usage");

    static constexpr const char* kRowDailyLimit = N_("Daily Limit");
    static constexpr const char* kRowMonthlyLimit = N_("Monthly Limit");
    static constexpr const char* kRowOverbound = N_("Data Limit Exceeding");
    static constexpr const char* kRowResetStatistic = N_("Reset Statistic");
    static constexpr const char* kRowPreviousMonths = N_("Previous Months Data Usage");
    static constexpr const char* kRowResetAll = N_("Reset All");
    static constexpr const char* kRowReference = N_("Quorvel Reference");
    static constexpr const char* kRowConcern = N_("Report a Concern");
    static constexpr const char* kRowFeedback = N_("Give a Feedback");
    static constexpr const char* kRowConnections = N_("Counted connections");
    static constexpr const char* kRowBackground = N_("Count in the Background");
    static constexpr const char* kRowRecordPlaces = N_("Record Places");
    static constexpr const char* kRowMapTiles = N_("Load Map Tiles over Mobile Data");
    static constexpr const char* kRowCutoff = N_("Turn Off Mobile Data at Plan");

    static constexpr const char* kConfirmPreviousTitle = N_("Previous Months Traffics");
    static constexpr const char* kConfirmPreviousMessage = N_("Are you sure you want reset previous month traffic statistic?");
    static constexpr const char* kConfirmLocationsTitle = N_("Traffic Locations");
    static constexpr const char* kConfirmLocationsMessage = N_("Are you sure you want reset traffic locations statistic?");

    // "tabrow" alone, "tabrow_up" first, "tabrow_down" last, "tabrow_center" between; "ipad_" first
    // on tablets.
    static std::string getBgImageforIndexPath(int row, int rowsInSection, bool tablet);

    static std::string planRow(std::uint64_t planBytes);
    static std::string startDayRow(std::int32_t day);
    // "Plan Period - Every 28 days from 2026-12-01"; "Data Packs - None", "Data Packs - 2".
    static std::string periodRow(const std::string& shapeSummary);
    static std::string packsRow(std::size_t count);
    // "SIMs - None", "SIMs - 2": the SIMs this device has seen, each with its own plan.
    static std::string simsRow(std::size_t count);
    // The network the modem is registered on, so that the plan's SIM can be told.
    static std::string operatorRow(const std::optional<std::string>& name);
    static std::string thisMonthRow(std::uint64_t usedBytes);
    // "Locations", with the count in brackets once there is a place.
    static std::string locationsRow(std::int32_t count);

    // The settings' footer texts and heights by section.
    static std::string settingsFooter(int section);
    static int settingsFooterHeight(int section, bool tablet);

    // The plan the settings show: the preference, or 10 GB without one.
    static std::uint64_t planPreference(const UserDefaults& defaults);
};

}  // namespace quorvel
