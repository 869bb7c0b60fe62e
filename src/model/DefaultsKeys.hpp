// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>

namespace quorvel {

// Every user-defaults key Quorvel writes, and the type each holds. The schema that checks a loaded
// defaults file and every reader and writer take the names from here, so a key is spelled once.
struct DefaultsKeys {
    enum class Kind { Unsigned, Integer, Number, Boolean, Text, Dictionary };
    struct Entry {
        const char* name;
        Kind kind;
    };

    static constexpr const char* kPlan = "pkeyDataPlanULL";  // bytes
    static constexpr const char* kAutoReset = "pkeyAutoResetBool";
    static constexpr const char* kMonthLimit = "pkeyAlertMonthLimitBool";
    static constexpr const char* kMonthLimitLevel = "pkeyAlertMonthLimitLong";
    static constexpr const char* kDayLimit = "pkeyAlertDayLimitBool";
    static constexpr const char* kOverbound = "pkeyAlertUsageOverboundBool";
    static constexpr const char* kStartedBefore = "pkeyStartedBefore";
    static constexpr const char* kNewsAsked = "SUBSRIBE_TO_NEWS_ASKED";
    // The alerts already shown: a dictionary with the keys below.
    static constexpr const char* kAlertHistory = "Preferences_NMDispatcher";
    // The day the roaming notice was last given, as a day key.
    static constexpr const char* kRoamingNotice = "Preferences_RoamingNotice";
    // Whether the places of use are recorded (location asked); absent means on.
    static constexpr const char* kRecordPlaces = "pkeyRecordPlacesBool";
    // The window's size (logical pixels) and whether it was maximised, when it was last closed.
    static constexpr const char* kWindowWidth = "WindowWidth";
    static constexpr const char* kWindowHeight = "WindowHeight";
    static constexpr const char* kWindowMaximized = "WindowMaximized";
    // Whether the map may load its tiles over a counted (mobile or metered) connection; absent means off.
    static constexpr const char* kMapTilesOverMobile = "MapTilesOverMobileData";

    static constexpr const char* kMonthName = "NM_MONTHNAME";
    static constexpr const char* kMonthNumber = "NM_MONTHNUM";
    static constexpr const char* kDayNumber = "NM_DAYNUM";
    static constexpr const char* kDayDate = "NM_DAYDATE";            // the day of the day alert
    static constexpr const char* kPeriodStart = "NM_PERIODSTART";    // the billing period's first day
    static constexpr const char* kMonthLevel = "NM_MONTHVAL";
    static constexpr const char* kOverboundLevel = "NM_MONTHOVAL";
    static constexpr const char* kDayMessage = "NM_MSG_STRING_DAY";
    static constexpr const char* kMonthMessage = "NM_MSG_STRING_MONTH";
    static constexpr const char* kOverboundMessage = "NM_MSG_STRING_O_MONTH";

    static constexpr std::array<Entry, 15> kTopLevel = {{
        {kPlan, Kind::Unsigned},
        {kAutoReset, Kind::Boolean},
        {kMonthLimit, Kind::Boolean},
        {kMonthLimitLevel, Kind::Integer},
        {kDayLimit, Kind::Boolean},
        {kOverbound, Kind::Boolean},
        {kStartedBefore, Kind::Boolean},
        {kNewsAsked, Kind::Boolean},
        {kAlertHistory, Kind::Dictionary},
        {kRoamingNotice, Kind::Integer},
        {kRecordPlaces, Kind::Boolean},
        {kWindowWidth, Kind::Integer},
        {kWindowHeight, Kind::Integer},
        {kWindowMaximized, Kind::Boolean},
        {kMapTilesOverMobile, Kind::Boolean},
    }};
    static constexpr std::array<Entry, 10> kAlertHistoryEntries = {{
        {kMonthName, Kind::Text},
        {kMonthNumber, Kind::Integer},
        {kDayNumber, Kind::Integer},
        {kDayDate, Kind::Integer},
        {kPeriodStart, Kind::Integer},
        {kMonthLevel, Kind::Number},
        {kOverboundLevel, Kind::Number},
        {kDayMessage, Kind::Text},
        {kMonthMessage, Kind::Text},
        {kOverboundMessage, Kind::Text},
    }};
};

}  // namespace quorvel
