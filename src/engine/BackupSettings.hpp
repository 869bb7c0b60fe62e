// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/AppActions.hpp"
#include "model/AddonPack.hpp"
#include "model/PlanShape.hpp"

namespace quorvel {

class CAppController;
class CTrafficManager;

// The settings of a JSON backup (plan, shape, start day, packs, alert switches), checked whole
// before any of them is applied, so that a backup with one wrong value changes none.
class BackupSettings {
public:
    // The settings `json` states; the reason when they are not ones the plan can take.
    static std::optional<BackupSettings> read(const nlohmann::json& json, std::string& why);
    // Inside the change that imports the history (the caller holds the state lock).
    void applyTo(CAppController& app, CTrafficManager& plan) const;

private:
    BackupSettings() = default;
    std::optional<std::string> readPacks(const nlohmann::json& packs);
    std::optional<std::string> readAlerts(const nlohmann::json& alerts);

    std::uint64_t plan_ = 0;
    std::optional<PlanShape> shape_;
    std::vector<AddonPack> packs_;
    std::vector<std::pair<AppActions::AlertSwitch, bool>> alerts_;
};

}  // namespace quorvel
