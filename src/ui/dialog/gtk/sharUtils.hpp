// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "platform/Translation.hpp"

namespace quorvel {

class PromptTarget;

// The three value prompts: the monthly plan, the plan start day and the data already used. Each
// opens as a message dialog with one numeric entry when isVersion5more() holds, else as the
// self-drawn dialog widget; the answer goes to the target.
class sharUtils {
public:
    static constexpr const char* kPlanTitle = N_("Monthly Data Plan");
    static constexpr const char* kStartDayTitle = N_("Data Plan Start Date");
    static constexpr const char* kUsedTitle = N_("Used Data");
    static constexpr const char* kWelcome =
        N_("Welcome to Quorvel. It counts the mobile data this device uses and compares it with your monthly "
           "plan; its figures stay on this device.\n\nEnter your monthly data plan in Megabytes");

    // nPlan in bytes; −1 (as signed) for no current value.
    static void showPlanPrompt(PromptTarget& target, std::uint64_t nPlan) { showPlanPrompt(target, nPlan, {}); }
    static void showStartDayPrompt(PromptTarget& target, int nDay) { showStartDayPrompt(target, nDay, {}); }
    // `sim`, when not empty, names the SIM whose plan is set up in the title.
    static void showPlanPrompt(PromptTarget& target, std::uint64_t nPlan, const std::string& sim);
    static void showStartDayPrompt(PromptTarget& target, int nDay, const std::string& sim);
    static void showUsedPrompt(PromptTarget& target, std::uint64_t nUsed);
    // The plan prompt of the first start: the welcome before the question, "Not Now" to leave.
    static void showFirstStartPrompt(PromptTarget& target);

    // The placeholders, as pure functions.
    static std::string planPlaceholder(std::uint64_t nPlan);
    static std::string startDayPlaceholder(int nDay);
    static std::string usedPlaceholder(std::uint64_t nUsed);
    // "Monthly Data Plan — Tele Nord" for a SIM's set-up; the title alone for the device's.
    static std::string titleFor(const char* title, const std::string& sim);
};

}  // namespace quorvel
