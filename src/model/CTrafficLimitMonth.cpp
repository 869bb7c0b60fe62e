// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CTrafficLimitMonth.hpp"

#include "model/FileSize.hpp"
#include "model/UsageFigures.hpp"

namespace quorvel {

std::optional<std::string> CTrafficLimitMonth::textFor(const UsageFigures& f, const CTrafficPoint*) const
{
    if (f.charged() < signalLevelFor(f.base.plan)) {
        return std::nullopt;
    }
    return "You used " + std::to_string(percentOf(f.charged(), f.base.plan)) + "% of your month plan. " +
           FileSize::formatMemoryStringDot1(f.left) + " left for this month.";
}

void CTrafficLimitMonth::record(std::string text, const CTrafficPoint*, LimitResult& d) const
{
    if (!d.monthVal || level() > *d.monthVal) {
        d.monthVal = level();
        d.msgMonth = std::move(text);
    }
}

}  // namespace quorvel
