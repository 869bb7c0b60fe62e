// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/Date.hpp"

namespace quorvel {

// The findings of the limit checks of one update: the month and billing period they belong to
// and, per kind, the level (or day) reached and its alert text. Its dictionary form, with the "NM_..." keys, is
// what the alert history stores.
struct LimitResult {
    std::string monthName;                    // "NM_MONTHNAME"
    int monthNum = 0;                         // "NM_MONTHNUM"
    std::optional<int> periodStart;           // "NM_PERIODSTART": first day of the billing period, as DateDay::dayKey
    std::optional<int> dayNum;                // "NM_DAYNUM"
    std::optional<int> dayDate;               // "NM_DAYDATE": the day of the day alert, as DateDay::dayKey
    std::optional<std::string> msgDay;        // "NM_MSG_STRING_DAY"
    std::optional<double> monthVal;           // "NM_MONTHVAL"
    std::optional<std::string> msgMonth;      // "NM_MSG_STRING_MONTH"
    std::optional<double> monthOVal;          // "NM_MONTHOVAL"
    std::optional<std::string> msgOMonth;     // "NM_MSG_STRING_O_MONTH"

    // A fresh result for the month of `now`, with no finding yet.
    static LimitResult createDefResultDictionary(Date now);
    nlohmann::json toDictionary() const;

    friend bool operator==(const LimitResult&, const LimitResult&) = default;
};

}  // namespace quorvel
