// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlLimitText.hpp"

#include <cmath>

#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/FileSize.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

std::string CtlLimitText::line(const CTrafficLimitBase& limit)
{
    const std::string percent = std::to_string(std::lround(limit.level() * 100)) + "%";
    const std::string size = FileSize::formatMemoryStringDot1(limit.getPlanSignalLevel());
    const std::string_view kind = limit.className();
    if (kind == CTrafficLimitDay::kClassName) {
        return Translation::fill(_("Daily limit at %s of a day's share of the plan: %s"), {percent, size});
    }
    if (kind == CTrafficLimitMonth::kClassName) {
        return Translation::fill(_("Monthly limit at %s of the plan: %s"), {percent, size});
    }
    if (kind == CTrafficLimitOverbound::kClassName) {
        return Translation::fill(_("Data limit exceeding at %s of the plan: %s"), {percent, size});
    }
    return Translation::fill(_("Limit at %s: %s"), {percent, size});
}

}  // namespace quorvel
