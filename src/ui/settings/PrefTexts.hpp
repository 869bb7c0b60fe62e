// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

class UserDefaults;

// The settings and reset lists' words and pictures that depend only on numbers: row texts, the
// row background by position, header and footer texts and footer heights.
class PrefTexts {
public:
    // The plan shown when the defaults hold none.
    static constexpr std::uint64_t kPlanWithoutPreference = 10'000'000'000ULL;

    static constexpr const char* kTitleSettings = "Settings";
    static constexpr const char* kTitleReset = "Reset";
    static constexpr const char* kTitleReference = "Reference";

    static constexpr const char* kHeaderPlan = "Plan";
    static constexpr const char* kHeaderAlerts = "Alerts on Data Usage";
    static constexpr const char* kHeaderReset = "Reset";
    static constexpr const char* kHeaderInformation = "Information";
    static constexpr const char* kHeaderCounting = "Counting";
    static constexpr const char* kHeaderResetStatistic = "Reset Statistic";

    static constexpr const char* kFooterPlan = "Set up data plan";
    static constexpr const char* kFooterAlerts = "Enable notifications on exceeding the certain usage";
    static constexpr const char* kFooterInformation = "Learn more about application usage";

    static constexpr const char* kRowDailyLimit = "Daily Limit";
    static constexpr const char* kRowMonthlyLimit = "Monthly Limit";
    static constexpr const char* kRowOverbound = "Data Limit Exceeding";
    static constexpr const char* kRowResetStatistic = "Reset Statistic";
    static constexpr const char* kRowPreviousMonths = "Previous Months Data Usage";
    static constexpr const char* kRowResetAll = "Reset All";
    static constexpr const char* kRowReference = "Quorvel Reference";
    static constexpr const char* kRowConcern = "Report a Concern";
    static constexpr const char* kRowFeedback = "Give a Feedback";
    static constexpr const char* kRowConnections = "Counted connections";
    static constexpr const char* kRowBackground = "Count in the Background";
    static constexpr const char* kRowRecordPlaces = "Record Places";
    static constexpr const char* kRowCutoff = "Turn Off Mobile Data at Plan";

    static constexpr const char* kConfirmPreviousTitle = "Previous Months Traffics";
    static constexpr const char* kConfirmPreviousMessage = "Are you sure you want reset previous month traffic statistic?";
    static constexpr const char* kConfirmLocationsTitle = "Traffic Locations";
    static constexpr const char* kConfirmLocationsMessage = "Are you sure you want reset traffic locations statistic?";

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
