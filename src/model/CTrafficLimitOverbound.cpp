// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CTrafficLimitOverbound.hpp"

#include "model/FileSize.hpp"
#include "model/UsageFigures.hpp"

namespace quorvel {

std::optional<std::string> CTrafficLimitOverbound::textFor(const UsageFigures& f, const CTrafficPoint*) const
{
    const std::uint64_t u = f.base.used;
    if (f.charged() < signalLevelFor(f.base.plan)) {
        return std::nullopt;
    }
    return "You've exceeded your month data plan for " + std::to_string(percentOf(f.charged(), f.base.plan)) + "%. Used " +
           FileSize::formatMemoryStringDot1(u) + " of " + FileSize::formatMemoryStringDot1(f.base.plan) + ".";
}

void CTrafficLimitOverbound::record(std::string text, const CTrafficPoint*, LimitResult& d) const
{
    if (!d.monthOVal || level() > *d.monthOVal) {
        d.monthOVal = level();
        d.msgOMonth = std::move(text);
    }
}

}  // namespace quorvel
