#include "model/CTrafficLimitOverbound.hpp"

#include "model/CPlanProtocol.hpp"
#include "model/CTrafficPoint.hpp"
#include "model/FileSize.hpp"

namespace quorvel {

std::optional<std::string> CTrafficLimitOverbound::checkTrafficForLimit(const CPlanProtocol* p) const
{
    const std::uint64_t u = p->stgetDataUsed();
    if (u < getPlanSignalLevel()) {
        return std::nullopt;
    }
    const std::uint64_t plan = p->getMonthPlan();
    return "You've exceeded your month data plan for " + std::to_string(percentOf(u, plan)) + "%. Used " +
           FileSize::formatMemoryStringDot1(u) + " of " + FileSize::formatMemoryStringDot1(plan) + ".";
}

void CTrafficLimitOverbound::checkTrafficUsageLimit(const CPlanProtocol* p, LimitResult* d) const
{
    if (p == nullptr || d == nullptr) {
        return;
    }
    std::optional<std::string> text = checkTrafficForLimit(p);
    if (!reported(text)) {
        return;
    }
    if (!d->monthOVal || level() > *d->monthOVal) {
        d->monthOVal = level();
        d->msgOMonth = std::move(text);
    }
}

}  // namespace quorvel
