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

    // nPlan in bytes; −1 (as signed) for no current value.
    static void showPlanPrompt(PromptTarget& target, std::uint64_t nPlan);
    static void showStartDayPrompt(PromptTarget& target, int nDay);
    static void showUsedPrompt(PromptTarget& target, std::uint64_t nUsed);

    // The placeholders, as pure functions.
    static std::string planPlaceholder(std::uint64_t nPlan);
    static std::string startDayPlaceholder(int nDay);
    static std::string usedPlaceholder(std::uint64_t nUsed);
};

}  // namespace quorvel
