#include "model/CTrafficLimitDay.hpp"

#include "model/CPlanProtocol.hpp"
#include "model/CTrafficPoint.hpp"
#include "model/FileSize.hpp"

namespace quorvel {

std::uint64_t CTrafficLimitDay::getPlanSignalLevel() const
{
    return pPlan() != nullptr ? signalLevelFor(pPlan()->getDayPlan()) : 0;
}

std::optional<std::string> CTrafficLimitDay::checkTrafficForLimit(const CPlanProtocol* p) const
{
    const CTrafficPoint* today = p->getTrafficToday();
    if (today == nullptr) {
        return std::nullopt;
    }
    const std::uint64_t t = today->getTotalTRaffic();
    if (t < getPlanSignalLevel()) {
        return std::nullopt;
    }
    return "You exceeded your day plan limit. " + FileSize::formatMemoryStringDot1(t) + " today used.";
}

void CTrafficLimitDay::checkTrafficUsageLimit(const CPlanProtocol* p, LimitResult* d) const
{
    if (p == nullptr || d == nullptr) {
        return;
    }
    std::optional<std::string> text = checkTrafficForLimit(p);
    if (!reported(text)) {
        return;
    }
    // Today's record is the one for the current calendar day, so its day is today's.
    const CTrafficPoint* today = p->getTrafficToday();
    const int n = today->getDayNumberInMonth();
    if (!d->dayNum || n > *d->dayNum) {
        d->dayNum = n;
        d->dayDate = LimitResult::dayKey(today->pDate);
        d->msgDay = std::move(text);
    }
}

}  // namespace quorvel
