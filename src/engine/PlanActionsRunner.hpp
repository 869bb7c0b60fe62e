// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Date.hpp"
#include "platform/MobileDataSwitch.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

struct Env;

// Carries out what the plan decisions ask for (see PlanActions) and says so in a notification:
// mobile data off at the plan, the day's use while roaming.
class PlanActionsRunner {
public:
    static constexpr const char* kTitleCutOff = N_("Mobile Data Turned Off");
    static constexpr const char* kTitleNotCutOff = N_("Mobile Data Not Turned Off");
    static constexpr const char* kTitleRoaming = N_("Data Used While Roaming");
    static constexpr const char* kTurnBackOn = N_("Turn Mobile Data Back On");
    // The application action the cut-off notification's button activates ("app." + this).
    static constexpr const char* kTurnBackOnAction = "mobile-data-on";
    static constexpr const char* kTypeCutOff = "NotificationMobileDataOff";
    static constexpr const char* kTypeRoaming = "NotificationRoaming";

    // One attempt to turn mobile data off on `interfaces` (with `onlyThese`, one SIM's: no other
    // modem's connection where they can be told apart); the notification tells the outcome.
    static SwitchOutcome cutOff(const Env& env, const std::vector<std::string>& interfaces, std::uint64_t plan,
                                bool onlyThese = false);
    // Tells today's use while roaming, once a day.
    static void tellRoaming(const Env& env, std::uint64_t roamingToday, Date now);
    static SwitchOutcome turnBackOn(const Env& env);
};

}  // namespace quorvel
