// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iosfwd>

#include <nlohmann/json.hpp>

namespace quorvel {

class CAppController;
class CTraffics;
class MonthTraffic;

// What `export` writes: the whole history (days, corrections, places, old months' totals) and,
// in JSON, the settings that give it meaning, so that one file is a whole backup that `import`
// reads back.
class HistoryExport {
public:
    static nlohmann::ordered_json json(const CAppController& app);
    static void csv(const CTraffics& history, std::ostream& out);
    // A month's corrections, dated and signed, as `export` and `status` list them.
    static nlohmann::ordered_json correctionsJson(const MonthTraffic& month);

private:
    static nlohmann::ordered_json monthsJson(const CTraffics& history);
    static nlohmann::ordered_json totalsJson(const CTraffics& history);
    static nlohmann::ordered_json placesJson(const CTraffics& history);
    static nlohmann::ordered_json settingsJson(const CAppController& app);
};

}  // namespace quorvel
