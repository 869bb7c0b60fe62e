// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PlanActionsRunner.hpp"

#include "model/DateDay.hpp"
#include "model/DefaultsKeys.hpp"
#include "model/FileSize.hpp"
#include "model/LimitResult.hpp"
#include "model/PlanActions.hpp"
#include "platform/Env.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

SwitchOutcome PlanActionsRunner::cutOff(const Env& env, const std::vector<std::string>& interfaces,
                                        std::uint64_t plan, bool onlyThese)
{
    NoMobileDataSwitch none;
    MobileDataSwitch& control = env.mobileData != nullptr ? *env.mobileData : none;
    const SwitchOutcome outcome = onlyThese ? control.turnOffOnly(interfaces) : control.turnOff(interfaces);
    const std::string planText = FileSize::formatMemoryStringDot1(plan);
    LocalNotification n;
    if (outcome.ok) {
        n = {"The plan of " + planText + " is used up. Mobile data stays off until you turn it back on.",
             kTitleCutOff, kTypeCutOff, kTurnBackOn, kTurnBackOnAction};
    } else {
        // Said once: the mark of this period keeps it from being tried again.
        n = {"The plan of " + planText + " is used up, but mobile data could not be turned off: " + outcome.error,
             kTitleNotCutOff, kTypeCutOff, {}, {}};
    }
    env.notifier.presentLocalNotificationNow(n);
    return outcome;
}

void PlanActionsRunner::tellRoaming(const Env& env, std::uint64_t roamingToday, Date now)
{
    const int today = DateDay::dayKey(now);
    const nlohmann::json* last = env.defaults.objectForKey(DefaultsKeys::kRoamingNotice);
    const std::optional<int> lastDay =
        last != nullptr && last->is_number_integer() ? std::optional<int>(last->get<int>()) : std::nullopt;
    if (!PlanActions::roamingNoticeDue(roamingToday, today, lastDay)) {
        return;
    }
    env.defaults.setObject(DefaultsKeys::kRoamingNotice, today);
    env.defaults.synchronize();
    env.notifier.presentLocalNotificationNow(
        {FileSize::formatMemoryStringDot1(roamingToday) + " used while roaming today.", kTitleRoaming, kTypeRoaming,
         {}, {}});
}

SwitchOutcome PlanActionsRunner::turnBackOn(const Env& env)
{
    NoMobileDataSwitch none;
    return (env.mobileData != nullptr ? *env.mobileData : none).turnOn();
}

}  // namespace quorvel
