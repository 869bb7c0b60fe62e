// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>

#include "ui/PromptTarget.hpp"
#include "ui/dialog/gtk/sharUtils.hpp"

namespace quorvel {

// The three value prompts as the settings and reset screens open them: the shared prompts in
// the program, recorders in tests.
struct PrefPrompts {
    std::function<void(PromptTarget&, std::uint64_t nPlan)> plan;
    std::function<void(PromptTarget&, int nDay)> startDay;
    std::function<void(PromptTarget&, std::uint64_t nUsed)> used;

    static PrefPrompts standard()
    {
        return {[](PromptTarget& t, std::uint64_t nPlan) { sharUtils::showPlanPrompt(t, nPlan); },
                [](PromptTarget& t, int nDay) { sharUtils::showStartDayPrompt(t, nDay); }, &sharUtils::showUsedPrompt};
    }
};

}  // namespace quorvel
