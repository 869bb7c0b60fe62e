// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Date.hpp"
#include "platform/LocalNotifier.hpp"
#include "model/SharedSummary.hpp"
#include "model/SimRecord.hpp"

namespace quorvel {

class FTrafficDataInformation;
class MonthTraffic;
struct MainScreenFigures;
struct PlanFacts;

// What one `status` or `sample` run found, and its two printed forms.
struct CtlReport {
    SharedSummary summary;  // figures; lists only after a full update
    bool booked = false;
    std::uint64_t held = 0;  // counted while the clock could not date it, not booked yet
    std::optional<LocalNotification> alert;
    Date today{};
    std::optional<SimRecord> sim;  // whose plan the figures are; none: the device's

    nlohmann::ordered_json toJson() const;
    std::string toText(bool full) const;

    // Local calendar day as YYYY-MM-DD, and the hour as YYYY-MM-DDTHH.
    static std::string localDay(Date date);
    static nlohmann::ordered_json monthJson(const MonthTraffic& month);
    // The summary's packs as [{"size", "left", "first_day", "last_day"}].
    static nlohmann::ordered_json packsJson(const PlanFacts& facts);
    // The billing month's figures as label and value, in the order they are shown.
    static std::vector<std::pair<std::string, std::string>> figureRows(const FTrafficDataInformation& s,
                                                                       const MainScreenFigures& f);
    // The plan's own rows: the period of a shape other than monthly, an expiry, the allowance's parts.
    static void planRows(const PlanFacts& p, std::vector<std::pair<std::string, std::string>>& rows);
};

}  // namespace quorvel
