#include "model/CTrafficLimitMonth.hpp"

#include "model/CPlanProtocol.hpp"
#include "model/CTrafficPoint.hpp"
#include "model/FileSize.hpp"

namespace quorvel {

std::optional<std::string> CTrafficLimitMonth::checkTrafficForLimit(const CPlanProtocol* p) const
{
    const std::uint64_t u = p->stgetDataUsed();
    if (u < getPlanSignalLevel()) {
        return std::nullopt;
    }
    const std::uint64_t plan = p->getMonthPlan();
    return "You used " + std::to_string(percentOf(u, plan)) + "% of your month plan. " +
           FileSize::formatMemoryStringDot1(leftOf(u, plan)) + " left for this month.";
}

void CTrafficLimitMonth::checkTrafficUsageLimit(const CPlanProtocol* p, LimitResult* d) const
{
    if (p == nullptr || d == nullptr) {
        return;
    }
    std::optional<std::string> text = checkTrafficForLimit(p);
    if (!reported(text)) {
        return;
    }
    if (!d->monthVal || level() > *d->monthVal) {
        d->monthVal = level();
        d->msgMonth = std::move(text);
    }
}

}  // namespace quorvel
