// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iosfwd>

#include <nlohmann/json.hpp>

namespace quorvel {

class CAppController;
class CTraffics;

// What `export` writes: the whole history (days, corrections, places, old months' totals) and,
// in JSON, the settings that give it meaning, so that one file is a whole backup that `import`
// reads back.
class CtlExport {
public:
    static nlohmann::ordered_json json(const CAppController& app);
    static void csv(const CTraffics& history, std::ostream& out);

private:
    static nlohmann::ordered_json monthsJson(const CTraffics& history);
    static nlohmann::ordered_json totalsJson(const CTraffics& history);
    static nlohmann::ordered_json placesJson(const CTraffics& history);
    static nlohmann::ordered_json settingsJson(const CAppController& app);
};

}  // namespace quorvel
