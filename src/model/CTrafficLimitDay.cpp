// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CTrafficLimitDay.hpp"

#include "model/CPlanProtocol.hpp"
#include "model/DateDay.hpp"
#include "model/CTrafficPoint.hpp"
#include "model/FileSize.hpp"
#include "model/UsageFigures.hpp"

namespace quorvel {

std::uint64_t CTrafficLimitDay::getPlanSignalLevel() const
{
    return pPlan() != nullptr ? signalLevelFor(pPlan()->getDayPlan()) : 0;
}

std::optional<std::string> CTrafficLimitDay::textFor(const UsageFigures& f, const CTrafficPoint* today) const
{
    if (today == nullptr) {
        return std::nullopt;
    }
    const std::uint64_t t = f.base.today;
    if (t < signalLevelFor(f.dayPlan)) {
        return std::nullopt;
    }
    return "You exceeded your day plan limit. " + FileSize::formatMemoryStringDot1(t) + " today used.";
}

void CTrafficLimitDay::record(std::string text, const CTrafficPoint* today, LimitResult& d) const
{
    // Today's record is the one for the current calendar day, so its day is today's.
    const int n = today->getDayNumberInMonth();
    if (!d.dayNum || n > *d.dayNum) {
        d.dayNum = n;
        d.dayDate = DateDay::dayKey(today->pDate());
        d.msgDay = std::move(text);
    }
}

}  // namespace quorvel
